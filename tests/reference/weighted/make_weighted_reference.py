#!/usr/bin/env python3
"""Reference answers for the weighted fits of the linear models.

Writes weighted_reference.txt beside this script: every data set (x, y and
sigma as the decimal texts a data file would hold), the weighting and the
answer at 50 significant digits, computed with mpmath. tests/core/
test_weighted.cpp reads that file; it never runs this script.

Each text is first rounded to the 64-bit mantissa of the program's numbers, as
reading it does. The weights are w = 1/sigma^2, 1/y or 1/y^2. The regression
and the logarithmic fit are fitted in y; the exponential and power fits in
ln y with weights w y^2 (the sigma of ln y is sigma/|y|). The weighted normal
equations (X^T W X) c = X^T W t are solved at 50 digits, so
    chi2         sum w (t - X c)^2
    se_absolute  sqrt(diag((X^T W X)^-1))
    se           sqrt(chi2 / (n - p)) se_absolute
    p_value      Q(chi2; n - p), the upper regularised incomplete gamma function
    aicc         sigma: chi2 + 2p + 2p(p+1)/(n-p-1)
                 y, y2: n ln(chi2/n) - sum ln w + 2p + 2p(p+1)/(n-p-1)
    r2           1 - chi2 / sum w (t - t_w)^2, t_w the weighted mean of t
For the fits of ln y the first coefficient is a = e^(ln a), its errors a times
those of ln a.
"""
import os
import mpmath as mp
from mpmath import mpf

mp.mp.dps = 50


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


def text(value, digits=12):
    return mp.nstr(value, digits, min_fixed=-4, max_fixed=19, strip_zeros=True)


def data_sets():
    sets = []

    def add(name, model, order, weighting, xs, truth, sigmas, seed):
        ys = [truth(mpf(x)) + s * 2 * e for x, s, e in zip(xs, sigmas, noise(len(xs), seed))]
        sets.append((name, model, order, weighting, [text(mpf(x), 19) for x in xs], [text(y) for y in ys],
                     [text(mpf(s), 6) for s in sigmas]))

    xs = list(range(1, 11))
    sig = [mpf("0.1") * (1 + (i % 3)) for i in range(10)]
    add("line_sigma", "regression", 1, "sigma", xs, lambda x: 2 + mpf("0.5") * x, sig, 11)
    add("quadratic_sigma", "regression", 2, "sigma", xs, lambda x: 1 - x + mpf("0.3") * x * x, sig, 12)
    xs3 = [mpf(k) / 2 for k in range(-6, 9)]
    sig3 = [mpf("0.05") + mpf("0.02") * abs(x) for x in xs3]
    add("cubic_sigma", "regression", 3, "sigma", xs3, lambda x: 3 + x - 2 * x ** 2 + mpf("0.25") * x ** 3, sig3, 13)
    counts = [mp.sqrt(5 + 3 * x) for x in xs]
    add("line_counts_y", "regression", 1, "y", xs, lambda x: 5 + 3 * x, counts, 14)
    add("quadratic_relative_y2", "regression", 2, "y2", xs,
        lambda x: 10 + 2 * x + x * x, [mpf("0.02") * (10 + 2 * x + x * x) for x in xs], 15)
    xe = list(range(0, 12))
    expo = lambda x: 4 * mp.exp(mpf("0.3") * x)
    add("exponential_sigma", "exponential", 1, "sigma", xe, expo, [mpf("0.05") * expo(x) + mpf("0.1") for x in xe], 16)
    add("exponential_counts_y", "exponential", 1, "y", xe, expo, [mp.sqrt(expo(x)) / 4 for x in xe], 17)
    add("exponential_relative_y2", "exponential", 1, "y2", xe, expo, [mpf("0.03") * expo(x) for x in xe], 18)
    xp = [mpf(k) / 2 for k in range(1, 15)]
    power = lambda x: mpf("2.5") * x ** mpf("1.7")
    add("power_sigma", "power", 1, "sigma", xp, power, [mpf("0.04") * power(x) + mpf("0.05") for x in xp], 19)
    add("power_counts_y", "power", 1, "y", xp, power, [mp.sqrt(power(x)) / 5 for x in xp], 20)
    add("power_relative_y2", "power", 1, "y2", xp, power, [mpf("0.02") * power(x) for x in xp], 21)
    logarithmic = lambda x: 1 + 2 * mp.log(x)
    add("logarithmic_sigma", "logarithmic", 1, "sigma", xp, logarithmic,
        [mpf("0.05") + mpf("0.01") * x for x in xp], 22)
    add("logarithmic_counts_y", "logarithmic", 1, "y", xp, lambda x: 5 + 2 * mp.log(x),
        [mp.sqrt(5 + 2 * mp.log(x)) / 5 for x in xp], 23)
    return sets


def weights(weighting, ys, sigmas):
    if weighting == "sigma":
        return [1 / (s * s) for s in sigmas]
    if weighting == "y":
        return [1 / y for y in ys]
    return [1 / (y * y) for y in ys]


def answer(model, order, weighting, xs, ys, sigmas):
    w = weights(weighting, ys, sigmas)
    in_ln_y = model in ("exponential", "power")
    u = [mp.log(x) if model in ("power", "logarithmic") else x for x in xs]
    t = [mp.log(y) if in_ln_y else y for y in ys]
    wf = [wi * y * y if in_ln_y else wi for wi, y in zip(w, ys)]
    n, p = len(xs), order + 1
    X = mp.matrix([[ui ** j for j in range(p)] for ui in u])
    W = mp.diag(wf)
    A = X.T * W * X
    cov = A ** -1
    c = cov * (X.T * W * mp.matrix(t))
    residual = [t[i] - sum(X[i, j] * c[j] for j in range(p)) for i in range(n)]
    chi2 = sum(wf[i] * residual[i] ** 2 for i in range(n))
    dof = n - p
    se_abs = [mp.sqrt(cov[j, j]) for j in range(p)]
    se = [mp.sqrt(chi2 / dof) * s for s in se_abs]
    coef = [c[j] for j in range(p)]
    if in_ln_y:
        coef[0] = mp.exp(c[0])
        se[0] *= coef[0]
        se_abs[0] *= coef[0]
    penalty = 2 * p + mpf(2 * p * (p + 1)) / (n - p - 1)
    aicc = chi2 + penalty if weighting == "sigma" else n * mp.log(chi2 / n) - sum(mp.log(v) for v in wf) + penalty
    mean = sum(v * ti for v, ti in zip(wf, t)) / sum(wf)
    r2 = 1 - chi2 / sum(v * (ti - mean) ** 2 for v, ti in zip(wf, t))
    pvalue = mp.gammainc(mpf(dof) / 2, chi2 / 2, mp.inf, regularized=True)
    return coef, se, se_abs, chi2, pvalue, aicc, r2


def main():
    out = ["# Written by make_weighted_reference.py: weighted fits of the linear models and",
           "# their answers at 50 digits (per coefficient its value, se and se_absolute;",
           "# chi2, p_value, aicc and the weighted r2)."]
    for name, model, order, weighting, xt, yt, st in data_sets():
        xs, ys, sigmas = [as_read(v) for v in xt], [as_read(v) for v in yt], [as_read(v) for v in st]
        coef, se, se_abs, chi2, pvalue, aicc, r2 = answer(model, order, weighting, xs, ys, sigmas)
        out.append(f"set {name} {model} {order} {weighting}")
        out += [f"point {x} {y} {s}" for x, y, s in zip(xt, yt, st)]
        for j in range(order + 1):
            out.append(f"coef {mp.nstr(coef[j], 30)} {mp.nstr(se[j], 30)} {mp.nstr(se_abs[j], 30)}")
        for key, value in (("chi2", chi2), ("p_value", pvalue), ("aicc", aicc), ("r2", r2)):
            out.append(f"{key} {mp.nstr(value, 30)}")
        out.append("end")
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "weighted_reference.txt")
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
