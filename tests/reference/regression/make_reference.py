#!/usr/bin/env python3
"""Writes reference.txt: the least-squares fits of small data sets at 50 digits.

Every x and y is a binary fraction, so the tables the tests build hold exactly
these numbers, and everything below is computed from them in 60-digit decimal
arithmetic (mpmath), independently of the program: the normal equations solved
at that precision, the standard errors from s^2 (X^T X)^-1, the exponential and
power fits of the linearised models ln y = ln a + b u as the program fits them.

A set is written as
    set NAME
    fit METHOD ORDER          (ORDER 0 where the method has none)
    x ...
    y ...
    coef ...                  (a0..am; for exponential and power a, b)
    se ...                    (or "se -" where not defined: an exact fit or n = p)
    ssr ...                   (of the model fitted: in ln y for exponential and power)
    end
Run: python3 make_reference.py > reference.txt
"""
import mpmath as mp

mp.mp.dps = 60
DIGITS = 50


def frac(v, bits):
    return mp.mpf(round(float(v) * 2**bits)) / 2**bits


def noise(i, bits=4):
    """A fixed small disturbance, a binary fraction."""
    return mp.mpf(((i * 7919) % 17) - 8) / 2**bits


def least_squares(columns, y):
    n, p = len(y), len(columns)
    X = mp.matrix(n, p)
    for i in range(n):
        for j in range(p):
            X[i, j] = columns[j][i]
    G = X.T * X
    Ginv = G ** -1
    coef = Ginv * (X.T * mp.matrix(y))
    r = [y[i] - sum(X[i, j] * coef[j] for j in range(p)) for i in range(n)]
    ssr = mp.fsum(v * v for v in r)
    se = None
    if n > p and ssr > mp.mpf(10) ** -40:
        s2 = ssr / (n - p)
        se = [mp.sqrt(s2 * Ginv[j, j]) for j in range(p)]
    return [coef[j] for j in range(p)], se, ssr


def polynomial(x, y, order):
    return least_squares([[xi**j for xi in x] for j in range(order + 1)], y)


def linearised(x, y, power):
    u = [mp.log(v) if power else v for v in x]
    coef, se, ssr = least_squares([[mp.mpf(1)] * len(x), u], [mp.log(v) for v in y])
    a = mp.exp(coef[0])
    return [a, coef[1]], (None if se is None else [a * se[0], se[1]]), ssr


def logarithmic(x, y):
    return least_squares([[mp.mpf(1)] * len(x), [mp.log(v) for v in x]], y)


def sets():
    r = range
    xs = lambda a, b: [mp.mpf(i) for i in r(a, b)]
    yield "line", "regression", 1, xs(1, 11), [2 * i + 1 + noise(i) for i in r(1, 11)]
    yield "cubic", "regression", 3, xs(1, 13), [5 - 2 * i + i * i / mp.mpf(2) - i**3 / mp.mpf(8) + noise(i)
                                                for i in r(1, 13)]
    yield "parabola30", "regression", 2, [mp.mpf(i) / 4 for i in r(30)], [
        1 + i / mp.mpf(2) - i * i / mp.mpf(32) + noise(i, 5) for i in r(30)]
    yield "near-1000", "regression", 3, xs(1000, 1012), [
        frac(3 + (i - 1005) / 7 - (i - 1005) ** 2 / 50 + (i - 1005) ** 3 / 900, 20) + noise(i, 8)
        for i in r(1000, 1012)]
    tiny = [mp.mpf(i) / 8192 for i in r(1, 13)]
    yield "tiny-x", "regression", 4, tiny, [frac(1 + mp.sin(3 * 1024 * 8192 * t / 40960), 6) for t in tiny]
    yield "tiny-x-smooth", "regression", 4, tiny, [frac(mp.exp(100 * t), 40) for t in tiny]
    # symmetric about x = 3: the cubic coefficient is zero
    yield "symmetric", "regression", 3, xs(1, 6), [mp.mpf(v) for v in (1, 4, 12.375, 16, 25)]
    yield "exact-cubic", "regression", 3, xs(0, 10), [1 + 2 * i - 3 * i * i + mp.mpf(i**3) / 2 for i in r(10)]
    yield "exact-far", "regression", 2, xs(1000, 1010), [(i - 1004) ** 2 + 3 for i in r(1000, 1010)]
    yield "interpolating", "regression", 5, xs(1, 7), [mp.mpf(v) / 4 for v in (3, 9, 4, 11, 6, 2)]
    flat = [mp.mpf(3)] * 8
    for method in ("exponential", "logarithmic", "power"):
        yield "flat-" + method, method, 0, xs(1, 9), flat
    yield "growth", "exponential", 0, xs(1, 9), [frac(2 * mp.exp(0.3 * i) * (1 + noise(i, 6)), 16) for i in r(1, 9)]
    yield "law", "power", 0, xs(1, 9), [frac(1.5 * mp.mpf(i) ** 0.7 * (1 + noise(i, 6)), 16) for i in r(1, 9)]
    yield "logs", "logarithmic", 0, xs(1, 11), [frac(2 + 3 * mp.log(i), 16) + noise(i) for i in r(1, 11)]


def text(v):
    return mp.nstr(v, DIGITS, min_fixed=1, max_fixed=0)


def main():
    for name, method, order, x, y in sets():
        if method == "regression":
            coef, se, ssr = polynomial(x, y, order)
        elif method == "logarithmic":
            coef, se, ssr = logarithmic(x, y)
        else:
            coef, se, ssr = linearised(x, y, method == "power")
        print("set", name)
        print("fit", method, order)
        print("x", *[text(v) for v in x])
        print("y", *[text(mp.mpf(v)) for v in y])
        print("coef", *[text(v) for v in coef])
        print("se", *([text(v) for v in se] if se else ["-"]))
        print("ssr", text(ssr))
        print("end")


if __name__ == "__main__":
    main()
