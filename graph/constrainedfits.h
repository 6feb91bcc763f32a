#pragma once
// Beside each ticked curve whose model has constraints, the curve of its
// constrained fit.
#include <vector>

#include "graph/core/plotter.h"
#include "stats/constraints.h"
#include "stats/figures.h"
#include "stats/weights.h"

namespace quilvex {

// The constrained rows of the ticked methods whose models have constraints, in drawing order.
std::vector<StatsMethod> ConstrainedRowsShown(const QuilvexState& s, const MethodConstraints& constraints);

// The constrained fits of those rows on the fitted points under the
// weighting; none without constraints or when the fits fail.
std::vector<MethodFigures> ConstrainedFitsOf(const QuilvexState& s, const MethodConstraints& constraints,
                                             Weighting weighting);

// Traces each constrained fit that has a curve, in long dashes of its
// method's colour at every pixel column of the box.
void DrawConstrainedCurves(Plotter& plot, const std::vector<MethodFigures>& fits);

}  // namespace quilvex
