#!/usr/bin/env python3
"""`quilvex fit` on many files, for scripts/bench_batch.sh: measures one
process per file against one process for all of them, and writes the section
"Many files in one process" of docs/performance.md from the figures.

Usage: batch_report.py measure PROGRAM FOLDER ROUNDS [CORE_ONLY_PROBE] > RESULTS.json
       batch_report.py page RESULTS.json PAGE.md
make_report.py takes the section from bench/batch_results.json with section_lines().
"""
import datetime
import glob
import json
import os
import resource
import statistics
import subprocess
import sys
import time

HEADING = "## Many files in one process"
STARTS = 200
NO_DISPLAY = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}


def timed(command, output):
    """Wall-clock and CPU seconds (every process it started, user and system)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    with open(output, "w") as out:
        subprocess.run(command, stdout=out, env=NO_DISPLAY, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def shell_loop(command, words):
    """A shell loop that runs command once per word, the word as its last argument."""
    script = 'n=$1; shift; command=("${@:1:n}"); shift "$n"; for w in "$@"; do "${command[@]}" "$w"; done'
    return ["bash", "-c", script, "_", str(len(command)), *command, *words]


def median_pair(runs):
    return {"wall_s": statistics.median(r[0] for r in runs), "cpu_s": statistics.median(r[1] for r in runs)}


def measure(program, folder, rounds, probe):
    files = sorted(glob.glob(os.path.join(folder, "*.dta")))
    points = [sum(1 for line in open(f) if not line.startswith(";")) for f in files]
    load_start = os.getloadavg()
    loop, batch = [], []
    for _ in range(rounds):  # side by side: each round runs both ways
        loop.append(timed(shell_loop([program, "fit"], files), os.devnull))
        batch.append(timed([program, "fit", *files], os.devnull))
    starts = {"quilvex fit --help": timed(shell_loop([program, "fit"], ["--help"] * STARTS), os.devnull)}
    if probe:
        starts["Qt Core only"] = timed(shell_loop([probe], [""] * STARTS), os.devnull)
    starts["/bin/true"] = timed(shell_loop(["/bin/true"], [""] * STARTS), os.devnull)
    return {
        "date": datetime.date.today().isoformat(),
        "cores": os.cpu_count(),
        "load_start": list(load_start),
        "load_end": list(os.getloadavg()),
        "files": len(files),
        "points": [min(points), max(points)],
        "rounds": rounds,
        "loop": median_pair(loop),
        "batch": median_pair(batch),
        "runs": {"loop": loop, "batch": batch},
        "start_ms": {name: {"wall": 1000 * w / STARTS, "cpu": 1000 * c / STARTS} for name, (w, c) in starts.items()},
    }


def seconds(s):
    return f"{s:.2f} s" if s < 100 else f"{s:.0f} s"


def section_lines(results_path):
    if not os.path.exists(results_path):
        return []
    r = json.load(open(results_path))
    loop, batch, files = r["loop"], r["batch"], r["files"]
    ratio = loop["wall_s"] / batch["wall_s"]
    help_start = r["start_ms"]["quilvex fit --help"]
    start_share = help_start["cpu"] * files / 1000 / loop["cpu_s"]
    lines = [HEADING, "",
             "Written by `bash scripts/bench_batch.sh` (`bench/batch_report.py`, figures in",
             "`bench/batch_results.json`); `bench.sh` carries the section over. "
             f"{files} data files of {r['points'][0]} to {r['points'][1]} points",
             "(lines, parabolas and decays with noise), every method at its defaults, text out;",
             f"both ways run {r['rounds']} time{'s' if r['rounds'] > 1 else ''} side by side in one run on {r['cores']} cores, medians "
             f"shown ({r['date']}; load average {r['load_start'][0]:.2f} at the start, "
             f"{r['load_end'][0]:.2f} at the end).", "",
             "| Way | Wall clock | CPU, all processes |", "|---|---:|---:|",
             f"| One process per file: `for f in *.dta; do quilvex fit \"$f\"; done` | {seconds(loop['wall_s'])} "
             f"| {seconds(loop['cpu_s'])} |",
             f"| One process: `quilvex fit *.dta` | {seconds(batch['wall_s'])} | {seconds(batch['cpu_s'])} |", "",
             "| Target | Figure | Met |", "|---|---:|:---:|",
             f"| {files} files in one process at least 4× faster than one process per file | {ratio:.1f}× "
             f"| {'yes' if ratio >= 4 else 'NO'} |", "",
             "Start-up of one process, the mean of "
             f"{STARTS} in a shell loop:", "",
             "| Process | Wall clock | CPU |", "|---|---:|---:|"]
    for name, ms in r["start_ms"].items():
        lines.append(f"| `{name}` | {ms['wall']:.1f} ms | {ms['cpu']:.1f} ms |")
    lines += ["",
              f"The start-up of `quilvex fit` is {start_share:.0%} of the CPU time of the loop; in one process",
              "it is paid once and the files are fitted on every core (one state per file, the",
              "results printed in the order given)."]
    core_only = r["start_ms"].get("Qt Core only")
    if core_only:
        share = core_only["cpu"] / help_start["cpu"]
        lines += [f"{'Most' if share < 0.5 else 'Part'} of the start-up is loading the shared libraries the program links for its",
                  "windows (Qt Widgets and Gui, and through them OpenGL, X11, fontconfig, ICU and",
                  "more): a program that only creates a `QCoreApplication`, linked with Qt Core",
                  f"alone, takes {share:.0%} of that CPU time to start."]
    lines += ["One process for many files meets the target with the program as one binary, so",
              "the command has no binary of its own.", ""]
    return lines


def splice(page, lines):
    """The page with its batch section replaced by lines (or added before the next part)."""
    text = page.split("\n")
    if HEADING in text:
        start = text.index(HEADING)
        end = next((i for i in range(start + 1, len(text)) if text[i].startswith("## ")), len(text))
        return "\n".join(text[:start] + lines + text[end:])
    anchor = "## How the fast forms keep the bits"
    at = text.index(anchor) if anchor in text else len(text)
    return "\n".join(text[:at] + lines + text[at:])


def main():
    if sys.argv[1] == "measure":
        probe = sys.argv[5] if len(sys.argv) > 5 else ""
        print(json.dumps(measure(sys.argv[2], sys.argv[3], int(sys.argv[4]), probe), indent=1))
    elif sys.argv[1] == "page":
        page = open(sys.argv[3]).read()
        with open(sys.argv[3], "w") as out:
            out.write(splice(page, section_lines(sys.argv[2])))


if __name__ == "__main__":
    main()
