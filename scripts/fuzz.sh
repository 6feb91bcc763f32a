#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds-per-fuzzer]   (default 60)
# QUILVEX_FUZZ_BUILD_DIR chooses the build folder (default: build-fuzz/).
# Fails on any crash, hang (an input that takes over 10 s), sanitizer report or
# failed check; the input that caused it is kept in <build>/crashes/<fuzzer>/.
# The inputs found are kept in <build>/corpus/<fuzzer>/ and reused next time,
# next to the seeds in fuzz/corpus/<fuzzer>/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QUILVEX_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"

if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: bash scripts/fuzz.sh [seconds-per-fuzzer]" >&2
  exit 2
fi

# The fuzzers are those fuzz/CMakeLists.txt builds; it lists them in the build folder.
build_fuzzers() {
  CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$build_dir" -DQUILVEX_FUZZ=ON -- fuzzers
  mapfile -t fuzzers <"$build_dir/fuzz/fuzzers.txt"
  [[ ${#fuzzers[@]} -gt 0 ]] || { echo "fuzz: no fuzzers listed in $build_dir/fuzz/fuzzers.txt" >&2; exit 1; }
}

# The count of inputs run, from libFuzzer's final statistics.
executions_in() {
  sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$1" | tail -n 1
}

# Runs one fuzzer; prints its line of the summary; returns non-zero on a finding.
run_fuzzer() {
  local name="$1"
  local corpus="$build_dir/corpus/$name"
  local crashes="$build_dir/crashes/$name"
  local log="$build_dir/logs/$name.log"
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  local status=0
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 \
    "$build_dir/fuzz/$name" "$corpus" "$root/fuzz/corpus/$name" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
  local executions
  executions="$(executions_in "$log")"
  if [[ $status -ne 0 ]] || grep -qE 'runtime error:|ERROR: (Address|Leak)Sanitizer|FUZZ CHECK FAILED' "$log"; then
    echo "$name: FAILED (exit status $status) after ${executions:-?} executions; log $log" >&2
    grep -E 'runtime error:|ERROR:|FUZZ CHECK FAILED|SUMMARY|Test unit written' "$log" | head -n 20 >&2 || true
    echo "$name: inputs that fail are in $crashes/" >&2
    return 1
  fi
  printf '%-24s %12s executions in %ss\n' "$name" "${executions:-?}" "$seconds"
}

main() {
  build_fuzzers
  local failed=0
  for name in "${fuzzers[@]}"; do
    run_fuzzer "$name" || failed=1
  done
  if [[ $failed -ne 0 ]]; then
    echo "fuzz: at least one fuzzer found a fault" >&2
    exit 1
  fi
  echo "fuzz: no faults found"
}

main "$@"
