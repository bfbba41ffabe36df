#!/usr/bin/env bash
# Builds the Debian package in Release and checks it as an operator's machine
# would see it: unpacked into a fresh root with dpkg -x (no container or
# chroot needed), every library the programs need is found (ldd), and the
# installed tindavel-cli answers --help, re-counts the installed demo
# recording with its report without loading Qt, and prints the demo report
# to PDF through tindavel-cli-windows; tindavel answers --version without a
# display, and the desktop, with the package's menu entry and file types
# taken up as the package's triggers take them up, opens a recording with
# tindavel (xdg-mime, from xdg-utils).
#   scripts/check-package.sh [BUILD_DIR]     (default: build-package/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}

nice cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTINDAVEL_TESTS=OFF -DTINDAVEL_BENCH=OFF >/dev/null
nice cmake --build "$build" -j 2 --target tindavel tindavel-cli tindavel-cli-windows
(cd "$build" && nice cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/tindavel_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Depends
# Every dependency is a Debian package name known here (they come from the
# packages that hold the libraries the programs were linked with).
for dep in $(dpkg-deb --field "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*//; s/ //g'); do
  dpkg-query -W "$dep" >/dev/null || { echo "check-package: no Debian package $dep" >&2; exit 1; }
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

windows=$root/usr/libexec/tindavel/tindavel-cli-windows
[ -x "$windows" ] || { echo "check-package: no program /usr/libexec/tindavel/tindavel-cli-windows" >&2; exit 1; }
for program in "$root/usr/bin/tindavel" "$root/usr/bin/tindavel-cli" "$windows"; do
  if ldd "$program" | grep 'not found'; then
    echo "check-package: $program needs a library that is not installed" >&2
    exit 1
  fi
done

# The programs read the settings from the user's config folder: a fresh one.
export XDG_CONFIG_HOME=$root/config HOME=$root
"$root/usr/bin/tindavel-cli" --help >/dev/null
"$root/usr/bin/tindavel-cli" recount "$root/usr/share/tindavel/samples/demo.blb"
if ldd "$root/usr/bin/tindavel-cli" | grep libQt; then
  echo "check-package: tindavel-cli loads Qt" >&2
  exit 1
fi
"$root/usr/bin/tindavel-cli" report "$root/usr/share/tindavel/samples/demo.mse" --pdf "$root/demo.pdf"
[ "$(head -c 5 "$root/demo.pdf")" = "%PDF-" ] || { echo "check-package: tindavel-cli report wrote no PDF" >&2; exit 1; }
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/tindavel" --version

# What the triggers of desktop-file-utils and shared-mime-info do on
# installing, done on the unpacked tree; then the desktop's own question.
share=$root/usr/share
update-desktop-database "$share/applications"
update-mime-database "$share/mime" 2>/dev/null
for type in application/x-tindavel-record application/x-tindavel-report; do
  opener=$(XDG_DATA_HOME=$root/data XDG_DATA_DIRS=$share:/usr/share xdg-mime query default "$type")
  echo "xdg-mime query default $type: $opener"
  [ "$opener" = tindavel.desktop ] || { echo "check-package: $type does not open with tindavel" >&2; exit 1; }
done
echo "check-package: $deb is fine"
