#pragma once
// The figures reported beside each fit: what one number is, or why it is not
// defined, and the measures derived from SSR for n points and p parameters.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "data/fpfault.h"
#include "stats/methods.h"

namespace quilvex {

// A figure, or the reason it is not defined.
struct Figure {
    std::optional<Real> value;
    std::string whyUndefined;

    static Figure Of(Real v) { return {v, {}}; }
    static Figure Undefined(std::string why) { return {std::nullopt, std::move(why)}; }
};

struct Coefficient {
    std::string name;
    Real value = 0;
    std::optional<Real> se;
    std::optional<std::array<Real, 2>> ci95;
};

// The value of a method's curve at a requested x, or why there is none.
struct AtValue {
    Real x = 0;
    std::optional<Real> y;
    std::string error;
};

struct MethodFigures {
    StatsMethod method = StatsMethod::Spline;
    std::optional<int> order;
    std::string failure;  // not empty: the method could not be evaluated, and why
    std::vector<Coefficient> coefficients;
    Figure ssr, rms, maxAbsResidual, r2, adjR2, aicc, residualSe;
    Figure stableSsr, condition;  // the regression only
    std::vector<std::string> warnings;
    std::vector<std::string> notes;  // what the figures mean, why some are not defined
    std::vector<AtValue> at;
    // y - f(x) at every point in table order, the curve evaluated as the SSR
    // takes it; empty where the SSR could not be formed.
    std::vector<Real> residuals;
};

// s = sqrt(SSR / (n - p)), for n > p.
Figure ResidualStandardError(int n, int p, Real ssr);
// 1 - (1 - R^2) (n - 1) / (n - p), for n > p and R^2 defined.
Figure AdjustedR2(int n, int p, const Figure& r2);
// n ln(SSR / n) + 2p + 2p(p + 1) / (n - p - 1), for n > p + 1 and SSR > 0.
Figure Aicc(int n, int p, Real ssr);

// The 0.975 quantile of Student's t with the given degrees of freedom (> 0).
Real StudentT975(int degreesOfFreedom);

// Fills the derived figures (residual SE, adjusted R^2, AICc) from ssr and r2,
// and notes each that is not defined.
void DeriveFromSsr(MethodFigures& figures, int n, int p);

// Standard errors s * sqrt(diagonal) and intervals value +- t SE of the
// coefficients, in order; nothing when s is not defined.
void SetLinearIntervals(MethodFigures& figures, int n, const std::vector<Real>& inverseGramDiagonal);

// The row with the lowest AICc among the fits that are least squares in y,
// compared only where each of them that fitted the table has an AICc; where
// one has none, no row is marked and that row says why.
struct AiccMark {
    std::optional<std::size_t> best;         // the marked row
    std::optional<std::size_t> withoutAicc;  // the least-squares row that prevents a mark
};
AiccMark LowestAicc(const std::vector<MethodFigures>& rows);

}  // namespace quilvex
