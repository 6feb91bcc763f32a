#pragma once
// The parts of the graph other than the curves: the dashed axes and the data
// points with the selected point in red.
#include "graph/core/plotter.h"

namespace quilvex {

// The lines x = 0 and y = 0, each only where its pixel is within +-32000.
void DrawAxes(Plotter& plot);
// A blue circle of radius 4 per point; SelectedPoint as red circles of radius 4 and 5.
void DrawPoints(Plotter& plot);
// Outline of the circle in the bounding box (cx - r, cy - r)-(cx + r, cy + r).
void DrawCircle(Canvas& canvas, int cx, int cy, int r);

}  // namespace quilvex
