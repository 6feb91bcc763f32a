#!/usr/bin/env bash
# Builds and runs the benchmarks, then writes docs/performance.md from the
# results. Not part of the tests: it takes a few minutes and passes whatever
# the figures are. The build folder is build-bench/ (QUILVEX_BENCH_DIR to
# change it); extra arguments go to the benchmark program (for example
# --benchmark_filter=Lagrange to run some cases only; the page is then
# written from those cases alone).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QUILVEX_BENCH_DIR:-$root/build-bench}"

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$build_dir" -DQUILVEX_BENCH=ON -- quilvex_bench

bench="$build_dir/bench/quilvex_bench"
results="$build_dir/bench-results.json"
# The machine is shared: several repetitions, and the medians are reported.
"$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json "$@"

# Peak memory of a run that loads the file of one million lines, and of one
# that loads the file of 300 lines (the program with its windows, for comparison).
peak_of() {
  python3 - "$bench" "--benchmark_filter=$1" --benchmark_repetitions=1 <<'PY'
import resource, subprocess, sys
subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
PY
}
peak_million="$(peak_of 'LoadFile/1000000')"
peak_small="$(peak_of 'LoadFile/300$')"

python3 "$root/bench/make_report.py" "$results" "$peak_million" "$peak_small" > "$root/docs/performance.md"
echo "Wrote $root/docs/performance.md"
