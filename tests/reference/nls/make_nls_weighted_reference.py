#!/usr/bin/env python3
"""Reference answers for the weighted true least-squares fits y = a e^(b x) and y = a x^b.

Writes nls_weighted_reference.txt beside this script: every data set (x, y and
the sigma of each point where the weights come from sigma) and its answer at
50 significant digits, computed with mpmath. tests/core/test_nls_weighted.cpp
reads that file; it never runs this script.

The fit minimises chi2 = sum w (y - a e^(b u))^2 with u = x or ln x and the
weights w = 1/sigma^2 ("sigma"), 1/y ("y") or 1/y^2 ("y2"), of the numbers as
the program reads them. The best a for a given b is linear, so chi2 is a
function of b alone; its minima are found as in make_nls_reference.py (whose
scan and bisection are reused), with every sum weighted. The unit standard
errors are sqrt(diag (J^T W J)^-1), J the Jacobian in a and b.
"""
import os
import mpmath as mp
from mpmath import mpf

from make_nls_reference import LN_LARGEST, LN_SMALLEST_NORMAL, as_read, local_minima, noise, text

mp.mp.dps = 50


class WeightedProfile:
    """chi2(b) with the best a for each b, in the u of the model."""

    def __init__(self, model, xs, ys, ws):
        self.u = [x if model == "exponential" else mp.log(x) for x in xs]
        self.y = ys
        self.w = ws

    def fit(self, b):
        ref = max(self.u) if b > 0 else min(self.u)
        g = [mp.exp(b * (u - ref)) for u in self.u]
        scaled_a = mp.fsum(w * y * h for w, y, h in zip(self.w, self.y, g)) / mp.fsum(w * h * h for w, h in zip(self.w, g))
        r = [y - scaled_a * h for y, h in zip(self.y, g)]
        chi2 = mp.fsum(w * v * v for w, v in zip(self.w, r))
        slope = -2 * scaled_a * mp.fsum(w * v * (u - ref) * h for w, v, u, h in zip(self.w, r, self.u, g))
        ln_abs_a = mp.log(abs(scaled_a)) - b * ref if scaled_a != 0 else mp.ninf
        return chi2, slope, ln_abs_a, mp.sign(scaled_a)

    def limit(self, top):
        """chi2 as b grows without end towards the largest (top) or smallest u."""
        edge = max(self.u) if top else min(self.u)
        at_edge = [(w, y) for u, y, w in zip(self.u, self.y, self.w) if u == edge]
        mean = mp.fsum(w * y for w, y in at_edge) / mp.fsum(w for w, _ in at_edge)
        return mp.fsum(w * ((y - mean) ** 2 if u == edge else y * y) for u, y, w in zip(self.u, self.y, self.w))


def unit_standard_errors(profile, a, b):
    g = [mp.exp(b * u) for u in profile.u]
    aa = mp.fsum(w * h * h for w, h in zip(profile.w, g))
    ab = mp.fsum(w * a * u * h * h for w, u, h in zip(profile.w, profile.u, g))
    bb = mp.fsum(w * (a * u * h) ** 2 for w, u, h in zip(profile.w, profile.u, g))
    det = aa * bb - ab * ab
    return mp.sqrt(bb / det), mp.sqrt(aa / det)


def weights_of(weighting, ys, sigmas):
    if weighting == "sigma":
        return [1 / (s * s) for s in sigmas]
    if weighting == "y":
        return [1 / y for y in ys]
    return [1 / (y * y) for y in ys]


def answer(model, xs, ys, ws):
    profile = WeightedProfile(model, xs, ys, ws)
    minima = local_minima(profile)
    limits = sorted([(profile.limit(True), "+"), (profile.limit(False), "-")])
    if not minima or minima[0][0] >= limits[0][0]:
        return ["verdict none " + limits[0][1]]
    chi2, b = minima[0]
    _, _, ln_abs_a, sign = profile.fit(b)
    assert LN_SMALLEST_NORMAL <= ln_abs_a <= LN_LARGEST
    a = sign * mp.exp(ln_abs_a)
    se_a, se_b = unit_standard_errors(profile, a, b)
    return ["verdict fit"] + ["%s %s" % (name, mp.nstr(v, 30)) for name, v in
                              (("a", a), ("b", b), ("chi2", chi2), ("unit_se_a", se_a), ("unit_se_b", se_b))] + \
        ["minima %d" % len(minima)]


def data_sets():
    sets = []

    def add(name, model, weighting, xs, ys, sigmas=None):
        sigmas = sigmas or [None] * len(xs)
        sets.append((name, model, weighting, [text(mpf(x), 19) for x in xs], [text(y, 12) for y in ys],
                     [text(s, 6) if s is not None else None for s in sigmas]))

    xs = list(range(1, 13))
    sigmas = [mpf("0.5") + mpf(x) / 4 for x in xs]
    add("exp_sigma", "exponential", "sigma", xs,
        [5 * mp.exp(mpf("0.3") * x) + 2 * s * e for x, s, e in zip(xs, sigmas, noise(12, 11))], sigmas)
    xs = [mpf(k) / 2 for k in range(1, 17)]
    sigmas = [mpf("0.02") * (1 + x) for x in xs]
    add("power_sigma", "power", "sigma", xs,
        [3 * x ** mpf("0.75") + 2 * s * e for x, s, e in zip(xs, sigmas, noise(16, 12))], sigmas)
    # Sigma near 1e-200: weights near 1e400, far above those the fit works with.
    xs = list(range(0, 9))
    sigmas = [mpf("1e-200") * (1 + x) for x in xs]
    add("exp_sigma_tiny", "exponential", "sigma", xs,
        [mpf("1e-198") * mp.exp(mpf("-0.2") * x) * (1 + e / 20) for x, e in zip(xs, noise(9, 13))], sigmas)
    xs = list(range(0, 15))
    add("exp_counts_over_y", "exponential", "y", xs,
        [1000 * mp.exp(mpf("-0.3") * x) + 3 * e * mp.sqrt(1000 * mp.exp(mpf("-0.3") * x)) for x, e in
         zip(xs, noise(15, 14))])
    xs = list(range(1, 21))
    add("power_over_y", "power", "y", xs, [50 * mpf(x) ** -mpf("1.2") * (1 + e / 10) for x, e in zip(xs, noise(20, 15))])
    xs = [mpf(10) ** (mpf(k) / 4) for k in range(0, 17)]
    add("power_relative_over_y2", "power", "y2", xs,
        [mpf("0.4") * x ** mpf("2.5") * (1 + e / 10) for x, e in zip(xs, noise(17, 16))])
    xs = list(range(0, 12))
    add("exp_relative_over_y2", "exponential", "y2", xs,
        [7 * mp.exp(mpf("0.9") * x) * (1 + e / 5) for x, e in zip(xs, noise(12, 17))])
    add("step_up_sigma", "exponential", "sigma", range(5), [mpf(v) for v in (0, 0, 0, 0, 1)],
        [mpf(v) for v in ("1", "2", "1", "0.5", "1")])
    return sets


def main():
    out = ["# Written by make_nls_weighted_reference.py: data sets of the weighted true least-squares fits",
           "# (set name model weighting; point x y [sigma]) and their answers at 50 digits (the verdict;",
           "# for a fit a, b, chi2, the unit standard errors of a and b and the number of local minima)."]
    for name, model, weighting, xs, ys, sigmas in data_sets():
        out.append("set %s %s %s" % (name, model, weighting))
        out += ["point %s %s%s" % (x, y, " " + s if s else "") for x, y, s in zip(xs, ys, sigmas)]
        read_y = [as_read(y) for y in ys]
        read_s = [as_read(s) if s else None for s in sigmas]
        out += answer(model, [as_read(x) for x in xs], read_y, weights_of(weighting, read_y, read_s))
        out.append("end")
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "nls_weighted_reference.txt")
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
