#!/usr/bin/env bash
# Compares two builds of one benchmark program on a shared, noisy machine:
# runs A and B in turn, ROUNDS times each, and prints for every benchmark the
# median real time of A and of B and the ratio A / B (above 1: B is faster).
# Taking turns puts both under the same load, so the ratio holds where the
# absolute figures drift.
#
#   bench/ab.sh [-r ROUNDS] A-BINARY B-BINARY [BENCHMARK-ARGS...]
#   bench/ab.sh -r 7 /tmp/bench_detection.old build-rel/bench/bench_detection --benchmark_filter=/60
set -euo pipefail

rounds=5
if [[ "${1:-}" == "-r" ]]; then
  rounds=$2
  shift 2
fi
if [[ $# -lt 2 ]]; then
  echo "usage: $0 [-r ROUNDS] A-BINARY B-BINARY [BENCHMARK-ARGS...]" >&2
  exit 2
fi
a=$1
b=$2
shift 2

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# One untimed run of each first: the first run of a program pays for the
# page cache and its benchmark's set-up files.
"$a" "$@" >/dev/null 2>&1
"$b" "$@" >/dev/null 2>&1
for ((k = 1; k <= rounds; ++k)); do
  for side in a b; do
    binary=$a
    [[ $side == b ]] && binary=$b
    # One repetition per run; the rounds are the repetitions.
    "$binary" --benchmark_format=csv "$@" 2>/dev/null | grep '^"' >>"$out/$side.csv"
  done
done

# Google Benchmark's CSV: name,iterations,real_time,cpu_time,time_unit,...
median() {  # benchmark name, file -> median real time
  awk -F, -v name="$1" '$1 == name { print $3 }' "$2" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
unit=$(awk -F, 'NR == 1 { print $5 }' "$out/a.csv")
printf '%-45s %12s %12s %8s\n' "benchmark (real time, $unit)" "A" "B" "A/B"
cut -d, -f1 "$out/a.csv" | awk '!seen[$0]++' | while read -r name; do
  ta=$(median "$name" "$out/a.csv")
  tb=$(median "$name" "$out/b.csv")
  printf '%-45s %12.3f %12.3f %8.3f\n' "${name//\"/}" "$ta" "$tb" "$(awk -v x="$ta" -v y="$tb" 'BEGIN { print x / y }')"
done
