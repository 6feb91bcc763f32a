#pragma once
// Scaling of a replot: X values made ascending where they are not (in the table
// and in the grid), the Y range, margins from the cover percentage, and one
// scale factor per axis.
//
//   MarginX = Round(W * ((100 - Cover) * 0.01)), likewise MarginY with H
//   XScale  = (W - MarginX) / (x[n] - x[1]),  YScale = (H - MarginY) / (YMax - YMin)
#include "data/cellgrid.h"
#include "data/state.h"

namespace quilvex {

enum class ScaleResult { Scaled, Skipped, ScaledNewFile };

// Does nothing while a point is being dragged. Returns ScaledNewFile when a
// file was opened since the last scaling: the caller then ticks the spline and
// regression boxes (SelectedPoint is already reset to 1).
// Also notes each X it replaces in s.AdjustedXs, forgetting those of another
// file and those whose point no longer holds the value written.
ScaleResult ScaleGraph(QuilvexState& s, CellGrid& grid, int width, int height);

// The point still holds the value written in place of the one read, or the
// grid cell's reading of it.
bool StillAdjusted(const QuilvexState& s, const AdjustedX& a);

}  // namespace quilvex
