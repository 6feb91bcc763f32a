#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quilvex need.
# Only missing packages are installed; apt-get update runs only then.
set -euo pipefail

PACKAGES=(
  build-essential cmake g++ qt6-base-dev libgtest-dev libbenchmark-dev
  qt6-svg-dev libeigen3-dev libboost-math-dev
  xvfb xauth xdotool x11-apps imagemagick fonts-liberation2
  xclip
  openbox
  clang libclang-rt-14-dev
  librsvg2-bin dpkg-dev file
  desktop-file-utils appstream shared-mime-info libxml2-utils xdg-utils libglib2.0-bin x11-utils
)

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
