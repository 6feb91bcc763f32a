#pragma once
// The weighted rows: each least-squares fit again with every point weighted as
// the user asks (stats/weights.h), beside the designed fit.
//
// The linear models are fitted by the stable solver with each row of X and
// of the target scaled by sqrt(w): the regression and the logarithmic fit in
// y; the exponential and power fits in ln y with w' = w y^2 (the sigma of
// ln y is sigma / |y|). The true least-squares fits minimise sum w r^2 in y.
//
// With chi2 = sum w' r'^2 in the space fitted, n points and p parameters:
//   dof = n - p, chi2_reduced = chi2 / dof, p_value = Q(chi2; dof);
//   se = sqrt(chi2_reduced * diag((X^T W X)^-1)); under sigma also
//   se_absolute = sqrt(diag((X^T W X)^-1)) (sigma taken as exact);
//   ci95 = value +- t(dof) se;
//   AICc under sigma: chi2 + 2p + 2p(p+1)/(n-p-1);
//        under y, y2: n ln(chi2/n) - sum ln w' + 2p + 2p(p+1)/(n-p-1);
//   R^2 = 1 - chi2 / sum w' (t - t_w)^2, t_w the weighted mean of the target.
// SSR, RMS and max |r| stay the plain y residuals of the weighted curve; the
// normalised residuals are r sqrt(w).
#include <optional>
#include <vector>

#include "stats/figures.h"
#include "stats/linear.h"
#include "stats/nls.h"
#include "stats/weights.h"

namespace quilvex {

struct WeightedTable {
    std::vector<Real> x, y, w;  // w: one weight per point, from WeightsOf
    Weighting weighting = Weighting::Sigma;
};

// A weighted row of the regression (of the given order), the logarithmic fit
// or a fit of ln y.
MethodFigures WeightedLinearRow(StatsMethod method, const WeightedTable& table, int order,
                                const std::vector<Real>& at);

// A weighted true least-squares row; startingB as FitNls takes them.
MethodFigures WeightedNlsRow(StatsMethod method, const WeightedTable& table, const std::vector<Real>& startingB,
                             const std::vector<Real>& at);

// A weighted row that could not be formed: the reason everywhere.
MethodFigures WeightedFailure(StatsMethod method, const std::string& why, const std::vector<Real>& at);

// The weighted row that follows a row: with a weighting, for a least-squares
// row, unless the rows asked for name it in its own place.
std::optional<StatsMethod> WeightedRowFollowing(StatsMethod method, const std::vector<StatsMethod>& asked,
                                                Weighting weighting);

// With a weighting, the interpolating rows note that weights do not apply;
// with excluded rows, every row notes them ("excluded: rows 3, 7").
void NoteWeightsAndExclusions(std::vector<MethodFigures>& rows, Weighting weighting,
                              const std::vector<int>& excludedRows);

// The figures from chi2 for n points and p parameters: chi2, dof,
// chi2_reduced, p_value, residual_se (sqrt chi2_reduced), AICc as above.
// w: the weights in the space fitted.
void SetChi2Figures(MethodFigures& f, int p, Real chi2, Weighting weighting, const std::vector<Real>& w);

// 1 - chi2 / sum w (t - t_w)^2; not defined where every t is the same.
Figure WeightedR2(Real chi2, const std::vector<Real>& t, const std::vector<Real>& w);

// Least squares of sqrt(w) t against sqrt(w) X: its SSR is chi2, its
// inverse Gram diagonal that of X^T W X.
LinearSolution SolveWeighted(DesignMatrix X, std::vector<Real> t, const std::vector<Real>& w);

// chi2 at rounding level (sizes: what each weighted term is summed from)
// makes the fit exact: the figures that divide by it are not defined.
void DeclareIfExactChi2(MethodFigures& f, const std::vector<Real>& sizes);

// The term sizes of each point times sqrt(w): the sizes chi2 is summed from.
std::vector<Real> WeightedSizes(std::vector<Real> sizes, const std::vector<Real>& w);

}  // namespace quilvex
