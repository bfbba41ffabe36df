#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs them.
#
#   scripts/fuzz.sh [-t SECONDS | --long] [-j PARALLEL] [--if-available] [TARGET...]
#
# TARGET is a name without "fuzz_" (recount_block, recount_text,
# recount_tracking, line_analysis, ini_settings, report, language,
# jpeg_logo); none: all of them. Each runs SECONDS (default 60; --long: 600)
# on its seed corpus tests/fuzz/corpus/TARGET, the inputs of earlier
# findings in tests/fuzz/regressions/TARGET (run first, as every input) and
# the inputs it found before, kept in BUILD/corpus/TARGET, with the
# dictionary tests/fuzz/dict/TARGET.dict where there is one; PARALLEL
# targets run at a time (default 1). A crash,
# a leak, a broken invariant or an input slower than 25 s stops the target
# and leaves the input in BUILD/artifacts/TARGET/; the script then fails.
# BUILD is $TINDAVEL_FUZZ_BUILD, default build-fuzz/ in the repository.
# --if-available: without clang++ and libFuzzer, say so in one line and
# succeed (./test.sh runs the targets this way).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

all_targets=(recount_block recount_text recount_tracking line_analysis ini_settings report language jpeg_logo)
seconds=60
parallel=1
if_available=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    -t) seconds="$2"; shift 2 ;;
    --long) seconds=600; shift ;;
    -j) parallel="$2"; shift 2 ;;
    --if-available) if_available=1; shift ;;
    -h|--help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  if [ ! -d "tests/fuzz/corpus/$t" ]; then
    echo "fuzz.sh: no target $t (targets: ${all_targets[*]})" >&2
    exit 2
  fi
done

# libFuzzer ships in compiler-rt (Debian: libclang-rt-14-dev); linking a
# do-nothing target is the sure test that it is there.
if ! command -v clang++ >/dev/null ||
   ! echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
     clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  if [ "$if_available" -eq 1 ]; then
    echo "Fuzz targets skipped: clang++ with libFuzzer (libclang-rt-14-dev) not found."
    exit 0
  fi
  echo "fuzz.sh: clang++ with libFuzzer (libclang-rt-14-dev) is needed" >&2
  exit 2
fi

build="${TINDAVEL_FUZZ_BUILD:-$root/build-fuzz}"
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DTINDAVEL_FUZZ=ON -DTINDAVEL_TESTS=OFF -DTINDAVEL_BENCH=OFF >/dev/null
cmake --build "$build" --target tindavel_fuzz -j "$(nproc)"

# The targets that take a path write their input to a scratch file (the
# settings store even syncs it): on tmpfs that costs no disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=$(mktemp -d /dev/shm/tindavel-fuzz.XXXXXX)
  export TMPDIR
  trap 'rm -rf "$TMPDIR"' EXIT
fi

run_one() {
  local t="$1" log="$build/logs/$1.log"
  mkdir -p "$build/corpus/$t" "$build/artifacts/$t" "$build/logs"
  local inputs=("$build/corpus/$t" "tests/fuzz/corpus/$t") options=()
  [ -d "tests/fuzz/regressions/$t" ] && inputs+=("tests/fuzz/regressions/$t")
  [ -f "tests/fuzz/dict/$t.dict" ] && options+=("-dict=tests/fuzz/dict/$t.dict")
  if UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$build/artifacts/$t/" "${options[@]}" \
       "${inputs[@]}" >"$log" 2>&1; then
    echo "fuzz_$t: ${seconds} s, $(grep -E '^#[0-9]+' "$log" | tail -1)"
  else
    echo "fuzz_$t: FAILED after $(grep -E '^#[0-9]+' "$log" | tail -1 | cut -d' ' -f1); see $log"
    grep -E 'ERROR|SUMMARY|invariant|Test unit written' "$log" | head -5
    return 1
  fi
}

failed=0
pids=()
for t in "${targets[@]}"; do
  run_one "$t" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$parallel" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || failed=1; done
exit "$failed"
