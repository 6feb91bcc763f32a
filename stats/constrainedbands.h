#pragma once
// The 95 % bands of the constrained regression. With D the columns of its
// free coefficients at the fitted points (ConstrainedDesignOf), v those
// columns at x, W the weights (1 without a weighting), s^2 = SSR / dof
// (chi2_reduced where the row was fitted with weights) and t with the row's
// dof, the half-widths are
//   confidence  t s sqrt(v^T (D^T W D)^-1 v)
//   prediction  t s sqrt(v^T (D^T W D)^-1 v + 1)     (+ 1 / mean w weighted)
// with (D^T W D)^-1 from the QR factors of the column-scaled W^(1/2) D, as
// stats/bands.h takes it. Held coefficients and the point the curve passes
// through carry no uncertainty, so the confidence band closes there. The
// constrained exponential and power rows have no band, as their weighted
// rows have none.
#include <optional>
#include <vector>

#include "stats/bands.h"
#include "stats/constraints.h"

namespace quilvex {

// The band of a constrained regression row at xs, fitted on the points x with
// weights w (empty: unweighted) at the given order under c. Nothing where the
// row failed, has no free coefficient or no dof left, or D lacks full rank.
std::optional<FitBand> ComputeConstrainedBand(const MethodFigures& row, const std::vector<Real>& x,
                                              const std::vector<Real>& w, int order, const Constraints& c,
                                              const std::vector<Real>& xs);

// The graph's call: the edges of the bands of every constrained row whose
// designed curve is shown, in the curve's colour and strokes as BandLinesOf
// draws them; rows: ComputeStatistics' constrained rows for the state's table.
std::vector<BandLine> BandLinesOfConstrained(const QuilvexState& s, const std::vector<MethodFigures>& rows,
                                             const MethodConstraints& constraints, Weighting weighting,
                                             const std::vector<Real>& xs, bool withPrediction);

}  // namespace quilvex
