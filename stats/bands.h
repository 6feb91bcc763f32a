#pragma once
// The 95 % confidence band of a fitted curve and the prediction band of a new
// observation, for the fits that have standard errors: the regression and the
// logarithmic fit in y, the exponential and power fits in ln y as they are
// fitted (there the edges are the curve times e^(-h) and e^(+h)).
//
// With v(x) the model's basis at x (1, x, ..., x^m; 1, ln x; 1, x; 1, ln x),
// s the residual standard error of the fit and t the 0.975 quantile of
// Student's t with n - p degrees of freedom, the half-widths are
//   confidence  t s sqrt(v^T (X^T X)^-1 v)     prediction  t s sqrt(1 + v^T (X^T X)^-1 v)
// the whole covariance, not only its diagonal, taken from the QR factors of
// the column-scaled X (never by inverting X^T X).
#include <optional>
#include <vector>

#include "data/state.h"
#include "graph/core/bands.h"
#include "report/core/fitquality.h"
#include "stats/figures.h"
#include "stats/linear.h"
#include "stats/weighted.h"
#include "stats/weights.h"

namespace quilvex {

struct FitBand {
    Method method = Method::Regression;
    bool logScale = false;  // exponential and power: the half-widths are in ln y
    // The curve as drawn and the two half-widths at each x; NaN where the
    // curve or its band has no value.
    std::vector<Real> x, fit, confidence, prediction;

    Real Lower(std::size_t i, bool predictionBand) const;
    Real Upper(std::size_t i, bool predictionBand) const;
};

// The two edges of the confidence band, dashed, and, when asked for, of the
// prediction band, dotted, in the given colour.
std::vector<BandLine> BandEdgesOf(const FitBand& band, Color color, bool withPrediction);

// v^T (D^T W D)^-1 v for each row v of V, from the pivoted QR of the
// column-scaled W^(1/2) D (never inverting D^T W D); w empty: W = I. NaN
// where v is not finite, nothing when a column of D is zero or not finite or
// D lacks full column rank.
std::optional<std::vector<Real>> DesignLeverages(const DesignMatrix& D, const std::vector<Real>& w,
                                                 const DesignMatrix& V);

// Whether the method has a band at all.
bool HasBand(Method method);

// The band of the fit the state holds (as the last replot left it) at the x
// values; nothing where the fit has no standard errors (n <= p, a singular
// design, a y <= 0 for the fits of ln y). The fault flags are kept.
std::optional<FitBand> ComputeBand(const QuilvexState& s, Method method, const std::vector<Real>& xs);

// The edges of the bands of every enabled curve that has one, in the curve's
// colour: the confidence band dashed and, when asked for, the prediction band
// dotted.
std::vector<BandLine> BandLinesOf(const QuilvexState& s, const std::vector<Real>& xs, bool withPrediction);

// The bands of a weighted row (regression-, logarithmic-, exponential- or
// power-weighted; the true least-squares rows have none) from the weighted
// covariance: with W the weights in the space fitted (w, or w y^2 in ln y),
// s^2 = chi2_reduced and t with the row's dof,
//   confidence  t s sqrt(v^T (X^T W X)^-1 v)
//   prediction  t s sqrt(v^T (X^T W X)^-1 v + 1 / w_new)
// where a new point, whose weight is not known, takes w_new = the mean of W.
// Nothing where the row failed, is exact or has no chi2_reduced.
std::optional<FitBand> ComputeWeightedBand(const MethodFigures& row, const WeightedTable& table,
                                           const std::vector<Real>& xs);

// The graph's call: the edges of the bands of every weighted row whose
// designed curve is shown, in the curve's colour and strokes as BandLinesOf
// draws them; rows: ComputeStatistics' rows for the state's table under the
// weighting. Nothing where the weights cannot be formed.
std::vector<BandLine> BandLinesOfWeighted(const QuilvexState& s, const std::vector<MethodFigures>& rows,
                                          Weighting weighting, const std::vector<Real>& xs, bool withPrediction);

}  // namespace quilvex
