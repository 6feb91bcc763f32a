#!/usr/bin/env bash
# Installs what is missing, builds Quilvex and runs all its tests.
# Each step is a function named in main(); a failing step ends the run.
# QUILVEX_BUILD_DIR chooses the build folder (default: build/).
# The window tests start their own virtual display, so no display is needed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QUILVEX_BUILD_DIR:-$root/build}"

run_step() {
  local title="$1"
  shift
  echo
  echo "=== $title"
  local start=$SECONDS
  "$@"
  echo "=== $title: done in $((SECONDS - start))s"
}

install_dependencies() {
  bash "$root/scripts/deps.sh"
}

build_program_and_tests() {
  bash "$root/scripts/build.sh" "$build_dir"
}

run_ctest() {
  # A run that finds no test at all counts as a failure.
  ctest --test-dir "$build_dir" --output-on-failure --no-tests=error -j2 --timeout 600
}

main() {
  run_step "Dependencies" install_dependencies
  run_step "Build ($build_dir)" build_program_and_tests
  run_step "Tests" run_ctest
}

main "$@"
