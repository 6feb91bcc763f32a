#!/usr/bin/env bash
# Builds the Debian package of Quilvex with CPack and puts it in the current
# folder as quilvex_<version>_<arch>.deb. Its dependencies are computed by
# dpkg-shlibdeps, so `sudo apt install ./quilvex_*.deb` brings in what it needs.
# QUILVEX_BUILD_DIR chooses the build folder (default: build/).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QUILVEX_BUILD_DIR:-$root/build}"
out_dir="$PWD"

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$build_dir"
staging="$build_dir/package"
rm -rf "$staging"
cpack --config "$build_dir/CPackConfig.cmake" -B "$staging"
for deb in "$staging"/quilvex_*.deb; do
  cp "$deb" "$out_dir/"
  echo "Package: $out_dir/$(basename "$deb")"
done
