#!/usr/bin/env bash
# The install tree: `cmake --install` into a fresh prefix puts every file
# where the desktop and the user look for it, the icons the desktop entry
# and the file types name are there, and the desktop entry and the file
# types pass their tools' checks when those tools are installed. The
# installed tindavel-cli loads no Qt and hands a window command to the
# installed tindavel-cli-windows.
#   install_tree_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
problem() { echo "install tree: $*" >&2; status=1; }

share=$prefix/share
for f in bin/tindavel bin/tindavel-cli libexec/tindavel/tindavel-cli-windows; do
  [ -x "$prefix/$f" ] || problem "no program $f"
done
for f in applications/tindavel.desktop mime/packages/tindavel.xml \
         tindavel/samples/demo.blb tindavel/samples/demo.mse tindavel/samples/README.md \
         doc/tindavel/README.md; do
  [ -s "$share/$f" ] || problem "no file share/$f"
done

if ldd "$prefix/bin/tindavel-cli" | grep libQt; then
  problem "bin/tindavel-cli loads Qt"
fi
# A report printed to PDF by the installed window command, through
# tindavel-cli, with a config folder of its own.
pdf=$prefix/demo.pdf
if out=$(XDG_CONFIG_HOME=$prefix/config HOME=$prefix "$prefix/bin/tindavel-cli" report \
           "$share/tindavel/samples/demo.mse" --pdf "$pdf" 2>"$prefix/report.err"); then
  case $out in *'"pages": '*) ;; *) problem "tindavel-cli report printed '$out'" ;; esac
  [ "$(head -c 5 "$pdf" 2>/dev/null)" = "%PDF-" ] || problem "tindavel-cli report wrote no PDF"
else
  problem "tindavel-cli report fails: $(cat "$prefix/report.err")"
fi

desktop=$share/applications/tindavel.desktop
mime=$share/mime/packages/tindavel.xml
icons=$share/icons/hicolor/scalable
# The icon of the desktop entry and of each file type, under the name they give.
app_icon=$(sed -n 's/^Icon=//p' "$desktop" 2>/dev/null)
[ -n "$app_icon" ] && [ -s "$icons/apps/$app_icon.svg" ] || problem "no program icon '$app_icon'"
types=0
for icon in $(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$mime" 2>/dev/null); do
  types=$((types + 1))
  [ -s "$icons/mimetypes/$icon.svg" ] || problem "no icon $icon.svg for a file type"
done
[ "$types" -eq 2 ] || problem "$types file types with an icon, not 2 (record and report)"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || problem "desktop-file-validate rejects the desktop entry"
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" "$icons"/apps/*.svg "$icons"/mimetypes/*.svg || problem "xmllint rejects an XML file"
fi
if command -v update-mime-database >/dev/null; then
  # A database of the one file: each extension must come out as its type.
  db=$prefix/mime-check
  mkdir -p "$db/packages"
  cp "$mime" "$db/packages/"
  # (it also notes on stderr that the folder is not one the desktop searches)
  update-mime-database "$db" 2>/dev/null || problem "update-mime-database rejects the file types"
  for glob in 'x-tindavel-record:\*.blb' 'x-tindavel-record:\*.bla' 'x-tindavel-report:\*.mse'; do
    grep -q "^application/$glob\$" "$db/globs" || problem "the database has no glob application/$glob"
  done
fi
exit $status
