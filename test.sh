#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINDAVEL_SANITIZE=ON \
      -DTINDAVEL_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null
cmake --build build-asan -j "$(nproc)"
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
