#pragma once
// The stability check of the regression: the designed fit (normal equations)
// beside the stable solver's least-squares fit of the same polynomial. The
// designed fit is flagged where its SSR exceeds the stable one by more than
// kUnreliableSsrExcess relatively, or where a designed coefficient agrees with
// the stable one to fewer than kFewestAgreementDigits significant digits;
// never where both SSRs are at rounding level: there both fits are exact. The
// stable fit's rounding level is RoundingLevelSsr of its terms. The designed
// normal equations amplify rounding by about the condition number k of the
// scaled X, so where the stable fit is exact (the data are a polynomial of the
// order) the designed fit's rounding level is k^2 times RoundingLevelSsr of its
// terms; elsewhere it is 0, and only an SSR of 0 is exact. A flagged fit keeps its designed figures, but its
// standard errors and intervals are left to the stable row,
// `regression-stable`, which gives the stable solver's figures throughout.
#include <optional>
#include <vector>

#include "stats/figures.h"
#include "stats/linear.h"

namespace quilvex {

// The designed fit's SSR exceeds the stable one by more than this, relatively:
// the regression is numerically unreliable.
inline constexpr Real kUnreliableSsrExcess = 1e-6L;
// Condition numbers of the scaled Vandermonde matrix above this are warned of.
inline constexpr Real kIllConditioned = 1e15L;
// Designed coefficients that agree with the stable ones to fewer significant
// digits than this are warned of.
inline constexpr Real kFewestAgreementDigits = 6;
// The most digits of agreement reported: about those of the extended precision.
inline constexpr Real kMostAgreementDigits = 19;

// The points, the order and the designed fit the check compares.
struct RegressionInput {
    std::vector<Real> x, y;
    int order = 3;
    std::vector<Real> designedCoef;   // a0..am; empty where the designed fit failed
    std::optional<Real> designedSsr;  // as "Fit quality" measures it
};

struct RegressionCheck {
    LinearSolution stable;
    Figure condition, agreementDigits;
    Real designedRoundingSsr = 0, stableRoundingSsr = 0;  // each fit's rounding level, as above
    bool ssrExceeds = false;  // the designed SSR exceeds the stable one
    bool disagrees = false;   // the coefficients agree to fewer than kFewestAgreementDigits
    bool Flagged() const { return ssrExceeds || disagrees; }
};

RegressionCheck CheckRegression(const RegressionInput& input);

// The fewest significant digits in which a designed coefficient agrees with
// the stable one, -log10 |designed - stable| / |stable|, rounded down to a
// tenth and kept within 0..kMostAgreementDigits. A coefficient whose term is
// below what the stable solver resolves (|a_j| |x^j| below n eps k |y|, norms
// over the points, eps the double epsilon of its factorisation, k the
// condition number), as a coefficient that is zero in exact arithmetic,
// agrees with it where the designed one is as near to it, and has no digit in
// common otherwise. Not defined where the stable coefficients are not unique
// (rank below their number).
Figure AgreementDigits(const RegressionInput& input, const LinearSolution& stable);

// |y_i| + sum_j |a_j x_i^j|: the sizes the regression's value at x_i is summed from.
std::vector<Real> PolynomialTermSizes(const std::vector<Real>& x, const std::vector<Real>& y,
                                      const std::vector<Real>& coef);

// The designed regression's figures beside its coefficients and SSR: derived
// figures, the check's figures and warnings, and standard errors and
// intervals unless flagged (then a note names the stable row).
void FillDesignedRegression(MethodFigures& designed, const RegressionInput& input, const RegressionCheck& check);

// The stable row: the stable solver's coefficients, standard errors,
// intervals, SSR, R^2, adjusted R^2 and AICc, with the check's figures.
MethodFigures StableRegression(const RegressionInput& input, const RegressionCheck& check,
                               const std::vector<Real>& at);

}  // namespace quilvex
