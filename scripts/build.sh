#!/usr/bin/env bash
# Configures and builds Quilvex.
# Usage: scripts/build.sh [build-dir] [extra cmake arguments...] [-- targets...]
# A first argument that starts with "-" is taken as a cmake argument; the
# names after "--" are the only targets built (default: all).
# The build directory defaults to build/ in the repository; the build type
# defaults to RelWithDebInfo (a later -DCMAKE_BUILD_TYPE=... overrides it).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build"
if [[ $# -gt 0 && "$1" != -* ]]; then
  build_dir="$1"
  shift
fi

cmake_arguments=()
while [[ $# -gt 0 && "$1" != -- ]]; do
  cmake_arguments+=("$1")
  shift
done
[[ $# -gt 0 ]] && shift # the "--"
targets=()
[[ $# -gt 0 ]] && targets=(--target "$@")

# Two jobs at most: the build machines have two cores.
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_arguments[@]}"
cmake --build "$build_dir" -j2 "${targets[@]}"
