#include "fit/lagrange.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

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

// Counted from 0 here: point i is xs[i], and d[j] = t - xs[j]. The basis
// product of point i takes its factors (d[j] / (xs[i] - xs[j])) in ascending
// j, skipping j = i, exactly as the literal form does.
Real BasisProduct(int lo, int hi, int i, const Real* xs, const Real* d)
{
    Real L = 1;
    const Real xi = xs[i];
    for (int j = lo; j < i; ++j)
        L = (d[j] / (xi - xs[j])) * L;
    for (int j = i + 1; j <= hi; ++j)
        L = (d[j] / (xi - xs[j])) * L;
    return L;
}

// Points i and i + 1 formed side by side, each product on its own: two
// independent chains keep the divider busy while neither leaves a register.
void BasisProductPair(int lo, int hi, int i, const Real* xs, const Real* d, Real& L0, Real& L1)
{
    L0 = 1;
    L1 = 1;
    const Real x0 = xs[i], x1 = xs[i + 1];
    for (int j = lo; j < i; ++j) {
        const Real dj = d[j], xj = xs[j];
        L0 = (dj / (x0 - xj)) * L0;
        L1 = (dj / (x1 - xj)) * L1;
    }
    L1 = (d[i] / (x1 - xs[i])) * L1;
    L0 = (d[i + 1] / (x0 - xs[i + 1])) * L0;
    for (int j = i + 2; j <= hi; ++j) {
        const Real dj = d[j], xj = xs[j];
        L0 = (dj / (x0 - xj)) * L0;
        L1 = (dj / (x1 - xj)) * L1;
    }
}

// No basis product can overflow when every factor is at most span / gap:
// products of up to 299 factors stay well below 2^16383.
bool ProductsStayFinite(int lo, int hi, const RealArray& x)
{
    if (hi == lo)
        return true;
    Real gap = x[lo + 1] - x[lo];
    for (int k = lo + 1; k < hi; ++k)
        gap = std::min(gap, x[k + 1] - x[k]);
    const Real span = x[hi] - x[lo];
    if (FaultFlagged()) {
        ClearFpu();
        return false;
    }
    return (std::log2(span) - std::log2(gap)) * (hi - lo) < 16000;
}

// At a point i of a strictly ascending window the sum needs no product: every
// other point's takes the factor (t - x[i]) / (x[p] - x[i]) = 0 and keeps a
// zero, point i's own factors are each a / a = 1. So the literal sum is y[i]
// (+0 for a zero y[i]) whenever no product overflows before its zero and no y
// turns a zero product into an invalid operation.
std::optional<Real> SumAtAPoint(int lo, int hi, const RealArray& x, const RealArray& y, Real t)
{
    int at = 0;
    for (int k = lo; k <= hi; ++k) {
        if (!std::isfinite(x[k]) || !std::isfinite(y[k]) || (k > lo && !(x[k - 1] < x[k])))
            return std::nullopt;
        if (x[k] == t)
            at = k;
    }
    if (at == 0 || !ProductsStayFinite(lo, hi, x))
        return std::nullopt;
    return y[at] == 0 ? Real{0} : y[at];
}

// t - x[j] is the same for every i: formed once per point. With no check
// inside, a fault shows only in the flags at the end; the literal form then
// runs again to end with the fault it meets first.
Real LagrangeSum(int lo, int hi, const RealArray& x, const RealArray& y, Real t)
{
    if (lo < 1 || hi > MaxPoints || FaultFlagged())
        return LagrangeSumLiteral(lo, hi, x, y, t);
    const Real* xs = x.data();
    const Real* ys = y.data();
    const int first = lo - 1, last = hi - 1;
    // A curve's samples seldom fall on a point: a plain search for t comes
    // before the checks of SumAtAPoint, which find no point where it finds none.
    if (std::find(xs + first, xs + last + 1, t) != xs + last + 1)
        if (const std::optional<Real> sum = SumAtAPoint(lo, hi, x, y, t))
            return *sum;
    std::array<Real, MaxPoints> d;
    for (int j = first; j <= last; ++j)
        d[static_cast<std::size_t>(j)] = t - xs[j];
    Real sum = 0;
    int i = first;
    for (; i + 1 <= last; i += 2) {
        Real L0, L1;
        BasisProductPair(first, last, i, xs, d.data(), L0, L1);
        sum = sum + L0 * ys[i];
        sum = sum + L1 * ys[i + 1];
    }
    if (i == last)
        sum = sum + BasisProduct(first, last, i, xs, d.data()) * ys[i];
    if (FaultFlagged()) {
        ClearFpu();
        return LagrangeSumLiteral(lo, hi, x, y, t);
    }
    return sum;
}

// Basis products of points i and i + 1 carried on over the factors from..last
// (counted from 0), each skipping its own point. The products are held in
// locals, which nothing else can alias, so that they stay in registers.
void ContinuePair(int from, int last, int i, const Real* xs, const Real* d, Real& L0, Real& L1)
{
    Real l0 = L0, l1 = L1;
    const Real x0 = xs[i], x1 = xs[i + 1];
    auto both = [&](int first, int end) {
        for (int j = first; j <= end; ++j) {
            const Real dj = d[j], xj = xs[j];
            l0 = (dj / (x0 - xj)) * l0;
            l1 = (dj / (x1 - xj)) * l1;
        }
    };
    both(from, std::min(last, i - 1));
    if (from <= i && i <= last)
        l1 = (d[i] / (x1 - xs[i])) * l1;
    if (from <= i + 1 && i + 1 <= last)
        l0 = (d[i + 1] / (x0 - xs[i + 1])) * l0;
    both(std::max(from, i + 2), last);
    L0 = l0;
    L1 = l1;
}

void ContinueOne(int from, int last, int i, const Real* xs, const Real* d, Real& L)
{
    Real l = L;
    const Real xi = xs[i];
    for (int j = from; j <= last; ++j)
        if (j != i)
            l = (d[j] / (xi - xs[j])) * l;
    L = l;
}

// The all-points sum with the basis products of every point but q formed from
// the factor q on; start(i) gives the product of point i's factors before q
// (1 when it forms them itself, as for point q), and kept(i, L) is told it.
// The whole products go to after[i] unless it is null.
template <typename Start, typename Kept>
Real LagrangeSumAround(int n, const RealArray& x, const RealArray& y, Real t, int q, Start start, Kept kept,
                       Real* after)
{
    const Real* xs = x.data();
    const Real* ys = y.data();
    const int last = n - 1;
    std::array<Real, MaxPoints> d;
    for (int j = 0; j <= last; ++j)
        d[static_cast<std::size_t>(j)] = t - xs[j];
    Real sum = 0;
    int i = 0;
    for (; i + 1 <= last; i += 2) {
        Real L0 = 1, L1 = 1;
        if (i == q || i + 1 == q || !start(i, L0, L1)) {
            ContinuePair(0, q - 1, i, xs, d.data(), L0, L1);
            kept(i, L0);
            kept(i + 1, L1);
        }
        ContinuePair(q, last, i, xs, d.data(), L0, L1);
        if (after != nullptr) {
            after[i] = L0;
            after[i + 1] = L1;
        }
        sum = sum + L0 * ys[i];
        sum = sum + L1 * ys[i + 1];
    }
    if (i == last) {
        Real L = 1;
        ContinueOne(0, q - 1, i, xs, d.data(), L);
        kept(i, L);
        ContinueOne(q, last, i, xs, d.data(), L);
        if (after != nullptr)
            after[i] = L;
        sum = sum + L * ys[i];
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

// The messages of t outside the data, then the window of order + 1 points.
struct Window {
    int lo, hi;
};

Window OrderWindow(int order, int n, const RealArray& x, Real t, MessageText& messages)
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
    return {lo, hi};
}

}  // namespace

Real EvalLagrange(int n, const RealArray& x, const RealArray& y, Real t) { return LagrangeSum(1, n, x, y, t); }

Real lagrange_ord(int order, int n, const RealArray& x, const RealArray& y, Real t, MessageText& messages)
{
    const Window w = OrderWindow(order, n, x, t, messages);
    return LagrangeSum(w.lo, w.hi, x, y, t);
}

namespace {

// The sum as formed, unless a fault is flagged: then the literal form meets it.
Real UnlessFaulted(Real sum, int n, const RealArray& x, const RealArray& y, Real t, bool& usable)
{
    usable = !FaultFlagged();
    if (usable)
        return sum;
    ClearFpu();
    return LagrangeSumLiteral(1, n, x, y, t);
}

bool Keepable(int n, int p) { return 1 <= n && n <= MaxPoints && 1 <= p && p <= n && !FaultFlagged(); }

}  // namespace

Real EvalLagrangeKeeping(int n, const RealArray& x, const RealArray& y, Real t, int p, KeptBasis kept, bool& usable)
{
    usable = false;
    if (!Keepable(n, p))
        return EvalLagrange(n, x, y, t);
    const Real sum = LagrangeSumAround(
        n, x, y, t, p - 1, [](int, Real&, Real&) { return false; }, [&](int i, Real L) { kept.before[i] = L; },
        kept.after);
    return UnlessFaulted(sum, n, x, y, t, usable);
}

Real EvalLagrangeFrom(int n, const RealArray& x, const RealArray& y, Real t, int p, KeptBasis kept, bool& usable)
{
    usable = false;
    if (!Keepable(n, p))
        return EvalLagrange(n, x, y, t);
    const Real sum = LagrangeSumAround(
        n, x, y, t, p - 1,
        [&](int i, Real& L0, Real& L1) {
            L0 = kept.before[i];
            L1 = kept.before[i + 1];
            return true;
        },
        [](int, Real) {}, kept.after);
    return UnlessFaulted(sum, n, x, y, t, usable);
}

Real EvalLagrangeOfProducts(int n, const RealArray& x, const RealArray& y, Real t, const Real* after)
{
    if (!Keepable(n, 1))
        return EvalLagrange(n, x, y, t);
    const Real* ys = y.data();
    Real sum = 0;
    for (int i = 0; i < n; ++i)
        sum = sum + after[i] * ys[i];
    bool usable;
    return UnlessFaulted(sum, n, x, y, t, usable);
}

namespace literal {

Real EvalLagrange(int n, const RealArray& x, const RealArray& y, Real t) { return LagrangeSumLiteral(1, n, x, y, t); }

Real lagrange_ord(int order, int n, const RealArray& x, const RealArray& y, Real t, MessageText& messages)
{
    const Window w = OrderWindow(order, n, x, t, messages);
    return LagrangeSumLiteral(w.lo, w.hi, x, y, t);
}

}  // namespace literal

}  // namespace quilvex
