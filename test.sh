#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs every test with ctest
# (the fuzz targets' seeds and regression inputs among them); then the soak
# test (label soak), which needs a release build: only it is built, into
# build-release/; then clang-tidy over our sources (.clang-tidy) and every
# fuzz target for 20 seconds (scripts/fuzz.sh, build-fuzz/). Without
# clang-tidy or clang those two steps are skipped with a line saying so.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINDAVEL_SANITIZE=ON \
      -DTINDAVEL_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null
cmake --build build-asan -j "$(nproc)"
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTINDAVEL_BENCH=OFF >/dev/null
cmake --build build-release --target soak_test -j "$(nproc)"
ctest --test-dir build-release --output-on-failure -L soak

# clang-tidy reads the compile commands of build-asan/ (its generated moc
# files exist once it is built); every source outside tests/ and bench/.
if command -v run-clang-tidy >/dev/null && command -v clang-tidy >/dev/null; then
  echo "clang-tidy over our sources..."
  sources=$(find analysis app portio records reports settings texts tools widgets -maxdepth 1 -name '*.cpp' |
            sed "s|^|$(pwd)/|; s|$|\$|" | paste -sd'|')
  run-clang-tidy -quiet -p build-asan -j "$(nproc)" "^($sources)" >build-asan/clang-tidy.log 2>&1 ||
    { grep -E '(warning|error):' build-asan/clang-tidy.log | sort -u; echo "clang-tidy found the above" >&2; exit 1; }
  echo "clang-tidy: no findings"
else
  echo "clang-tidy skipped: run-clang-tidy not found (Debian package clang-tidy)."
fi

./scripts/fuzz.sh --if-available -t 20 -j "$(nproc)"
