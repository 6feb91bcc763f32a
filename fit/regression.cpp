#include "fit/regression.h"

#include <vector>

#include "fit/fastpath.h"
#include "fit/fastsolve.h"
#include "fit/solver.h"

namespace quilvex {

namespace {

// x^p for p >= 1 by p - 1 multiplications.
Real RepeatedPower(Real x, int p)
{
    Real t = x;
    for (int k = 2; k <= p; ++k)
        t = t * x;
    return t;
}

// SumXPower(n, p) for p = 0..highest and SumXPowerY(n, p) for p = 0..lowest.
// A sum depends only on its exponent, and x[i]^p is the same product chain
// (t := x[i], t := t * x[i], ...) whichever sum uses it, so one pass over the
// exponents, carrying each point's chain on by one factor, forms every sum
// with the bits of the literal form.
struct PowerSums {
    std::vector<Real> ofX, ofXY;
};

PowerSums FormPowerSums(int n, int highest, int lowest, const RealArray& x, const RealArray& y)
{
    PowerSums sums{std::vector<Real>(static_cast<std::size_t>(highest) + 1),
                   std::vector<Real>(static_cast<std::size_t>(lowest) + 1)};
    const Real* xs = x.data();
    const Real* ys = y.data();
    std::vector<Real> chain(xs, xs + (n > 0 ? n : 0));
    sums.ofX[0] = n;
    Real sumY = 0;
    for (int i = 0; i < n; ++i)
        sumY = sumY + ys[i];
    sums.ofXY[0] = sumY;
    for (int p = 1; p <= highest; ++p) {
        Real sum = 0, sumXY = 0;
        for (int i = 0; i < n; ++i) {
            if (p > 1)
                chain[static_cast<std::size_t>(i)] = chain[static_cast<std::size_t>(i)] * xs[i];
            const Real t = chain[static_cast<std::size_t>(i)];
            sum = sum + t;
            if (p <= lowest)
                sumXY = sumXY + t * ys[i];
        }
        sums.ofX[static_cast<std::size_t>(p)] = sum;
        if (p <= lowest)
            sums.ofXY[static_cast<std::size_t>(p)] = sumXY;
    }
    return sums;
}

// An order beyond the matrix ends the literal form with a range error once it
// has formed the sums up to the element that does not fit: x^301 in the first
// row when m + 1 > 301, else the last row's x^599 and then the 301st row.
[[noreturn]] void FailBeyondTheMatrix(int n, int m, const RealArray& x, const RealArray& y)
{
    FormPowerSums(n, m + 1 > MatrixColumns ? MatrixColumns : 2 * MatrixRows - 1, 0, x, y);
    CheckFpu();
    throw QuilvexError(kRangeCheckText);
}

// The sums of a table that holds an infinity or a NaN, where the kind of the
// first fault depends on where it comes: SumXPower(n, p) (or, with y,
// SumXPowerY) for p = 0..highest, each point's chain carried from exponent to
// exponent and the flags tested after each sum. The literal form meets the
// first fault in the sum of the lowest exponent that raises one (every lower
// one comes before it in its order), so that sum is formed again literally,
// which ends with that fault.
std::vector<Real> PowerSumsInTurn(int n, int highest, const RealArray& x, const RealArray* y)
{
    std::vector<Real> sums(static_cast<std::size_t>(highest) + 1);
    const Real* xs = x.data();
    std::vector<Real> chain(xs, xs + n);
    for (int p = 0; p <= highest; ++p) {
        Real sum = 0;
        if (y == nullptr && p == 0)
            sum = n;
        for (int i = 0; i < n && (y != nullptr || p > 0); ++i) {
            Real& t = chain[static_cast<std::size_t>(i)];
            if (p > 1)
                t = t * xs[i];
            if (y == nullptr)
                sum = sum + t;
            else
                sum = sum + (p == 0 ? y->data()[i] : t * y->data()[i]);
        }
        if (FaultFlagged()) {
            ClearFpu();
            sum = y == nullptr ? SumXPower(n, p, x) : SumXPowerY(n, p, x, *y);
        }
        sums[static_cast<std::size_t>(p)] = sum;
    }
    return sums;
}

// The literal solver, which checks after every operation, on the sums formed
// in turn: no power formed more than once.
void FitRegressionNonFinite(int n, int m, const RealArray& x, const RealArray& y, RealArray& coef,
                            MessageText& messages)
{
    const std::vector<Real> ofX = PowerSumsInTurn(n, 2 * m, x, nullptr);
    const std::vector<Real> ofXY = PowerSumsInTurn(n, m, x, &y);
    const auto A = NewAugmentedMatrix();
    for (int r = 1; r <= m + 1; ++r) {
        for (int j = 1; j <= m + 1; ++j)
            (*A)[r][j] = ofX[static_cast<std::size_t>(r + j - 2)];
        (*A)[r][m + 2] = ofXY[static_cast<std::size_t>(r - 1)];
    }
    SolveLinearSystem(m + 1, *A, messages);
    for (int r = 1; r <= m + 1; ++r)
        coef[r] = (*A)[r][m + 2];
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
    if (m < 0)
        return;  // no equations: nothing is formed or stored
    const bool finite = AllFinite(n, x) && AllFinite(n, y);
    if (n > MaxPoints || FaultFlagged() || (!finite && m + 1 > MatrixRows)) {
        literal::FitRegression(n, m, x, y, coef, messages);
        return;
    }
    if (!finite) {
        FitRegressionNonFinite(n, m, x, y, coef, messages);
        return;
    }
    if (m + 1 > MatrixRows)
        FailBeyondTheMatrix(n, m, x, y);

    const PowerSums sums = FormPowerSums(n, 2 * m, m, x, y);
    CheckFpu();
    const int N = m + 1;
    const std::size_t width = static_cast<std::size_t>(N) + 1;
    std::vector<Real> A(static_cast<std::size_t>(N) * width);
    for (int r = 0; r < N; ++r) {
        Real* row = A.data() + static_cast<std::size_t>(r) * width;
        for (int j = 0; j < N; ++j)
            row[j] = sums.ofX[static_cast<std::size_t>(r + j)];
        row[N] = sums.ofXY[static_cast<std::size_t>(r)];
    }
    SolveDense(N, A, messages);
    for (int r = 0; r < N; ++r)
        coef[r + 1] = A[static_cast<std::size_t>(r) * width + static_cast<std::size_t>(N)];
}

// The power is carried from term to term: x^(k-1) by the same chain of
// multiplications the literal form repeats for every term.
Real EvalRegression(int m, const RealArray& coef, Real x)
{
    Real result = coef[1];
    Real power = x;
    for (int k = 2; k <= m + 1; ++k) {
        if (k > 2)
            power = power * x;
        result = result + coef[k] * power;
        CheckFpu();
    }
    return result;
}

namespace literal {

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

}  // namespace literal

}  // namespace quilvex
