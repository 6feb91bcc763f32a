#include "fit/lagrange.h"

namespace quilvex {

namespace {

Real LagrangeSum(int lo, int hi, const RealArray& x, const RealArray& y, Real t)
{
    Real sum = 0;
    for (int i = lo; i <= hi; ++i) {
        Real L = 1;
        for (int j = lo; j <= hi; ++j) {
            if (j == i)
                continue;
            L = ((t - x[j]) / (x[i] - x[j])) * L;
            CheckFpu();
        }
        sum = sum + L * y[i];
        CheckFpu();
    }
    return sum;
}

int ClampedOrder(int order, int n)
{
    if (order < 2)
        order = 2;
    if (n - 1 < order)
        order = n - 1;
    return order;
}

// The right end k of the interval (x[k-1], x[k]] that holds t; n + 1 beyond the last point.
int IntervalEnd(int n, const RealArray& x, Real t)
{
    for (int k = 2; k <= n; ++k)
        if (x[k] >= t)
            return k;
    return n + 1;
}

}  // namespace

Real EvalLagrange(int n, const RealArray& x, const RealArray& y, Real t) { return LagrangeSum(1, n, x, y, t); }

Real lagrange_ord(int order, int n, const RealArray& x, const RealArray& y, Real t, MessageText& messages)
{
    if (t < x[1])
        messages.Append(" * Can't calculate lagrange_ord before first point!");
    if (t > x[n])
        messages.Append(" * Can't calculate lagrange_ord after last point!");
    order = ClampedOrder(order, n);
    int lo = IntervalEnd(n, x, t) - (order + 1) / 2;
    int hi = lo + order;
    while (lo < 1) {
        ++lo;
        ++hi;
    }
    while (hi > n) {
        --lo;
        --hi;
    }
    return LagrangeSum(lo, hi, x, y, t);
}

}  // namespace quilvex
