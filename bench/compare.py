#!/usr/bin/env python3
"""Compares the cases of two builds of quilvex_bench side by side (for
example the program before and after a change, built in two folders). The
two run in turn, old then new, so that the load of the shared machine falls
on both alike; the median of each side's runs is printed with the change, for
the wall-clock time and for the CPU time of the thread that runs the case
(on a loaded machine the steadier of the two).

Usage: compare.py [--runs N] [--filter REGEX] OLD_BENCH NEW_BENCH
Default: six runs of each, the typical replot (TypicalReplot).
"""
import argparse
import json
import statistics
import subprocess

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def run_once(bench, case_filter):
    """(wall-clock, CPU) milliseconds per iteration of each case, from one run."""
    out = subprocess.run([bench, f"--benchmark_filter={case_filter}", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    return {b["name"]: (b["real_time"] * UNIT_MS[b["time_unit"]], b["cpu_time"] * UNIT_MS[b["time_unit"]])
            for b in json.loads(out)["benchmarks"] if b.get("run_type", "iteration") == "iteration"}


def row(label, old_runs, new_runs):
    old, new = statistics.median(old_runs), statistics.median(new_runs)
    runs = " ".join(f"{t:.3f}" for t in old_runs) + " | " + " ".join(f"{t:.3f}" for t in new_runs)
    return f"{label:<48} {old:>8.3f}ms {new:>8.3f}ms {100 * (new / old - 1):>+7.1f}%   {runs}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=6)
    parser.add_argument("--filter", default="^TypicalReplot/")
    parser.add_argument("old")
    parser.add_argument("new")
    args = parser.parse_args()

    times = {"old": {}, "new": {}}
    for _ in range(args.runs):
        for side in ("old", "new"):
            for name, pair in run_once(getattr(args, side), args.filter).items():
                times[side].setdefault(name, []).append(pair)

    print(f"{'case':<48} {'old':>10} {'new':>10} {'change':>8}   runs (old | new), ms")
    for name, old_runs in times["old"].items():
        new_runs = times["new"].get(name)
        if not new_runs:
            continue
        for kind, k in (("wall-clock", 0), ("CPU", 1)):
            print(row(f"{name} {kind}", [r[k] for r in old_runs], [r[k] for r in new_runs]))


if __name__ == "__main__":
    main()
