#pragma once
// Beside each ticked least-squares curve, the curve of its weighted fit,
// dash-dotted in the method's colour.
#include <vector>

#include "graph/core/plotter.h"
#include "stats/bands.h"
#include "stats/figures.h"
#include "stats/methods.h"
#include "stats/weights.h"

namespace quilvex {

// The weighted rows of the ticked least-squares methods, in drawing order.
std::vector<StatsMethod> WeightedRowsShown(const QuilvexState& s);

// Fits the weighted rows on the fitted points and traces each at every pixel
// column of the box, broken where the row has no value. Pen, LastPixel and
// the fault flags stay as they were; a fit that fails draws nothing.
void DrawWeightedCurves(Plotter& plot, Weighting weighting);

// One weighted row's curve at every pixel column of the box, dash-dotted in
// its method's colour, broken where the row has no value; pen as it was.
void TraceWeightedRow(Plotter& plot, const MethodFigures& row);

// The bands of the weighted fits. Today the designed bands, at the one place
// the weighted covariance's bands come in.
std::vector<BandLine> WeightedBandLinesOf(const QuilvexState& s, const std::vector<Real>& xs, bool withPrediction,
                                          Weighting weighting);

}  // namespace quilvex
