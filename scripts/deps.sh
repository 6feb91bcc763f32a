#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quilvex need.
# Usage: scripts/deps.sh [--program]
# With --program only what building and running the program needs (run.sh).
# Only missing packages are installed; apt-get update runs only then.
set -euo pipefail

# The build (CMake reads GoogleTest's files when it configures), the program,
# and the virtual display with its screenshot for run.sh without a display.
PROGRAM_PACKAGES=(
  build-essential cmake g++ qt6-base-dev libgtest-dev
  qt6-svg-dev libeigen3-dev libboost-math-dev librsvg2-bin
  xvfb xauth imagemagick fonts-liberation2
)
# What the tests, the benchmarks, the fuzzers and the package need besides.
TEST_PACKAGES=(
  libbenchmark-dev xdotool x11-apps
  xclip
  openbox
  clang libclang-rt-14-dev
  dpkg-dev file
  desktop-file-utils appstream shared-mime-info libxml2-utils xdg-utils libglib2.0-bin x11-utils
)

case "${1:-}" in
  --program) PACKAGES=("${PROGRAM_PACKAGES[@]}") ;;
  "") PACKAGES=("${PROGRAM_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *) echo "usage: bash scripts/deps.sh [--program]" >&2; exit 2 ;;
esac

is_installed() {
  [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

as_root() {
  if [[ "$(id -u)" -eq 0 ]]; then
    "$@"
  else
    sudo "$@"
  fi
}

missing=()
for package in "${PACKAGES[@]}"; do
  is_installed "$package" || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "deps: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

echo "deps: installing ${missing[*]}"
as_root env DEBIAN_FRONTEND=noninteractive apt-get update
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
