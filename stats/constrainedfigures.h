#pragma once
// The figures of a constrained row from its residuals: unweighted from SSR,
// or under a weighting from chi2 as a weighted row has them
// (stats/weighted.h), p counting the free coefficients only.
#include <utility>
#include <vector>

#include "stats/figures.h"
#include "stats/linear.h"
#include "stats/weights.h"

namespace quilvex {

// The weights of a fit (WeightsOf's, one per point) and the weighting they
// come from; none given: the fit is unweighted.
struct FitWeights {
    Weighting weighting = Weighting::None;
    std::vector<Real> w;
    bool Given() const { return !w.empty(); }
};

// SSR, RMS, max |r|, R^2 (centred, or uncentred without an intercept) and
// the derived figures for p free coefficients.
void SetResidualFigures(MethodFigures& f, const std::vector<Real>& y, const std::vector<Real>& residuals, int p,
                        bool uncentred);

// Under a weighting: chi2 = sum w r^2 and what a weighted row derives from it
// for p free coefficients, R^2 weighted (uncentred: 1 - chi2 / sum w y^2),
// SSR, RMS and max |r| of the plain residuals and r sqrt(w) beside them.
void SetChi2ResidualFigures(MethodFigures& f, const std::vector<Real>& y, const std::vector<Real>& residuals,
                            Real chi2, int p, bool uncentred, const FitWeights& weights);

// The residuals in y of a weighted solution (those of sqrt(w) r, or of the
// target itself where nothing was solved) and chi2 = sum w r^2.
std::pair<std::vector<Real>, Real> ResidualsInY(const LinearSolution& solution, bool solved,
                                                const std::vector<Real>& w);

// se = s unit (s the residual standard error, sqrt chi2_reduced when
// weighted), ci95 = value +- t se; under sigma also se_absolute = unit.
void SetError(Coefficient& c, Real s, Real t, Real unit, Weighting weighting);

inline constexpr const char kUncentredR2Note[] =
    "R^2 uncentred (no intercept): measured from 0, not from the mean of y, so it is higher than a centred "
    "R^2";

}  // namespace quilvex
