#!/usr/bin/env python3
"""Reference answers for the constrained fits, at 50 significant digits.

Writes constrained_reference.txt beside this script; tests/core/test_constrained.cpp
reads it and never runs this script. Every text (points, held values, the
point a curve passes through) is first rounded to the 64-bit mantissa of the
program's numbers, as reading it does.

The polynomial: held terms are taken from y, a point (x0, y0) is substituted
as a0 = y0 - sum a_j x0^j, and the free coefficients solve the normal
equations at 50 digits; se_j = s sqrt(diag (X^T X)^-1), s^2 = SSR / (n - p),
p the free coefficients. R^2 is uncentred (1 - SSR / sum y^2) where a0 = 0.
The exponential and power fits: with b held a = sum y g / sum g^2; with a held
b is the root of dSSR/db nearest the lowest point of a fine scan;
se = s / sqrt(sum J^2), J the derivative of the model in the free parameter.

A set with a weighting (sigma: w = 1/sigma^2, y: 1/y, y2: 1/y^2) minimises
chi2 = sum w r^2 instead: X^T W X, a = sum w y g / sum w g^2, the scan and
the root on chi2(b); s^2 = chi2 / (n - p), se_absolute the unscaled error
(sigma only), R^2 = 1 - chi2 / sum w (y - mean_w y)^2, or 1 - chi2 / sum w y^2
where a0 = 0. SSR stays the plain sum of squared residuals in y.
"""
import os
import mpmath as mp
from mpmath import mpf

mp.mp.dps = 50


def as_read(text):
    with mp.workprec(64):
        return +mpf(text)


def noise(count, seed):
    values, state = [], seed
    for _ in range(count):
        state = (state * 6364136223846793005 + 1442695040888963407) % 2**64
        values.append(mpf(state >> 11) / 2**53 - mpf("0.5"))
    return values


def text(value, digits=12):
    return mp.nstr(value, digits, min_fixed=-4, max_fixed=19, strip_zeros=True)


def polynomial(xs, ys, order, held, point, ws):
    coef = {j: v for j, v in held.items()}
    free = [j for j in range(order + 1) if j not in coef and not (point is not None and j == 0)]
    def held_value(x):
        return sum((v * x ** j for j, v in coef.items()), mpf(0))
    shift = (point[1] - held_value(point[0])) if point is not None else 0
    rows = [[x ** j - (point[0] ** j if point is not None else 0) for j in free] for x in xs]
    target = [y - held_value(x) - shift for x, y in zip(xs, ys)]
    X, t = mp.matrix(rows), mp.matrix(target)
    W = mp.diag(ws)
    gram = X.T * W * X
    sol = mp.lu_solve(gram, X.T * W * t)
    result = dict(coef)
    for k, j in enumerate(free):
        result[j] = sol[k]
    if point is not None:
        result[0] = point[1] - sum((result.get(j, 0) * point[0] ** j for j in range(1, order + 1)), mpf(0))
    residuals = [y - sum((result[j] * x ** j for j in range(order + 1)), mpf(0)) for x, y in zip(xs, ys)]
    ssr = sum(r * r for r in residuals)
    chi2 = sum(w * r * r for w, r in zip(ws, residuals))
    n, p = len(xs), len(free)
    s = mp.sqrt(chi2 / (n - p))
    inv = gram ** -1
    unit = {j: mp.sqrt(inv[k, k]) for k, j in enumerate(free)}
    uncentred = point is not None and point[0] == 0 and point[1] == 0 or coef.get(0) == 0
    return ([("a%d" % j, result[j]) for j in range(order + 1)], {j: s * u for j, u in unit.items()}, unit, ssr,
            chi2, r_squared(ys, ws, chi2, uncentred))


def r_squared(ys, ws, chi2, uncentred):
    if uncentred:
        return 1 - chi2 / sum(w * y * y for w, y in zip(ws, ys))
    mean = sum(w * y for w, y in zip(ws, ys)) / sum(ws)
    return 1 - chi2 / sum(w * (y - mean) ** 2 for w, y in zip(ws, ys))


def held_model(model, xs, ys, held_name, held_value, ws):
    us = [x if model == "exponential" else mp.log(x) for x in xs]
    def best_a(b):
        g = [mp.exp(b * u) for u in us]
        return sum(w * y * gi for w, y, gi in zip(ws, ys, g)) / sum(w * gi * gi for w, gi in zip(ws, g))
    def ssr(a, b, ws=ws):
        return sum(w * (y - a * mp.exp(b * u)) ** 2 for w, y, u in zip(ws, ys, us))
    if held_name == "b":
        b = held_value
        a = best_a(b)
        jac = [mp.exp(b * u) for u in us]
    else:
        a = held_value
        limit = 60 / max(abs(u) for u in us)
        grid = [limit * k / 400 for k in range(-400, 401)]
        start = min(grid, key=lambda b: ssr(a, b))
        b = mp.findroot(lambda b: mp.diff(lambda c: ssr(a, c), b), start)
        jac = [a * u * mp.exp(b * u) for u in us]
    chi2 = ssr(a, b)
    s = mp.sqrt(chi2 / (len(xs) - 1))
    unit = 1 / mp.sqrt(sum(w * j * j for w, j in zip(ws, jac)))
    free = "a" if held_name == "b" else "b"
    return ([("a", a), ("b", b)], {free: s * unit}, {free: unit}, ssr(a, b, [1] * len(xs)), chi2,
            r_squared(ys, ws, chi2, False))


def data_sets():
    sets = []
    xs = [mpf(k) / 2 for k in range(1, 11)]
    sets.append(("ohm_through_origin", "regression 1", ["a0=0"], xs,
                 [mpf("2.5") * x + e / 5 for x, e in zip(xs, noise(10, 3))]))
    xs = list(range(0, 9))
    sets.append(("line_through_point", "regression 1", ["through 2 5"], xs,
                 [3 + mpf("1.25") * x + e for x, e in zip(xs, noise(9, 4))]))
    xs = [mpf(k) / 4 - 1 for k in range(0, 13)]
    sets.append(("cubic_two_held", "regression 3", ["a0=1", "a2=0.5"], xs,
                 [1 - 2 * x + x * x / 2 + mpf("0.75") * x ** 3 + e / 20 for x, e in zip(xs, noise(13, 5))]))
    xs = list(range(1, 12))
    sets.append(("quadratic_through_origin", "regression 2", ["a0=0"], xs,
                 [mpf("0.3") * x * x + 2 * x + e for x, e in zip(xs, noise(11, 6))]))
    xs = [mpf(k) / 3 - 2 for k in range(0, 16)]
    sets.append(("quartic_point_and_held", "regression 4", ["through -1 2", "a3=0"], xs,
                 [2 + (x + 1) * (1 - x / 2 + x ** 3 / 10) + e / 10 for x, e in zip(xs, noise(16, 7))]))
    xs = list(range(1, 10))
    sets.append(("exp_b_held", "exponential", ["b=-0.3"], xs,
                 [8 * mp.exp(mpf("-0.3") * x) + e / 10 for x, e in zip(xs, noise(9, 8))]))
    xs = list(range(0, 10))
    sets.append(("exp_a_held", "exponential", ["a=8"], xs,
                 [8 * mp.exp(mpf("-0.35") * x) + e / 10 for x, e in zip(xs, noise(10, 9))]))
    xs = [mpf(k) / 2 for k in range(1, 12)]
    sets.append(("power_a_held", "power", ["a=3"], xs,
                 [3 * x ** mpf("1.5") + e for x, e in zip(xs, noise(11, 10))]))
    sets.append(("power_b_held", "power", ["b=1.5"], xs,
                 [mpf("2.9") * x ** mpf("1.5") + e for x, e in zip(xs, noise(11, 11))]))
    return [entry + ("none", None) for entry in sets] + weighted_sets()


def weighted_sets():
    sets = []
    xs = [mpf(k) / 2 for k in range(0, 13)]
    sigmas = [mpf("0.05") + mpf(k % 4) / 10 for k in range(13)]
    sets.append(("quadratic_point_sigma", "regression 2", ["through 1 3"], xs,
                 [3 + 2 * (x - 1) - (x * x - 1) / 4 + s * e * 2 for x, s, e in zip(xs, sigmas, noise(13, 12))],
                 "sigma", sigmas))
    xs = list(range(1, 11))
    sets.append(("line_origin_y2", "regression 1", ["a0=0"], xs,
                 [mpf("1.7") * x * (1 + e / 20) for x, e in zip(xs, noise(10, 13))], "y2", None))
    xs = list(range(0, 10))
    sets.append(("exp_b_held_y", "exponential", ["b=-0.3"], xs,
                 [40 * mp.exp(mpf("-0.3") * x) + e for x, e in zip(xs, noise(10, 14))], "y", None))
    xs = [mpf(k) / 2 for k in range(1, 12)]
    sigmas = [mpf("0.1") * (1 + k % 3) for k in range(11)]
    sets.append(("power_a_held_sigma", "power", ["a=3"], xs,
                 [3 * x ** mpf("1.5") + s * e * 2 for x, s, e in zip(xs, sigmas, noise(11, 15))], "sigma", sigmas))
    return sets


def weights_of(weighting, ys, sigmas):
    if weighting == "sigma":
        return [1 / (s * s) for s in sigmas]
    if weighting == "y":
        return [1 / y for y in ys]
    if weighting == "y2":
        return [1 / (y * y) for y in ys]
    return [mpf(1)] * len(ys)


def main():
    out = ["# Written by make_constrained_reference.py: constrained fits and their answers at 50 digits",
           "# (every coefficient, the standard errors of the free ones, SSR and R^2; weighted: chi2 too)."]
    for name, model, constraints, xs, ys, weighting, sigmas in data_sets():
        xt = [text(mpf(x), 19) for x in xs]
        yt = [text(y) for y in ys]
        st = [text(s) for s in sigmas] if sigmas else [""] * len(xs)
        xr, yr = [as_read(t) for t in xt], [as_read(t) for t in yt]
        ws = weights_of(weighting, yr, [as_read(t) for t in st] if sigmas else None)
        out.append("set %s %s" % (name, model))
        out += ["constraint " + c for c in constraints]
        if weighting != "none":
            out.append("weights " + weighting)
        out += [("point %s %s %s" % (a, b, c)).rstrip() for a, b, c in zip(xt, yt, st)]
        held, point = {}, None
        for c in constraints:
            if c.startswith("through"):
                _, x0, y0 = c.split()
                point = (as_read(x0), as_read(y0))
            else:
                k, v = c.split("=")
                held[k] = as_read(v)
        if model.startswith("regression"):
            order = int(model.split()[1])
            if held.get("a0") == 0 and len(held) == 1 and point is None:
                point, held = (mpf(0), mpf(0)), {}
            coef, se, unit, ssr, chi2, r2 = polynomial(xr, yr, order, {int(k[1:]): v for k, v in held.items()},
                                                       point, ws)
            se = {"a%d" % j: v for j, v in se.items()}
            unit = {"a%d" % j: v for j, v in unit.items()}
        else:
            (k, v), = held.items()
            coef, se, unit, ssr, chi2, r2 = held_model(model, xr, yr, k, v, ws)
        for cname, value in coef:
            out.append("coef %s %s" % (cname, mp.nstr(value, 30)))
        for cname, value in sorted(se.items()):
            out.append("se %s %s" % (cname, mp.nstr(value, 30)))
        if weighting == "sigma":
            out += ["se_absolute %s %s" % (cname, mp.nstr(value, 30)) for cname, value in sorted(unit.items())]
        out.append("ssr %s" % mp.nstr(ssr, 30))
        if weighting != "none":
            out.append("chi2 %s" % mp.nstr(chi2, 30))
        out.append("r2 %s" % mp.nstr(r2, 30))
        out.append("end")
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "constrained_reference.txt"), "w") as f:
        f.write("\n".join(out) + "\n")


main()
