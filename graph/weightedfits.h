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

// The weighted fits of those rows on the fitted points; none without a
// weighting or when the fits fail.
std::vector<MethodFigures> WeightedFitsOf(const QuilvexState& s, Weighting weighting);

// Traces each weighted fit that has a curve, dash-dotted in its method's colour.
void DrawWeightedCurves(Plotter& plot, const std::vector<MethodFigures>& fits);

}  // namespace quilvex
