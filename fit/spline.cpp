#include "fit/spline.h"

#include <cmath>

#include "fit/fastpath.h"
#include "fit/fastsolve.h"
#include "fit/solver.h"

namespace quilvex {

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

// The coefficients of interior row i, each formed and checked as the literal
// form stores it.
struct ContinuityRow {
    Real left, diagonal, rhs;
};

ContinuityRow FormContinuityRow(int i, const RealArray& x, const RealArray& y, MessageText& messages)
{
    ContinuityRow row;
    const Real hR = UsableWidth(x[i + 1] - x[i], messages);
    const Real hL = UsableWidth(x[i] - x[i - 1], messages);
    row.left = hL / hR;
    CheckFpu();
    row.diagonal = (hL / hR + 1) * 2;
    CheckFpu();
    row.rhs = (6 / hR) * ((y[i + 1] - y[i]) / hR - (y[i] - y[i - 1]) / hL);
    CheckFpu();
    return row;
}

}  // namespace

// The same system held by rows of three coefficients, solved without the
// subtractions of zero products that the dense elimination spends most of its
// time on (see fastsolve.h).
void SetUpSpline(int n, const RealArray& x, const RealArray& y, RealArray& d2, MessageText& messages)
{
    if (n < 1 || n > MaxPoints || FaultFlagged() || !AllFinite(n, x) || !AllFinite(n, y)) {
        literal::SetUpSpline(n, x, y, d2, messages);
        return;
    }
    ProfileSystem A(n);
    A.Hold(1, 1, 1);
    A.At(1, 1) = 1;
    A.Hold(n, n, n);
    A.At(n, n) = 1;
    for (int i = 2; i <= n - 1; ++i) {
        const ContinuityRow row = FormContinuityRow(i, x, y, messages);
        A.Hold(i, i - 1, i + 1);
        A.At(i, i - 1) = row.left;
        A.At(i, i) = row.diagonal;
        A.At(i, i + 1) = 1;
        A.At(i, n + 1) = row.rhs;
    }
    A.Solve(messages);
    for (int i = 1; i <= n; ++i)
        d2[i] = A.Solution(i);
}

namespace literal {

void SetUpSpline(int n, const RealArray& x, const RealArray& y, RealArray& d2, MessageText& messages)
{
    const auto A = NewAugmentedMatrix();
    for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n + 1; ++c)
            (*A)[r][c] = 0;
    (*A)[1][1] = 1;
    (*A)[n][n] = 1;
    for (int i = 2; i <= n - 1; ++i) {
        const ContinuityRow row = FormContinuityRow(i, x, y, messages);
        (*A)[i][i - 1] = row.left;
        (*A)[i][i] = row.diagonal;
        (*A)[i][i + 1] = 1;
        (*A)[i][n + 1] = row.rhs;
    }
    SolveLinearSystem(n, *A, messages);
    for (int i = 1; i <= n; ++i)
        d2[i] = (*A)[i][n + 1];
}

}  // namespace literal

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

}  // namespace quilvex
