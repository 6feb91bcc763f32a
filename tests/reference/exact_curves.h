#pragma once
// The fit preparation, the seven tracers and the marks as first written: every
// curve evaluated afresh through the exact forms at every replot.
#include "data/state.h"
#include "graph/core/plotter.h"

namespace quilvex::exact {

void PrepareFits(QuilvexState& s);
void DrawCurves(Plotter& plot);
void MarkCurvesAt(Plotter& plot, Real X);

}  // namespace quilvex::exact
