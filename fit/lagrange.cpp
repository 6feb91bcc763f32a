#include "fit/lagrange.h"

#include <array>

#include "fit/fastpath.h"

namespace quilvex {

namespace {

// The sum as written, with a check after every step: the first fault ends it.
Real LagrangeSumLiteral(int lo, int hi, const RealArray& x, const RealArray& y, Real t)
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

constexpr int kChains = 4;

// The basis products of points first..first+count-1 (count <= kChains) over
// the window lo..hi, side by side: each product still takes its factors
// ((t - x[j]) / (x[i] - x[j])) in ascending j, skipping its own point.
void BasisProducts(int lo, int hi, int first, int count, const Real* xs, const Real* differences,
                   std::array<Real, kChains>& L)
{
    L.fill(1);
    for (int j = lo; j <= hi; ++j) {
        const Real xj = xs[j];
        const Real dj = differences[j];
        for (int c = 0; c < count; ++c)
            if (first + c != j)
                L[static_cast<std::size_t>(c)] = (dj / (xs[first + c] - xj)) * L[static_cast<std::size_t>(c)];
    }
}

// t - x[j] is the same for every i: formed once per point. With no check
// inside, a fault shows only in the flags at the end; the literal form then
// runs again to end with the fault it meets first.
Real LagrangeSum(int lo, int hi, const RealArray& x, const RealArray& y, Real t)
{
    if (lo < 1 || hi > MaxPoints || FaultFlagged())
        return LagrangeSumLiteral(lo, hi, x, y, t);
    // Counted from 0 below: point i is xs[i - 1].
    const Real* xs = x.data();
    const Real* ys = y.data();
    std::array<Real, MaxPoints> differences;
    for (int j = lo - 1; j < hi; ++j)
        differences[static_cast<std::size_t>(j)] = t - xs[j];
    Real sum = 0;
    std::array<Real, kChains> L;
    for (int first = lo - 1; first < hi; first += kChains) {
        const int count = hi - first < kChains ? hi - first : kChains;
        BasisProducts(lo - 1, hi - 1, first, count, xs, differences.data(), L);
        for (int c = 0; c < count; ++c)
            sum = sum + L[static_cast<std::size_t>(c)] * ys[first + c];
    }
    if (FaultFlagged()) {
        ClearFpu();
        return LagrangeSumLiteral(lo, hi, x, y, t);
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
