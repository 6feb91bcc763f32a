#!/usr/bin/env bash
# Installs Quilvex into a scratch folder and checks what a desktop sees: the
# desktop entry, the AppStream metainfo and the data file type validate, a
# .dta file is known by its type, the icons have their sizes, the installed
# program answers --help and --version and opens an example given on its
# command line (under Xvfb), and the Debian package holds what the install holds.
# Usage: bash tests/install/test_install.sh <source-dir> <build-dir> <artifact-root>
set -euo pipefail

source_dir="$(realpath "$1")"
build_dir="$(realpath "$2")"
artifacts="$(realpath -m "$3")/install"
id=io.github.quilvex.Quilvex
rm -rf "$artifacts"
mkdir -p "$artifacts"
root="$artifacts/root"
usr="$root/usr"

fail() {
  echo "[install] FAIL: $*" >&2
  exit 1
}
log() { echo "[install] $*"; }

# ---- The install ----------------------------------------------------------------

DESTDIR="$root" cmake --install "$build_dir" --prefix /usr >"$artifacts/install.log"
expected=(
  bin/quilvex
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/mime/packages/$id.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/quilvex/examples/line.dta
  share/man/man1/quilvex.1.gz
  share/doc/quilvex/copyright
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do
  [[ -f "$usr/$file" ]] || fail "the install lacks /usr/$file"
done
for size in 16 32 256; do
  file -b "$usr/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "$size x $size" \
    || fail "the ${size}px icon is not $size x $size"
done
log "installed ${#expected[@]} expected files"

# ---- What the desktop reads -------------------------------------------------------

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || fail "metainfo"
xmllint --noout "$usr/share/mime/packages/$id.xml" || fail "MIME package"
update-mime-database "$usr/share/mime" || fail "update-mime-database"
grep -q '^text/x-quilvex-data' "$usr/share/mime/types" || fail "the data file type is not in the database"
if command -v xdg-mime >/dev/null && command -v gio >/dev/null; then
  type="$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME="$artifacts/nohome" XDG_DATA_DIRS="$usr/share:/usr/share" \
    xdg-mime query filetype "$usr/share/quilvex/examples/line.dta")"
  [[ "$type" == text/x-quilvex-data ]] || fail "xdg-mime calls an example $type"
  log "xdg-mime: an example is $type"
else
  log "no xdg-mime or gio: the type is checked in the database only"
fi
log "desktop entry, metainfo and MIME package validate"

# ---- The installed program --------------------------------------------------------

program="$usr/bin/quilvex"
[[ "$(QT_QPA_PLATFORM=offscreen "$program" --version)" == "quilvex 0.9" ]] || fail "--version"
QT_QPA_PLATFORM=offscreen "$program" --help | grep -q '\[FILE\]' || fail "--help names no FILE"
bash "$source_dir/tests/install/opens_its_argument.sh" "$program" "$artifacts" \
  "$usr/share/quilvex/examples/line.dta"

# ---- The Debian package -----------------------------------------------------------

cpack --config "$build_dir/CPackConfig.cmake" -B "$artifacts/deb" >"$artifacts/cpack.log" 2>&1 \
  || { tail -n 20 "$artifacts/cpack.log" >&2; fail "cpack"; }
deb="$(echo "$artifacts"/deb/quilvex_0.9_*.deb)"
[[ -f "$deb" ]] || fail "no package quilvex_0.9_*.deb"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package's dependencies were not computed"
apt-get install --simulate "$deb" >"$artifacts/apt.log" 2>&1 || { cat "$artifacts/apt.log" >&2; fail "apt would not install the package"; }
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "/", $6); print $6 }' | sort >"$artifacts/package.txt"
sed "s|^$root||" "$build_dir/install_manifest.txt" | sort >"$artifacts/installed.txt"
diff -u "$artifacts/installed.txt" "$artifacts/package.txt" || fail "the package's files differ from the install's"
log "the package $(basename "$deb") holds the $(wc -l <"$artifacts/package.txt") installed files"
echo "[install] passed; files in $artifacts"
