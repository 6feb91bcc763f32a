#!/usr/bin/env python3
"""Reference answers for the true least-squares fits y = a e^(b x) and y = a x^b.

Writes nls_reference.txt beside this script: every data set (x and y as the
decimal texts a data file would hold) and its answer at 50 significant digits,
computed with mpmath. tests/core/test_nls.cpp reads that file; it never runs
this script.

Each text is first rounded to the 64-bit mantissa of the program's numbers, as
reading it does, so the answer is the exact optimum of the numbers the program
fits. With u = x (exponential) or u = ln x (power), the best a for a given b
is linear, so the sum of squared residuals is a function of b alone, P(b).
Its local minima are found by a fine scan of b over the scaled range of u and
refined by bisection on the sign of dP/db; as |b| grows without end P(b)
tends to the limits below. The verdict:
  fit     the lowest local minimum lies below both limits, and a is a number
          of the program (its logarithm within the range of normal numbers);
  beyond  as "fit", but a is outside that range;
  none    no finite b does better than a limit: the SSR keeps falling as b
          grows towards the sign given.
"""
import os
import mpmath as mp
from mpmath import mpf

mp.mp.dps = 50
LN_LARGEST = 16384 * mp.log(2) + mp.log(1 - mpf(2) ** -64)  # ln of the largest number
LN_SMALLEST_NORMAL = -16382 * mp.log(2)


def as_read(text):
    with mp.workprec(64):
        return +mpf(text)


def noise(count, seed):
    """A fixed sequence in [-0.5, 0.5): a linear congruential generator."""
    values, state = [], seed
    for _ in range(count):
        state = (state * 6364136223846793005 + 1442695040888963407) % 2**64
        values.append(mpf(state >> 11) / 2**53 - mpf("0.5"))
    return values


def text(value, digits):
    return mp.nstr(value, digits, min_fixed=-4, max_fixed=19, strip_zeros=True)


def data_sets():
    sets = []

    def add(name, model, xs, ys, digits=12):
        sets.append((name, model, [text(mpf(x), 19) for x in xs], [text(y, digits) for y in ys]))

    xs = list(range(1, 13))
    add("exp_growth_noise", "exponential", xs,
        [5 * mp.exp(mpf("0.4") * x) + 2 * e for x, e in zip(xs, noise(12, 1))])
    xs = list(range(1, 9))
    add("exp_decay_negative", "exponential", xs,
        [-3 * mp.exp(mpf("-0.25") * x) + e / 10 for x, e in zip(xs, noise(8, 2))])
    xs = [mpf(k) / 2 for k in range(1, 21)]
    add("power_law_noise", "power", xs, [2 * x ** mpf("1.5") + e for x, e in zip(xs, noise(20, 3))])
    xs = list(range(0, 10))
    add("exp_exact", "exponential", xs, [3 * mp.exp(mpf("0.5") * x) for x in xs], 19)
    xs = [mpf(10) ** k for k in range(-6, 7)]
    add("power_exact_wide", "power", xs, [2 / x for x in xs], 19)
    add("exp_reciprocal_wide", "exponential", xs, [2 / x for x in xs], 19)
    xs = [10000 + mpf(k) / 2 for k in range(21)]
    add("exp_far_x", "exponential", xs,
        [mp.exp(x - 10000) * (1 + e / 50) for x, e in zip(xs, noise(21, 4))])
    xs = [mpf(k) * mpf("1e-6") for k in range(1, 11)]
    add("exp_tiny_x", "exponential", xs,
        [4 * mp.exp(-300000 * x) * (1 + e / 50) for x, e in zip(xs, noise(10, 5))])
    xs = list(range(1, 21))
    add("power_steep", "power", xs, [mpf("1e-3") * mpf(x) ** 12 * (1 + e / 25) for x, e in zip(xs, noise(20, 6))])
    add("local_minimum", "exponential", range(6), [mpf(v) for v in ("5", "1", "0.2", "0.2", "1", "6")])
    add("step_up", "exponential", range(5), [mpf(v) for v in (0, 0, 0, 0, 1)])
    add("step_down", "exponential", range(5), [mpf(v) for v in (1, 0, 0, 0, 0)])
    add("power_step_up", "power", range(1, 6), [mpf(v) for v in (0, 0, 0, 0, 1)])
    xs = [100000 + k for k in range(11)]
    add("exp_beyond_range", "exponential", xs,
        [mp.exp(mpf(k)) * (1 + e / 50) for k, e in zip(range(11), noise(11, 7))])
    # A steep power law whose optimum has a = e^20785: its SSR hangs on points
    # weighing 1e-10 and less against the first.
    add("power_beyond_range", "power", ["26881.4830471269", "27177.6410611348", "27192.7200492549",
                                        "27429.24086281", "27509.5430068285"],
        [mpf(v) for v in ("-1.20588733793e31", "-2.6137760354e21", "-8.48148393246e20", "-1.94820095338e13",
                          "-5.145947263e10")])
    return sets


class Profile:
    """P(b) with the best a for each b, in the u of the model."""

    def __init__(self, model, xs, ys):
        self.u = [x if model == "exponential" else mp.log(x) for x in xs]
        self.y = ys

    def fit(self, b):
        ref = max(self.u) if b > 0 else min(self.u)
        g = [mp.exp(b * (u - ref)) for u in self.u]
        scaled_a = mp.fsum(y * h for y, h in zip(self.y, g)) / mp.fsum(h * h for h in g)
        r = [y - scaled_a * h for y, h in zip(self.y, g)]
        ssr = mp.fsum(v * v for v in r)
        slope = -2 * scaled_a * mp.fsum(v * (u - ref) * h for v, u, h in zip(r, self.u, g))
        ln_abs_a = mp.log(abs(scaled_a)) - b * ref if scaled_a != 0 else mp.ninf
        return ssr, slope, ln_abs_a, mp.sign(scaled_a)

    def limit(self, top):
        """P as b grows without end towards the largest (top) or smallest u."""
        edge = max(self.u) if top else min(self.u)
        at_edge = [y for u, y in zip(self.u, self.y) if u == edge]
        mean = mp.fsum(at_edge) / len(at_edge)
        return mp.fsum((y - mean) ** 2 if u == edge else y * y for u, y in zip(self.u, self.y))


def scan(profile, up):
    """b over the scaled range of u, from 1e-4 until the points next to the end
    b grows towards weigh less than e^-300 against it; 40 values a decade."""
    half = (max(profile.u) - min(profile.u)) / 2
    edge = max(profile.u) if up else min(profile.u)
    gap = min(abs(u - edge) for u in profile.u if u != edge) / half
    last = int(40 * mp.log10(300 / gap / mpf("1e-4"))) + 1
    sign = 1 if up else -1
    return [sign * mpf(10) ** (mpf(k) / 40 - 4) / half for k in range(last + 1)]


def local_minima(profile):
    grid = list(reversed(scan(profile, False))) + [mpf(0)] + scan(profile, True)
    slopes = [profile.fit(b)[1] for b in grid]
    minima = []
    for lo, hi, s_lo, s_hi in zip(grid, grid[1:], slopes, slopes[1:]):
        if s_lo < 0 <= s_hi:
            b = root_of_slope(profile, lo, hi)
            minima.append((profile.fit(b)[0], b))
    return sorted(minima)


def root_of_slope(profile, lo, hi):
    """Bisection on the sign of dP/db alone, so the scale of y does not matter."""
    for _ in range(400):  # ends sooner, unless the root is b = 0
        if hi - lo <= mpf(10) ** -45 * max(abs(lo), abs(hi)):
            break
        mid = (lo + hi) / 2
        if profile.fit(mid)[1] < 0:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


def standard_errors(profile, a, b, ssr):
    """s sqrt(diag (J^T J)^-1), J the Jacobian of a e^(b u) in a and b."""
    g = [mp.exp(b * u) for u in profile.u]
    aa = mp.fsum(h * h for h in g)
    ab = mp.fsum(a * u * h * h for u, h in zip(profile.u, g))
    bb = mp.fsum((a * u * h) ** 2 for u, h in zip(profile.u, g))
    s2 = ssr / (len(profile.u) - 2) / (aa * bb - ab * ab)
    return mp.sqrt(s2 * bb), mp.sqrt(s2 * aa)


def answer(model, xs, ys):
    profile = Profile(model, xs, ys)
    minima = local_minima(profile)
    limits = sorted([(profile.limit(True), "+"), (profile.limit(False), "-")])
    if not minima or minima[0][0] >= limits[0][0]:
        return ["verdict none " + limits[0][1]]
    ssr, b = minima[0]
    _, _, ln_abs_a, sign = profile.fit(b)
    if not LN_SMALLEST_NORMAL <= ln_abs_a <= LN_LARGEST:
        return ["verdict beyond", "ln_abs_a " + mp.nstr(ln_abs_a, 30)]
    a = sign * mp.exp(ln_abs_a)
    se_a, se_b = standard_errors(profile, a, b, ssr)
    return ["verdict fit"] + ["%s %s" % (name, mp.nstr(v, 30)) for name, v in
                              (("a", a), ("b", b), ("ssr", ssr), ("se_a", se_a), ("se_b", se_b))] + \
        ["minima %d" % len(minima)]


def main():
    out = ["# Written by make_nls_reference.py: data sets of the true least-squares fits and",
           "# their answers at 50 digits (the verdict; for a fit a, b, SSR, the standard errors of a and b",
           "# and the number of local minima)."]
    for name, model, xs, ys in data_sets():
        out.append("set %s %s" % (name, model))
        out += ["point %s %s" % (x, y) for x, y in zip(xs, ys)]
        out += answer(model, [as_read(x) for x in xs], [as_read(y) for y in ys])
        out.append("end")
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "nls_reference.txt")
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
