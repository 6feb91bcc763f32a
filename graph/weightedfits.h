#pragma once
// Beside each ticked least-squares curve, the curve of its weighted fit.
#include <vector>

#include "graph/core/plotter.h"
#include "stats/bands.h"
#include "stats/methods.h"
#include "stats/weights.h"

namespace quilvex {

// The weighted rows of the ticked least-squares methods, in drawing order.
std::vector<StatsMethod> WeightedRowsShown(const QuilvexState& s);

// Fits the weighted rows on the fitted points and traces each one that has a
// curve, dash-dotted in its method's colour; a fit that fails draws nothing.
void DrawWeightedCurves(Plotter& plot, Weighting weighting);

// The bands of the weighted fits. Today the designed bands, at the one place
// the weighted covariance's bands come in.
std::vector<BandLine> WeightedBandLinesOf(const QuilvexState& s, const std::vector<Real>& xs, bool withPrediction,
                                          Weighting weighting);

}  // namespace quilvex
