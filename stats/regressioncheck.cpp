#include "stats/regressioncheck.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "data/numtext.h"

namespace quilvex {

namespace {

constexpr const char kOverflowing[] = "the powers of x overflow";

void AddCoefficients(MethodFigures& f, const std::vector<Real>& coef)
{
    for (std::size_t j = 0; j < coef.size(); ++j)
        f.coefficients.push_back({"a" + std::to_string(j), coef[j], {}, {}});
}

void WarnIfIllConditioned(MethodFigures& f, const RegressionCheck& check)
{
    if (!(*check.stable.condition <= kIllConditioned))
        f.warnings.push_back("ill-conditioned at this order: the condition number of the scaled X is " +
                             (check.condition.value ? NoteDigits(*check.condition.value) : std::string("infinite")) +
                             ", above 1E15");
}

void TakeCheckFigures(MethodFigures& f, const RegressionCheck& check)
{
    f.stableSsr = check.stable.usable ? Figure::Of(check.stable.ssr) : Figure::Undefined(kOverflowing);
    f.condition = check.condition;
    f.agreementDigits = check.agreementDigits;
}

const char* WhyNoErrors(const RegressionInput& input)
{
    return static_cast<int>(input.x.size()) <= input.order + 1 ? "needs more points than parameters"
                                                              : "X lacks full column rank";
}

Real PolynomialAt(const std::vector<Real>& coef, Real x)
{
    Real value = 0;
    for (auto a = coef.rbegin(); a != coef.rend(); ++a)
        value = value * x + *a;
    return value;
}

}  // namespace

Figure AgreementDigits(const RegressionInput& input, const LinearSolution& stable)
{
    if (stable.rank < static_cast<int>(stable.coef.size()))
        return Figure::Undefined("the least-squares coefficients are not unique");
    Real yNorm = 0;
    for (const Real v : input.y)
        yNorm += v * v;
    const Real condition = stable.condition && std::isfinite(*stable.condition) ? *stable.condition : 1;
    const Real accuracy = static_cast<Real>(input.y.size()) * DBL_EPSILON * condition * std::sqrt(yNorm);
    const DesignMatrix X = PolynomialDesign(input.x, static_cast<int>(stable.coef.size()) - 1);
    Real fewest = kMostAgreementDigits;
    for (std::size_t j = 0; j < input.designedCoef.size() && j < stable.coef.size(); ++j) {
        const Real difference = std::fabs(input.designedCoef[j] - stable.coef[j]);
        if (difference == 0)
            continue;
        Real columnNorm = 0;
        for (int i = 0; i < X.Rows(); ++i)
            columnNorm += X.At(i, static_cast<int>(j)) * X.At(i, static_cast<int>(j));
        const Real resolved = accuracy / std::sqrt(columnNorm);
        if (std::fabs(stable.coef[j]) < resolved && difference <= resolved)
            continue;  // zero as far as the stable solver tells, and as near to it
        const Real digits = -std::log10(difference / std::max(std::fabs(stable.coef[j]), resolved));
        fewest = std::min(fewest, std::isfinite(digits) ? std::max<Real>(0, std::floor(digits * 10) / 10) : 0);
    }
    return Figure::Of(fewest);
}

std::vector<Real> PolynomialTermSizes(const std::vector<Real>& x, const std::vector<Real>& y,
                                      const std::vector<Real>& coef)
{
    std::vector<Real> sizes;
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        Real size = std::fabs(y[i]), power = 1;
        for (const Real a : coef) {
            size += std::fabs(a * power);
            power *= x[i];
        }
        sizes.push_back(size);
    }
    return sizes;
}

RegressionCheck CheckRegression(const RegressionInput& input)
{
    RegressionCheck check;
    check.stable = SolveLeastSquares(PolynomialDesign(input.x, input.order), input.y, true);
    if (!check.stable.usable) {
        check.condition = check.agreementDigits = Figure::Undefined(kOverflowing);
        return check;
    }
    const LinearSolution& stable = check.stable;
    check.condition = std::isfinite(*stable.condition) ? Figure::Of(*stable.condition)
                                                       : Figure::Undefined("the scaled X is singular");
    check.agreementDigits = input.designedCoef.empty() ? Figure::Undefined("the designed fit failed")
                                                       : AgreementDigits(input, stable);
    check.stableRoundingSsr = RoundingLevelSsr(PolynomialTermSizes(input.x, input.y, stable.coef));
    const bool stableExact = stable.ssr <= check.stableRoundingSsr;
    if (stableExact && check.condition.value) {
        const Real amplified = *check.condition.value * *check.condition.value;
        check.designedRoundingSsr =
            RoundingLevelSsr(PolynomialTermSizes(input.x, input.y, input.designedCoef)) * std::max<Real>(1, amplified);
    }
    const bool designedExact = input.designedSsr && *input.designedSsr <= check.designedRoundingSsr;
    if (designedExact && stableExact)
        return check;
    check.ssrExceeds = input.designedSsr && *input.designedSsr - stable.ssr > kUnreliableSsrExcess * stable.ssr;
    check.disagrees = check.agreementDigits.value && *check.agreementDigits.value < kFewestAgreementDigits;
    return check;
}

void FillDesignedRegression(MethodFigures& f, const RegressionInput& input, const RegressionCheck& check)
{
    const int n = static_cast<int>(input.x.size()), p = input.order + 1;
    DeriveFromSsr(f, n, p);
    TakeCheckFigures(f, check);
    if (!check.stable.usable) {
        f.notes.push_back(std::string("stable_ssr, condition and agreement_digits not defined: ") + kOverflowing);
        return NoteMissingErrors(f, kOverflowing);
    }
    if (check.ssrExceeds)
        f.warnings.push_back("numerically unreliable at this order: SSR " + NoteDigits(*f.ssr.value) + " against " +
                             NoteDigits(check.stable.ssr) + " from a stable solver");
    if (check.disagrees)
        f.warnings.push_back("the coefficients agree with a stable solver's to only " +
                             NoteDigits(*check.agreementDigits.value) + " significant digits");
    WarnIfIllConditioned(f, check);
    if (!check.agreementDigits.value)
        f.notes.push_back("agreement_digits not defined: " + check.agreementDigits.whyUndefined);
    if (check.Flagged()) {
        f.notes.push_back("se and ci95 not defined: the stability check flags the designed fit; "
                          "regression-stable gives the stable solver's coefficients, standard errors and intervals");
        return;
    }
    SetLinearIntervals(f, n, check.stable.inverseGramDiagonal);
    NoteMissingErrors(f, WhyNoErrors(input));
    DeclareIfExactFit(f, check.designedRoundingSsr);
}

MethodFigures StableRegression(const RegressionInput& input, const RegressionCheck& check,
                               const std::vector<Real>& at)
{
    MethodFigures f;
    f.method = StatsMethod::RegressionStable;
    f.order = input.order;
    const LinearSolution& stable = check.stable;
    if (!stable.usable) {
        f.failure = kOverflowing;
        for (const Real X : at)
            f.at.push_back({X, {}, kOverflowing});
        return f;
    }
    f.notes.push_back("the regression's polynomial by the stable solver (Householder QR with column pivoting "
                      "of the column-scaled X, refined in extended precision), beside the designed normal equations");
    AddCoefficients(f, stable.coef);
    const int n = static_cast<int>(input.x.size());
    Real largest = 0;
    for (const Real r : stable.residuals)
        largest = std::max(largest, std::fabs(r));
    f.ssr = Figure::Of(stable.ssr);
    f.rms = Figure::Of(std::sqrt(stable.ssr / n));
    f.maxAbsResidual = Figure::Of(largest);
    f.residuals = stable.residuals;
    const Real spread = Spread(input.y);
    f.r2 = spread > 0 ? Figure::Of(1 - stable.ssr / spread) : Figure::Undefined("all y equal");
    if (input.order >= n)
        f.warnings.push_back("order not below the number of points: not a least-squares fit");
    DeriveFromSsr(f, n, input.order + 1);
    TakeCheckFigures(f, check);
    WarnIfIllConditioned(f, check);
    SetLinearIntervals(f, n, stable.inverseGramDiagonal);
    NoteMissingErrors(f, WhyNoErrors(input));
    DeclareIfExactFit(f, check.stableRoundingSsr);
    for (const Real X : at) {
        const Real y = PolynomialAt(stable.coef, X);
        f.at.push_back(std::isfinite(y) ? AtValue{X, y, {}} : AtValue{X, {}, kOverflowText});
    }
    return f;
}

}  // namespace quilvex
