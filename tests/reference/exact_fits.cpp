// Verbatim copies of fit/solver.cpp, fit/regression.cpp, fit/spline.cpp and
// fit/lagrange.cpp as first written, in their own namespace.
#include "reference/exact_fits.h"

#include <cmath>

namespace quilvex::exact {

// ---- solver

namespace {

constexpr Real kSingularPivot = 1e-20L;

// Divides the pivot row by its pivot. The pivot is tested before every
// division, so a singular pivot is replaced by 1 before the first one.
void NormalizePivotRow(int N, int i, TAugmentedMatrix& A, MessageText& messages)
{
    for (int j = i + 1; j <= N + 1; ++j) {
        if (std::fabs(A[i][i]) < kSingularPivot) {
            messages.Append(" * Can't solve : matrix singular!");
            A[i][i] = 1;
        }
        const Real quotient = A[i][j] / A[i][i];
        CheckFpu();
        A[i][j] = quotient;
    }
    A[i][i] = 1;
}

void EliminateColumn(int N, int i, TAugmentedMatrix& A)
{
    for (int k = 1; k <= N; ++k) {
        if (k == i)
            continue;
        for (int j = i + 1; j <= N + 1; ++j) {
            const Real reduced = A[k][j] - A[k][i] * A[i][j];
            CheckFpu();
            A[k][j] = reduced;
        }
        A[k][i] = 0;
    }
}

}  // namespace

void SolveLinearSystem(int N, TAugmentedMatrix& A, MessageText& messages)
{
    for (int i = 1; i <= N; ++i) {
        NormalizePivotRow(N, i, A, messages);
        EliminateColumn(N, i, A);
    }
}

// ---- regression

namespace {

// x^p for p >= 1 by p - 1 multiplications.
Real RepeatedPower(Real x, int p)
{
    Real t = x;
    for (int k = 2; k <= p; ++k)
        t = t * x;
    return t;
}

}  // namespace

Real SumXPower(int n, int p, const RealArray& x)
{
    if (p == 0)
        return n;
    Real sum = 0;
    for (int i = 1; i <= n; ++i) {
        sum = sum + RepeatedPower(x[i], p);
        CheckFpu();
    }
    return sum;
}

Real SumXPowerY(int n, int p, const RealArray& x, const RealArray& y)
{
    Real sum = 0;
    for (int i = 1; i <= n; ++i) {
        if (p == 0)
            sum = sum + y[i];
        else
            sum = sum + RepeatedPower(x[i], p) * y[i];
        CheckFpu();
    }
    return sum;
}

void FitRegression(int n, int m, const RealArray& x, const RealArray& y, RealArray& coef, MessageText& messages)
{
    const auto A = NewAugmentedMatrix();
    for (int r = 1; r <= m + 1; ++r)
        for (int j = 1; j <= m + 1; ++j)
            (*A)[r][j] = SumXPower(n, r + j - 2, x);
    for (int r = 1; r <= m + 1; ++r)
        (*A)[r][m + 2] = SumXPowerY(n, r - 1, x, y);
    SolveLinearSystem(m + 1, *A, messages);
    for (int r = 1; r <= m + 1; ++r)
        coef[r] = (*A)[r][m + 2];
}

Real EvalRegression(int m, const RealArray& coef, Real x)
{
    Real result = coef[1];
    for (int k = 2; k <= m + 1; ++k) {
        result = result + coef[k] * RepeatedPower(x, k - 1);
        CheckFpu();
    }
    return result;
}

// ---- spline

namespace {

constexpr Real kTinyWidth = 1e-20L;
constexpr Real kOneSixth = 1.0L / 6.0L;
constexpr const char* kImpossibleText = " * Cubic spline impossible!";

// An interval too narrow to divide by is taken as 1 wide.
Real UsableWidth(Real width, MessageText& messages)
{
    if (std::fabs(width) < kTinyWidth) {
        messages.Append(kImpossibleText);
        return 1;
    }
    return width;
}

void SetContinuityRow(int n, int i, const RealArray& x, const RealArray& y, TAugmentedMatrix& A,
                      MessageText& messages)
{
    const Real hR = UsableWidth(x[i + 1] - x[i], messages);
    const Real hL = UsableWidth(x[i] - x[i - 1], messages);
    const Real left = hL / hR;
    CheckFpu();
    A[i][i - 1] = left;
    const Real diagonal = (hL / hR + 1) * 2;
    CheckFpu();
    A[i][i] = diagonal;
    A[i][i + 1] = 1;
    const Real rhs = (6 / hR) * ((y[i + 1] - y[i]) / hR - (y[i] - y[i - 1]) / hL);
    CheckFpu();
    A[i][n + 1] = rhs;
}

}  // namespace

void SetUpSpline(int n, const RealArray& x, const RealArray& y, RealArray& d2, MessageText& messages)
{
    const auto A = NewAugmentedMatrix();
    for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n + 1; ++c)
            (*A)[r][c] = 0;
    (*A)[1][1] = 1;
    (*A)[n][n] = 1;
    for (int i = 2; i <= n - 1; ++i)
        SetContinuityRow(n, i, x, y, *A, messages);
    SolveLinearSystem(n, *A, messages);
    for (int i = 1; i <= n; ++i)
        d2[i] = (*A)[i][n + 1];
}

Real EvalSpline(int n, const RealArray& x, const RealArray& y, const RealArray& d2, Real t, MessageText& messages)
{
    if (t < x[1]) {
        messages.Append(" * Can't calculate spline before first point!");
        t = x[1];
    }
    if (t > x[n]) {
        messages.Append(" * Can't calculate spline after last point!");
        t = x[n];
    }
    int hi = 2;
    while (x[hi] < t)
        ++hi;
    const int lo = hi - 1;

    const Real h = UsableWidth(x[hi] - x[lo], messages);
    const Real a = x[hi] - t;
    const Real b = t - x[lo];
    // Each term is checked as it is formed, so the first fault is the one reported.
    const Real cubicLo = d2[lo] / (6 * h) * ((a * a) * a);
    CheckFpu();
    const Real cubicHi = d2[hi] / (6 * h) * ((b * b) * b);
    CheckFpu();
    const Real linearHi = (y[hi] / h - h * d2[hi] * kOneSixth) * b;
    CheckFpu();
    const Real linearLo = (y[lo] / h - h * d2[lo] * kOneSixth) * a;
    CheckFpu();
    const Real value = cubicLo + cubicHi + linearHi + linearLo;
    CheckFpu();
    return value;
}

// ---- lagrange

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

}  // namespace quilvex::exact
