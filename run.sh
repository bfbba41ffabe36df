#!/usr/bin/env bash
# Installs what is missing, builds in Release into build/ and starts tindavel.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTINDAVEL_TESTS=OFF >/dev/null
cmake --build build --target tindavel tindavel-cli
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "tindavel needs a display: none is set (DISPLAY/WAYLAND_DISPLAY); try: xvfb-run ./run.sh" >&2
  exit 1
fi
exec build/app/tindavel "$@"
