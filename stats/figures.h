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
    // A weighted fit under sigma: the standard error with sigma taken as exact
    // (se is scaled by the square root of the reduced chi-square).
    std::optional<Real> seAbsolute;
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
    Figure stableSsr, condition, agreementDigits;  // the regression only
    bool exactFit = false;  // SSR at rounding level: see RoundingLevelSsr
    // A weighted row: chi^2 = sum w r^2 in the space fitted, its degrees of
    // freedom n - p, chi^2 / dof, and the probability of a chi^2 at least this large.
    Figure chi2, chi2Reduced, pValue;
    std::optional<int> dof;
    // A constrained row fitted under a weighting (its figures are then a
    // weighted row's, failed or not).
    bool underWeighting = false;
    // A constrained row: its constraints as the output lists them ("a0=0", "b=0.5").
    std::vector<std::string> constraints;
    std::vector<std::string> warnings;
    std::vector<std::string> notes;  // what the figures mean, why some are not defined
    std::vector<AtValue> at;
    // y - f(x) at every point in table order, the curve evaluated as the SSR
    // takes it; empty where the SSR could not be formed.
    std::vector<Real> residuals;
    // A weighted row: r_i sqrt(w_i) at every point (r / sigma under sigma).
    std::vector<Real> normalisedResiduals;
};

// The row's figures come from chi2 (a weighted row, or a constrained row fitted
// under a weighting): its AICc, R^2 and standard errors are a weighted row's.
inline bool MeasuredByChi2(const MethodFigures& f) { return f.method.weighted || f.underWeighting; }

// s = sqrt(SSR / (n - p)), for n > p.
Figure ResidualStandardError(int n, int p, Real ssr);
// 1 - (1 - R^2) (n - 1) / (n - p), for n > p and R^2 defined.
Figure AdjustedR2(int n, int p, const Figure& r2);
// n ln(SSR / n) + 2p + 2p(p + 1) / (n - p - 1), for n > p + 1 and SSR > 0.
Figure Aicc(int n, int p, Real ssr);

// The 0.975 quantile of Student's t with the given degrees of freedom (> 0).
Real StudentT975(int degreesOfFreedom);

// A figure as a note or a warning quotes it: 8 significant digits, ".".
std::string NoteDigits(Real v);

// Sum of (y - mean y)^2.
Real Spread(const std::vector<Real>& y);

// Fills the derived figures (residual SE, adjusted R^2, AICc) from ssr and r2,
// and notes each that is not defined.
void DeriveFromSsr(MethodFigures& figures, int n, int p);

// Standard errors s * sqrt(diagonal) and intervals value +- t SE of the
// coefficients, in order; nothing when s is not defined.
void SetLinearIntervals(MethodFigures& figures, int n, const std::vector<Real>& inverseGramDiagonal);
// Notes why there are no standard errors, where the coefficients have none.
void NoteMissingErrors(MethodFigures& figures, const std::string& why);

// An SSR at rounding level marks an exact fit: the SSR is at most what
// rounding alone leaves,
//     SSR <= (n eps)^2 * sum_i t_i^2,
// eps = 2^-63 the epsilon of the extended precision every fit is computed in,
// n the number of points and t_i the size of what is summed at point i: |y_i|
// plus the sizes of the terms of the fitted value (|a_j x_i^j| for the
// regression, |f(x_i)| for the other fits). Each residual may so be about n
// units in the last place of the largest term at its point. Where y is of one
// size and nothing cancels, the bound is about (2 n eps)^2 sum y^2.
Real RoundingLevelSsr(const std::vector<Real>& termSizes);
// |y_i| + |y_i - r_i|: the sizes of a fit without terms of its own.
std::vector<Real> FittedTermSizes(const std::vector<Real>& y, const std::vector<Real>& residuals);
// For an SSR at or below roundingSsr: the fit is exact, and its residual
// standard error, AICc, standard errors and intervals are not defined (exact
// fit), with a note. Returns whether it is. A bound that is not finite
// (terms beyond the range of numbers) declares only an SSR of zero exact.
bool DeclareIfExactFit(MethodFigures& figures, Real roundingSsr);

// The row with the lowest AICc among the fits that are least squares in y,
// compared only where each of them that fitted the table has an AICc; where
// one has none, no row is marked and that row says why. The weighted rows
// take no part in that mark: their AICc comes from chi2, not from the SSR.
// They are compared among themselves, the weighted rows least squares in y
// (regression, logarithmic, true least squares: chi2 in y with the same
// weights), under the same rule, in bestWeighted; the weighted fits of ln y
// measure chi2 in ln y and are never marked. The constrained rows are least
// squares in y with the same SSR, so they take part in the unweighted mark
// beside the free rows: the mark shows whether a constraint costs more than
// the parameters it saves. Fitted under a weighting they are measured by chi2
// in y and take part in the weighted mark instead.
struct AiccMark {
    std::optional<std::size_t> best;         // the marked row
    std::optional<std::size_t> withoutAicc;  // the least-squares row that prevents a mark
    std::optional<std::size_t> bestWeighted;         // the marked weighted row
    std::optional<std::size_t> weightedWithoutAicc;  // the weighted row that prevents that mark
};
AiccMark LowestAicc(const std::vector<MethodFigures>& rows);

}  // namespace quilvex
