#!/usr/bin/env bash
# Measures `quilvex fit` on many files: 1 000 data files of 10 to 300 points
# fitted by one process per file (a shell loop) and by one process given all
# of them, side by side in the same run, and the start-up of one process.
# Writes bench/batch_results.json and the section "Many files in one process"
# of docs/performance.md (bench/batch_report.py; scripts/bench.sh keeps the
# section when it writes the page). Not part of the tests: it takes a few
# minutes and passes whatever the figures are. The build folder is
# build-bench/ (QUILVEX_BENCH_DIR to change it); BATCH_ROUNDS sets how many
# times each way runs (default 3, the medians are reported).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QUILVEX_BENCH_DIR:-$root/build-bench}"
rounds="${BATCH_ROUNDS:-3}"

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$build_dir" -- quilvex
program="$build_dir/quilvex"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A program that only creates a QCoreApplication, linked with Qt Core alone:
# the start-up the command would have without the windows' libraries.
probe="$work/core_only"
printf '#include <QCoreApplication>\nint main(int c, char** v) { QCoreApplication a(c, v); return 0; }\n' >"$work/probe.cpp"
# shellcheck disable=SC2046 # pkg-config's flags are split on purpose
c++ -O2 -fPIC "$work/probe.cpp" -o "$probe" $(pkg-config --cflags --libs Qt6Core) || probe=""

# The lab's files: noisy lines, parabolas and decays, 10 to 300 points each.
python3 - "$work/files" <<'PY'
import math, os, random, sys
folder = sys.argv[1]
os.makedirs(folder)
rng = random.Random(25)
for k in range(1000):
    n = rng.randint(10, 300)
    xs = sorted(rng.uniform(0.5, 50) for _ in range(n))
    shape = k % 3
    with open(os.path.join(folder, f"run{k:04d}.dta"), "w") as f:
        f.write("; measured series %d\n" % k)
        for x in xs:
            y = (2 + 0.8 * x, 3 - 0.4 * x + 0.02 * x * x, 90 * math.exp(-0.07 * x))[shape]
            f.write(f"{x:.6g} {y + rng.gauss(0, 0.3):.6g}\n")
PY

python3 "$root/bench/batch_report.py" measure "$program" "$work/files" "$rounds" "${probe:-}" \
  >"$root/bench/batch_results.json"
python3 "$root/bench/batch_report.py" page "$root/bench/batch_results.json" "$root/docs/performance.md"
echo "Wrote $root/bench/batch_results.json and the section in $root/docs/performance.md"
