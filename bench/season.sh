#!/usr/bin/env bash
# A season re-counted: 16 sparse and 16 dense (crowded) simulated one-hour
# recordings, counted by `tindavel-cli recount` of one build. The machine is
# shared, so every comparison runs its two sides in turns, ROUNDS times, and
# is read as the ratio of their medians:
#
#   jobs     --csv --jobs 1 against --csv --jobs 2, sparse and dense
#   fish     dense, --jobs 1: --csv against --csv --fish OUT.csv
#   pdf      sparse, --jobs 2: --csv against --csv --pdf OUT.pdf (the
#            difference is the time the printed report takes)
#
#   bench/season.sh [-r ROUNDS] [-d DATA-FOLDER] BUILD-FOLDER
#   bench/season.sh -r 3 build-rel
#
# The recordings are made once into DATA-FOLDER (default /tmp/tindavel-season)
# and kept for the next run: about 1.4 GB.
set -euo pipefail

rounds=3
data=/tmp/tindavel-season
while getopts "r:d:" opt; do
  case $opt in
    r) rounds=$OPTARG ;;
    d) data=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [[ $# -ne 1 ]]; then
  echo "usage: $0 [-r ROUNDS] [-d DATA-FOLDER] BUILD-FOLDER" >&2
  exit 2
fi
cli=$1/tools/tindavel-cli
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

mkdir -p "$data/sparse" "$data/dense"
for k in $(seq 1 16); do
  [[ -f $data/sparse/s$k.blb ]] ||
    "$cli" simulate --out "$data/sparse/s$k" --minutes 60 --channels 4 --seed "$k" >/dev/null
  [[ -f $data/dense/d$k.blb ]] ||
    "$cli" simulate --out "$data/dense/d$k" --crowd --minutes 60 --channels 2 --size-group 7 --seed "$k" >/dev/null
done
echo "data: $(du -sh "$data/sparse" | cut -f1) sparse, $(du -sh "$data/dense" | cut -f1) dense"

# Seconds one run of the command takes.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# compare NAME "A-ARGS" "B-ARGS": A and B in turns; the medians and A / B.
compare() {
  local name=$1 a=$2 b=$3
  : >"$out/a"
  : >"$out/b"
  # shellcheck disable=SC2086
  "$cli" recount $a >/dev/null  # warm the page cache
  for _ in $(seq 1 "$rounds"); do
    # shellcheck disable=SC2086
    seconds "$cli" recount $a >>"$out/a"
    # shellcheck disable=SC2086
    seconds "$cli" recount $b >>"$out/b"
  done
  local ma mb
  ma=$(median <"$out/a")
  mb=$(median <"$out/b")
  printf '%-28s A %8.2f s   B %8.2f s   A/B %.3f\n' "$name" "$ma" "$mb" "$(echo "$ma / $mb" | bc -l)"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
compare "sparse jobs 1 / jobs 2" "$data/sparse/s*.blb --csv --jobs 1" "$data/sparse/s*.blb --csv --jobs 2"
compare "dense jobs 1 / jobs 2" "$data/dense/d*.blb --csv --jobs 1" "$data/dense/d*.blb --csv --jobs 2"
compare "dense no fish / fish" "$data/dense/d*.blb --csv --jobs 1" \
  "$data/dense/d*.blb --csv --jobs 1 --fish $out/fish.csv"
compare "sparse csv / csv+pdf" "$data/sparse/s*.blb --csv --jobs 2" \
  "$data/sparse/s*.blb --csv --jobs 2 --pdf $out/season.pdf"
# How many cores a run kept busy: (user + system) / real. On an idle
# machine --jobs 2 keeps two busy; on a shared one it gets what is left.
for jobs in 1 2; do
  # shellcheck disable=SC2086
  /usr/bin/time -f "dense --jobs $jobs: %e s real, %U s user, %S s system, %P of one core" \
    "$cli" recount $data/dense/d*.blb --csv --jobs $jobs >/dev/null
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
