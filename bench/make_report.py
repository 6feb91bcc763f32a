#!/usr/bin/env python3
"""Writes docs/performance.md (to standard output) from the Google Benchmark
JSON results of scripts/bench.sh and the peak memory of the two load runs.

Usage: make_report.py RESULTS.json PEAK_KB_MILLION PEAK_KB_SMALL
"""
import datetime
import json
import os
import platform
import re
import subprocess
import sys

import batch_report

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

CASES = [
    ("TypicalReplot", "Typical replot: 20 points, all seven methods, 512 plot points, computed afresh"),
    ("TypicalRepaint", "The same replot with nothing changed (curves reused)"),
    ("MethodReplot/0", "Replot at 300 points: cubic spline only"),
    ("MethodReplot/1", "Replot at 300 points: Lagrange through all points only"),
    ("MethodReplot/2", "Replot at 300 points: Lagrange of order 3 only"),
    ("MethodReplot/3", "Replot at 300 points: regression of order 3 only"),
    ("MethodReplot/4", "Replot at 300 points: exponential only"),
    ("MethodReplot/5", "Replot at 300 points: logarithmic only"),
    ("MethodReplot/6", "Replot at 300 points: power only"),
    ("LagrangeFirstReplot", "All-points Lagrange on 300 points: first replot"),
    ("LagrangeTickAnother", "... then a replot after ticking one more method"),
    ("LargeReplot/0", "Replot at 300 points, all seven methods, 10 000 plot points: samples on one thread"),
    ("LargeReplot/1", "... the same with the samples on every core"),
    ("Drag/20/0", "Drag: 40 movements of the middle point up and down (its X stays), all seven methods, 20 points"),
    ("Drag/20/3", "... zigzag (its X changes at every movement), 20 points"),
    ("Drag/50/0", "... up and down, 50 points"),
    ("Drag/100/0", "... up and down, 100 points"),
    ("Drag/100/3", "... zigzag, 100 points"),
    ("Drag/300/0", "... up and down, 300 points"),
    ("Drag/300/3", "... zigzag, 300 points"),
    ("Drag/300/2", "... up and down, 300 points, a point a tenth of the way along"),
    ("Drag/300/1", "... up and down, 300 points, the first point"),
    ("RegressionNonFinite/0", "FitRegression, order 299, 300 points, an infinity in X (ends with the fault)"),
    ("RegressionNonFinite/1", "FitRegression, order 299, 300 points, an infinity in Y (ends with the fault)"),
    ("RegressionNonFinite/2", "FitRegression, order 299, 300 points, a NaN in Y (no fault: solved to the end)"),
    ("Regression/fast/3", "FitRegression, order 3, 300 points, fast"),
    ("Regression/exact/3", "FitRegression, order 3, 300 points, exact"),
    ("Regression/fast/30", "FitRegression, order 30, 300 points, fast"),
    ("Regression/exact/30", "FitRegression, order 30, 300 points, exact"),
    ("Regression/fast/299", "FitRegression, order 299, 300 points, fast"),
    ("Regression/exact/299", "FitRegression, order 299, 300 points, exact"),
    ("Spline/fast", "SetUpSpline, 300 points, fast"),
    ("Spline/exact", "SetUpSpline, 300 points, exact"),
    ("LagrangeValue/fast", "One all-points Lagrange value, 300 points, fast"),
    ("LagrangeValue/exact", "One all-points Lagrange value, 300 points, exact"),
    ("FitStatistics/299", "Fit statistics (quilvex fit), all nine methods, 300 points, regression order 299"),
    ("StableRegression/299", "... of which the stability check of the regression (stable solver, condition number)"),
    ("ConstrainedRegression/299", "The regression of order 299 at 300 points through the origin, solved exactly (a constrained row's own cost)"),
    ("WeightedStatistics/294", "Fit statistics with σ, weights 1/σ² and five of 300 points excluded, every row and its weighted row, regression order 294"),
    ("LoadFile/300", "Load a file of 300 lines into the grid"),
    ("LoadFile/1000000", "Load a file of 1,000,000 lines into the grid"),
]


HOW = """
## How the fast forms keep the bits

- Regression: a power sum depends only on its exponent, and x[i]^p is the same
  product chain whichever sum uses it, so one pass over the exponents carries
  each point's chain on by one factor and forms every sum once (2m + 1 sums
  instead of (m + 1)², each of the chains once instead of afresh). The normal
  equations are then solved by the same Gauss-Jordan steps, two pivot steps per
  pass over the rows (each element still rounded after every subtraction),
  checking the fault flags once per pair; after a fault the steps run again one
  by one to end where the literal solver ends. `EvalRegression` carries the
  power from term to term.
- Spline: the system is eliminated by rows that hold only their nonzero columns;
  the subtractions of zero products are left out. Such a subtraction can only
  change the sign of a zero (-0 - (-0) = +0), so every row also keeps the sign
  of its left-out zeros and takes up a column whenever that sign could matter:
  the results match the dense solver to the sign of every zero. No sign-of-zero
  difference remains.
- Lagrange: t - x[j] is formed once per value instead of once per basis product,
  and two basis products are formed side by side in registers; each still takes
  its factors ((t - x[j]) / (x[i] - x[j])) · L in the literal order.
- Lagrange at a point: at t = x[i] in a strictly ascending window every other
  basis product takes the factor (t - x[i]) / (x[p] - x[i]) = 0 and point i's
  own factors are each a / a = 1, so the literal sum is y[i] (+0 for a zero)
  unless a product overflows before its zero factor or a y is not finite. No
  factor exceeds span / smallest gap, so when (hi - lo) · log2(span / gap) stays
  below 16000 no product can overflow and the sum is y[i] without forming any;
  otherwise the sum is formed as usual. "Fit quality", the statistics and the
  residual plot thus take the all-points polynomial at all 300 points in well
  under a millisecond instead of about 47 ms. These checks run only where a
  plain search finds t among the window's X, so a curve's samples, which
  seldom fall on a point, pay that search alone.
- Faults: with finite operands the first fault of a stage is always an overflow,
  so one check per stage reports the same text. The Lagrange sum, where a
  division by zero or 0/0 can come first, checks once at the end and reruns the
  literal sum to meet the first fault in its order. Tables holding an infinity
  or a NaN take the literal spline set-up; the regression forms their power
  sums once each, exponent by exponent with a check after each, forms the sum
  that faults again literally (the literal form meets its first fault in the
  lowest faulting exponent, as every lower one comes before it), and gives the
  system to the literal solver, which such a system faults within its first
  steps: milliseconds instead of the literal sums' O(n m³).
- Reuse: the regression fit, the spline's second derivatives and the samples
  of the regression and both Lagrange curves are kept with their inputs (point
  table, order, range, PlotPoints, coefficients), compared bit for bit; a
  replot with the same inputs replays the values and messages through the
  usual mapping, which runs every time. Nothing from a replot that ended with
  an error is kept.
- Threads: the arguments of a trace are known before it starts, and every
  curve value depends on its argument alone, so a curve whose samples cost
  enough (about 3 ms in all) has them computed ahead in as many contiguous
  chunks as there are cores, each thread with its own fault flags and message
  buffer per sample. The trace then takes them in its own order on the main
  thread, adding each sample's messages when it comes to it; a sample that met
  a fault, or one asked for while a fault is flagged, is computed again there,
  so the first fault, the messages (to the 255-character cap) and the drawing
  are those of one thread. Drawing and every Qt call stay on the main thread.
  The gain is bounded by the part that stays serial (the fits, the mapping,
  the drawing, the labels) and by the other core being free: on a loaded
  machine a second thread waits for a core like every other program does.
- Drag: per sample of the all-points Lagrange curve, the basis product of
  every point but the dragged one is kept up to the dragged point's factor,
  and every whole basis product with the dragged point's X. A movement that
  leaves that X as it was (straight up or down, or sideways within the same
  pixel column, which at 300 points is most of them: the neighbours are about
  1.4 pixels apart) forms only the sum again. A movement that changes it forms
  the factors from the dragged point's on (the product of the dragged point
  itself afresh). The literal order multiplies the factors in ascending point
  order, so what follows the dragged point's factor is rounded from a changed
  value and has to be formed again: such a movement of the middle point costs
  about half a fresh curve, of a point near the start nearly all of it, and a
  sideways movement of the first or last point moves the curve's range and
  with it every sample. Each factor is a correctly rounded extended division
  (about 1.6 ns); 514 samples × 300 points × the factors after the dragged
  point is the floor of such a movement, shared by the two cores: about 37 ms
  of work for the middle point, 19 ms on each core, and about 70 ms for a
  point near the start or a sideways movement of an end point, which no
  rounding-exact reuse can shorten. The first movement of a drag forms the
  curve afresh and keeps its products.
"""


COMPARING = """
## Comparing two commits

A change of speed between two commits is measured with the benchmark cases,
both builds side by side on the same machine: build `quilvex_bench` at each
commit in a folder of its own (for example a `git worktree add` of the older
one, then `bash scripts/build.sh FOLDER/build-bench -DQUILVEX_BENCH=ON --
quilvex_bench` in each) and run `python3 bench/compare.py
OLD/bench/quilvex_bench NEW/bench/quilvex_bench` with the two build folders
for OLD and NEW. It runs the two in turn, six runs each, and compares the
medians of the wall-clock time and of the main thread's CPU time, the steadier
of the two on a loaded machine (`--filter` chooses other cases, `--runs` more
runs). Its case is the typical replot, `TypicalReplot` in
`bench/bench_replot.cpp` (20 points, all seven methods, 512 plot points,
computed afresh): the replot a user waits for after every edit of the table.
So measured, the typical replot had become some 5 to 10 % slower than at the
commit before the document restructuring, while drags had not. The cost was a
shortcut for the figures "Fit quality" and the "Fit details" window take at
the table's own points: the Lagrange sum checked, for every sample of both
Lagrange curves, whether it lay on a point of a finite, ascending window,
though a curve's samples seldom do (a drag's kept products never take that
path). The sum now searches for the sample among the window's X first (see
"Lagrange at a point" below), and the typical replot is back to its time
before.
"""


def base_name(run_name):
    return re.sub(r"/(iterations|repeats):\d+|/real_time", "", run_name)


def medians(results):
    found = {}
    for b in results["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        ms = b["real_time"] * UNIT_MS[b["time_unit"]]
        cpu = b["cpu_time"] * UNIT_MS[b["time_unit"]]
        found[base_name(b["run_name"])] = (ms, b.get("repetitions", 0), cpu)
    return found


def worst_lags(results):
    """lag_max of the repetition that lagged most, from the "max" aggregate."""
    return {base_name(b["run_name"]): int(b["lag_max"]) for b in results["benchmarks"]
            if b.get("aggregate_name") == "max" and "lag_max" in b}


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown"


def compiler():
    try:
        return subprocess.run(["c++", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    except (OSError, IndexError):
        return "unknown"


def fmt_ms(ms):
    if ms >= 1000:
        return f"{ms / 1000:.2f} s"
    if ms >= 1:
        return f"{ms:.2f} ms"
    return f"{ms * 1000:.1f} µs"


STATISTICS = """
Of the fit statistics' time, more than half is the designed regression fit of
order 299 by the designed solver, which the statistics reuse unchanged and
which alone takes about the target's 50 ms on this machine; the stability
check (`StableRegression/299`) adds about 25 ms, the rest a few ms.
"""

DETAILS = """
Every case has all seven methods ticked but the regression-only update.
`DragWithDetails/n/paced/zigzag` is `Drag`'s movement of the middle point (up
and down, or with zigzag 1 between two columns as `Drag/300/3`) with the
window shown and the event loop run after each movement, either at once
(paced 0) or idle until the next movement is due at 60 per second (paced 1);
`lag_max` is how many movements the table shown was behind at most, in the
repetition that lagged most. A drag whose movements take longer than the
mouse's interval gets them back to back (the window system merges the
movements that wait), as the zigzag at 300 points does; one whose movements
are quicker gets them paced. "As without the window" compares with the
`Drag` case of the same movement in the same run.

The window's figures are computed on a thread of their own at a lower priority
(nice 10), so a replot never waits for them: its part on the main thread is
filling the table and painting the residual plot (the "CPU, main thread"
column of `DetailsUpdate`). What is left of the time until the figures show
is `ComputeStatistics`, which the window calls so that its figures are those
of `quilvex fit`, and the residuals evaluated as drawn. The designed
regression fit of order 299 is taken over from the replot (the table and the
order are the same, so its values are those bits); the stability check of
order 299 is most of what remains, and the all-points Lagrange polynomial at
its own points is each point's y (see "Lagrange at a point" below).
"""


def details_section(out, get, cpu_of, lags):
    """The "Fit details" window: its update after a replot and drags with it open."""
    updates = (("DetailsUpdate/300/299/0", "update after a replot, 300 points, regression of order 299 only", 50),
               ("DetailsUpdate/300/299/1", "the same, all seven methods", 50),
               ("DetailsUpdate/100/3/1", "100 points (a drag's update)", None),
               ("DetailsUpdate/300/3/1", "300 points", None),
               ("WeightedDetailsUpdate/294", "σ at every point, weights 1/σ², five of 300 points excluded, "
                "all seven methods and their weighted rows, regression of order 294 (295 points fitted)", 50))
    drags = (("DragWithDetails/100/0/0", "drag at 100 points, per movement", 16.7, "Drag/100/0"),
             ("DragWithDetails/300/0/0", "drag at 300 points, per movement", 33, "Drag/300/0"),
             ("DragWithDetails/300/0/1", "zigzag at 300 points, per movement", None, "Drag/300/3"),
             ("WeightedDrag/300", "drag at 300 points with σ, weights 1/σ², the weighted curves and five points "
              "excluded (graph only), per movement", 33, "Drag/300/0"),
             ("ConstrainedDrag/300", "drag at 300 points with the regression of order 3 through the origin and "
              "exponential-nls with b held, their constrained curves and both bands (graph only), per movement",
              33, "Drag/300/0"))
    lagging = (("DragWithDetails/300/0/1", "zigzag at 300 points, movements back to back"),
               ("DragWithDetails/100/1/0", "at 60 movements per second, 100 points"),
               ("DragWithDetails/300/1/0", "at 60 movements per second, 300 points"),
               ("DragWithDetails/300/1/1", "at 60 movements per second, zigzag, 300 points"))
    if not any(get(name) for name, *_ in updates + drags):
        return
    out.append('## The "Fit details" window')
    out.append("")
    out.append("| Case | Median | CPU, main thread | Target | Met |")
    out.append("|---|---:|---:|---|:---:|")
    for name, text, limit in updates:
        ms = get(name)
        if ms:
            target, met = (f"under {limit} ms", "yes" if ms < limit else "NO") if limit else ("", "")
            out.append(f"| `{name}`: {text} | {fmt_ms(ms)} | {fmt_ms(cpu_of(name))} | {target} | {met} |")
    for name, text, limit, alone in drags:
        ms = get(name)
        if not ms:
            continue
        per_event, without = ms / 40, (get(alone) or 0) / 40
        # A quarter more than the same drag alone is within the noise of this shared machine.
        as_alone = without > 0 and per_event <= without * 1.25
        target = f"under {limit} ms" if limit else f"as without the window ({fmt_ms(without)})"
        met = (per_event < limit) if limit else as_alone
        out.append(f"| `{name}`: {text} | {fmt_ms(per_event)} | {fmt_ms(cpu_of(name) / 40)} | {target} "
                   f"| {'yes' if met else 'NO'} |")
    for name, text in lagging:
        if name in lags:
            out.append(f"| `{name}`: {text} | lag_max {lags[name]} | | at most 1 | {'yes' if lags[name] <= 1 else 'NO'} |")
    out.append("")
    out.extend(DETAILS.strip("\n").splitlines())
    out.append("")


def main():
    results = json.load(open(sys.argv[1]))
    peak_million_kb = int(sys.argv[2])
    peak_small_kb = int(sys.argv[3])
    m = medians(results)
    ctx = results.get("context", {})
    get = lambda name: m.get(name, (None, 0, None))[0]
    cpu_of = lambda name: m.get(name, (None, 0, None))[2]

    out = []
    out.append("# Performance")
    out.append("")
    out.append("Written by `bash scripts/bench.sh` from the Google Benchmark cases in `bench/`;")
    out.append("do not edit by hand. Every figure is the median of the repetitions of one run")
    out.append("(the machine is shared, so single runs are noisy), and every ratio compares")
    out.append("medians of that same run. \"Exact\" is the literal form (`literal::` in")
    out.append("`fit/`); \"fast\" is the form the program uses, which the identity")
    out.append("tests (`tests/core/test_fast_identity.cpp`, `test_fast_traces.cpp`) hold to the")
    out.append("same bits, messages and errors.")
    out.append("")
    out.append("## Machine")
    out.append("")
    out.append(f"- CPU: {cpu_model()}, {os.cpu_count()} cores ({ctx.get('num_cpus', '?')} seen by the benchmark, "
               f"{ctx.get('mhz_per_cpu', '?')} MHz)")
    load = ctx.get("load_avg")
    if load:
        busy = " (a loaded machine, shared with other work: absolute times are longer than on an idle one, and the ratios within the run are the figures to go by)" if load[0] > (os.cpu_count() or 1) else ""
        out.append(f"- Load average at the start: {', '.join(f'{v:.2f}' for v in load)}{busy}")
    out.append(f"- Compiler: {compiler()}; build type RelWithDebInfo (-O2), -ffp-contract=off")
    out.append(f"- Run: {datetime.date.today().isoformat()}, {platform.system()} {platform.release()}")
    out.append("")
    out.append("## Cases")
    out.append("")
    out.append("| Case | Median | CPU, main thread | Repetitions |")
    out.append("|---|---:|---:|---:|")
    for name, text in CASES:
        if name in m:
            ms, reps, cpu = m[name]
            out.append(f"| {text} | {fmt_ms(ms)} | {fmt_ms(cpu)} | {reps} |")
    out.append("")
    out.append("Replots run through the real windows offscreen on the 538 × 402 paint box,")
    out.append("including the grid import, the axes, the points and the labels. \"Computed")
    out.append("afresh\" replots forget the reused curve samples first, as after any change")
    out.append("of the data. The median is wall-clock time; \"CPU, main thread\" is the CPU")
    out.append("time of the thread that runs the case, which on an idle machine is about its")
    out.append("wall-clock time (the helpers that compute curve samples take an equal share")
    out.append("beside it), and on a loaded one tells how much of the wall-clock time was")
    out.append("spent waiting for a core.")
    out.append("")

    out.append("## Targets")
    out.append("")
    out.append("| Target | Figure | Met |")
    out.append("|---|---:|:---:|")

    def ratio_row(text, fast, exact, at_least):
        f, e = get(fast), get(exact)
        if f is None or e is None:
            out.append(f"| {text} | not measured | |")
            return
        r = e / f
        out.append(f"| {text}: at least {at_least}× | {r:.0f}× ({fmt_ms(e)} / {fmt_ms(f)}) | {'yes' if r >= at_least else 'NO'} |"
                   if r >= 10 else
                   f"| {text}: at least {at_least}× | {r:.2f}× ({fmt_ms(e)} / {fmt_ms(f)}) | {'yes' if r >= at_least else 'NO'} |")

    ratio_row("FitRegression order 299, 300 points, faster than exact", "Regression/fast/299", "Regression/exact/299", 200)
    ratio_row("SetUpSpline, 300 points, faster than exact", "Spline/fast", "Spline/exact", 50)
    ratio_row("One all-points Lagrange value, 300 points, faster than exact", "LagrangeValue/fast", "LagrangeValue/exact", 1.5)
    first, tick = get("LagrangeFirstReplot"), get("LagrangeTickAnother")
    if first and tick:
        share = tick / first
        out.append(f"| Replot after ticking one more method / first replot (all-points Lagrange, 300 points, 512 plot points): at most 0.1 "
                   f"| {share:.3f} ({fmt_ms(tick)} / {fmt_ms(first)}) | {'yes' if share <= 0.1 else 'NO'} |")
    typical = get("TypicalReplot")
    if typical:
        out.append(f"| Typical replot: under 4 ms | {fmt_ms(typical)} | {'yes' if typical < 4 else 'NO'} |")
    one, several = get("LargeReplot/0"), get("LargeReplot/1")
    if one and several:
        share = several / one
        cpu_share = cpu_of("LargeReplot/1") / cpu_of("LargeReplot/0")
        out.append(f"| Replot at 300 points, all seven methods, 10 000 plot points, every core / one thread: at most 0.55 "
                   f"| {share:.2f} ({fmt_ms(several)} / {fmt_ms(one)}); CPU of the main thread: {cpu_share:.2f} "
                   f"| {'yes' if share <= 0.55 else 'NO'} |")
    for name, points, how, limit in (("Drag/50/0", 50, "up and down", 16.7), ("Drag/100/0", 100, "up and down", 16.7),
                                     ("Drag/100/3", 100, "zigzag", 16.7), ("Drag/300/0", 300, "up and down", 33),
                                     ("Drag/300/3", 300, "zigzag", 33)):
        drag = get(name)
        if drag:
            per_event = drag / 40
            cpu = cpu_of(name) / 40
            out.append(f"| Drag at {points} points ({how}), all seven methods: each movement under {limit} ms "
                       f"| {fmt_ms(per_event)} per movement (CPU, main thread: {fmt_ms(cpu)}) | {'yes' if per_event < limit else 'NO'} |")
    for name, where in (("RegressionNonFinite/0", "an infinity in X"), ("RegressionNonFinite/1", "an infinity in Y"),
                        ("RegressionNonFinite/2", "a NaN in Y")):
        figure = get(name)
        if figure:
            out.append(f"| Regression of order 299 on 300 points with {where}: under 1 s "
                       f"| {fmt_ms(figure)} | {'yes' if figure < 1000 else 'NO'} |")
    statistics = get("FitStatistics/299")
    if statistics:
        out.append(f"| Fit statistics, all nine methods, 300 points, regression order 299: under 50 ms "
                   f"| {fmt_ms(statistics)} | {'yes' if statistics < 50 else 'NO'} |")
    million = get("LoadFile/1000000")
    if million:
        out.append(f"| Loading 1,000,000 lines: under 10 s | {fmt_ms(million)} | {'yes' if million < 10000 else 'NO'} |")
    peak_mb = peak_million_kb / 1024
    out.append(f"| Loading 1,000,000 lines: under 2 GB peak memory | {peak_mb:.0f} MB | {'yes' if peak_mb < 2048 else 'NO'} |")
    out.append("")
    out.append("The two cores of this machine are shared with other people's builds and tests;")
    out.append("while they are busy (a load average above 2) a second thread seldom finds a")
    out.append("free core, and the wall-clock ratios of the threaded cases show the load more")
    out.append("than the program. The main thread's CPU")
    out.append("time shows the share the helpers took off it; on an idle machine the wall-clock")
    out.append("time comes down to about that figure (a replot's serial part, the fits, the")
    out.append("mapping, the drawing and the labels, is a few per cent of these cases). With")
    out.append("only two cores here, more cores could not be measured; the samples are split")
    out.append("into as many shares as there are cores, so the Lagrange part scales with them.")
    out.append("")
    out.append(f"Peak memory is the maximum resident set size of the whole benchmark program")
    out.append(f"(Qt and the three windows included) in a run that loads the file of one")
    out.append(f"million lines; the same program loading the file of 300 lines peaks at")
    out.append(f"{peak_small_kb / 1024:.0f} MB.")
    out.append("")
    out.extend(STATISTICS.strip("\n").splitlines())
    out.append("")
    details_section(out, get, cpu_of, worst_lags(results))
    out.extend(batch_report.section_lines(os.path.join(os.path.dirname(__file__), "batch_results.json")))
    out.extend(COMPARING.strip("\n").splitlines())
    out.append("")
    out.extend(HOW.strip("\n").splitlines())
    print("\n".join(out))


if __name__ == "__main__":
    main()
