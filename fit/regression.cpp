#include "fit/regression.h"

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

}  // namespace quilvex
