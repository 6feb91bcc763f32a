#!/usr/bin/env bash
# Installs what is missing, builds Quilvex and runs all its tests.
# Each step is a function named in main(); a failing step ends the run.
# QUILVEX_BUILD_DIR chooses the build folder (default: build/).
# The window tests start their own virtual display, so no display is needed.
# All tests run a second time in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer (QUILVEX_ASAN_BUILD_DIR, default: build-asan/);
# then the fuzzers run for QUILVEX_FUZZ_SECONDS each (default 60; see
# scripts/fuzz.sh).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QUILVEX_BUILD_DIR:-$root/build}"
asan_build_dir="${QUILVEX_ASAN_BUILD_DIR:-$root/build-asan}"
fuzz_seconds="${QUILVEX_FUZZ_SECONDS:-60}"

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

# Sanitizer reports end the program with an error. Leaks are reported too,
# except those of the system libraries listed in tests/lsan.supp. The options
# also reach the test programs that the build runs to list their tests.
export_sanitizer_options() {
  export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}

# In a subshell, so that the options stay with the sanitizer steps.
build_sanitizer_tests() (
  export_sanitizer_options
  bash "$root/scripts/build.sh" "$asan_build_dir" -DQUILVEX_SANITIZE=ON
)

run_sanitizer_ctest() (
  export_sanitizer_options
  ctest --test-dir "$asan_build_dir" --output-on-failure --no-tests=error -j2 --timeout 600
)

run_fuzzers() {
  bash "$root/scripts/fuzz.sh" "$fuzz_seconds"
}

main() {
  run_step "Dependencies" install_dependencies
  run_step "Build ($build_dir)" build_program_and_tests
  run_step "Tests" run_ctest
  run_step "Sanitizer build ($asan_build_dir)" build_sanitizer_tests
  run_step "Tests with sanitizers" run_sanitizer_ctest
  run_step "Fuzzing (${fuzz_seconds}s per fuzzer)" run_fuzzers
}

main "$@"
