#include "fit/transformed.h"

#include <cmath>

namespace quilvex {

namespace {

constexpr Real kZeroDeterminant = 1e-20L;

// Adds a term to a sum as a checked store.
void Accumulate(Real& sum, Real term)
{
    const Real total = sum + term;
    CheckFpu();
    sum = total;
}

void AddPointTerms(FitSums& sums, Real x, Real y)
{
    Accumulate(sums.SumX, x);
    Accumulate(sums.SumY, y);
    Accumulate(sums.SumXX, x * x);
    if (x > 0) {
        Accumulate(sums.SumLnX, Ln(x));
        Accumulate(sums.SumLnX2, Ln(x) * Ln(x));
    }
    if (y > 0) {
        Accumulate(sums.SumLnY, Ln(y));
        Accumulate(sums.SumXLnY, x * Ln(y));
    }
    if (x > 0)
        Accumulate(sums.SumYLnX, y * Ln(x));
    if (x > 0 && y > 0)
        Accumulate(sums.SumLnXLnY, Ln(x) * Ln(y));
}

void AppendDomainMessages(QuilvexState& s, Real x, Real y)
{
    if (s.ShowExp && y <= 0)
        s.MessageBuffer.Append(" * y<=0 for exp");
    if (s.ShowLog && x <= 0)
        s.MessageBuffer.Append(" * x<=0 for log");
    if (s.ShowPower && (x <= 0 || y <= 0))
        s.MessageBuffer.Append(" * x<=0 or y<=0 for power");
}

// Stores the determinant; false (after the message and the pair 1, 1) when it
// is too small to divide by.
bool StoreDeterminant(QuilvexState& s, Real det, const char* message, Real& a, Real& b)
{
    CheckFpu();
    s.FitDet = det;
    if (std::fabs(s.FitDet) <= kZeroDeterminant) {
        s.MessageBuffer.Append(message);
        a = 1.0L;
        b = 1.0L;
        return false;
    }
    return true;
}

void Store(Real& target, Real value)
{
    CheckFpu();
    target = value;
}

}  // namespace

void ComputeFitSums(QuilvexState& s)
{
    s.Sums = FitSums{};
    for (int i = 1; i <= s.n; ++i) {
        AddPointTerms(s.Sums, s.x[i], s.y[i]);
        AppendDomainMessages(s, s.x[i], s.y[i]);
    }
}

void SolveExpFit(QuilvexState& s)
{
    const FitSums& S = s.Sums;
    const Real n = s.n;
    if (!StoreDeterminant(s, n * S.SumXX - S.SumX * S.SumX, " * Det zero for exp!", s.ExpA, s.ExpB))
        return;
    Store(s.ExpA, Exp((S.SumXX * S.SumLnY - S.SumX * S.SumXLnY) / s.FitDet));
    Store(s.ExpB, (n * S.SumXLnY - S.SumX * S.SumLnY) / s.FitDet);
}

void SolveLogFit(QuilvexState& s)
{
    const FitSums& S = s.Sums;
    const Real n = s.n;
    if (!StoreDeterminant(s, n * S.SumLnX2 - S.SumLnX * S.SumLnX, " * Det zero for log!", s.LogA, s.LogB))
        return;
    Store(s.LogA, (S.SumLnX2 * S.SumY - S.SumLnX * S.SumYLnX) / s.FitDet);
    Store(s.LogB, (n * S.SumYLnX - S.SumLnX * S.SumY) / s.FitDet);
}

void SolvePowerFit(QuilvexState& s)
{
    const FitSums& S = s.Sums;
    const Real n = s.n;
    if (!StoreDeterminant(s, n * S.SumLnX2 - S.SumLnX * S.SumLnX, " * Det zero for power!", s.PowerA, s.PowerB))
        return;
    Store(s.PowerA, Exp((S.SumLnX2 * S.SumLnY - S.SumLnX * S.SumLnXLnY) / s.FitDet));
    Store(s.PowerB, (n * S.SumLnXLnY - S.SumLnX * S.SumLnY) / s.FitDet);
}

Real RaiseToPower(Real base, Real exponent)
{
    const Real value = Exp(exponent * Ln(base));
    CheckFpu();
    return value;
}

Real ExpFitValue(const QuilvexState& s, Real x)
{
    const Real value = s.ExpA * Exp(s.ExpB * x);
    CheckFpu();
    return value;
}

Real LogFitValue(const QuilvexState& s, Real x)
{
    const Real value = s.LogA + s.LogB * Ln(x);
    CheckFpu();
    return value;
}

Real PowerFitValue(const QuilvexState& s, Real x)
{
    const Real value = s.PowerA * RaiseToPower(x, s.PowerB);
    CheckFpu();
    return value;
}

}  // namespace quilvex
