#pragma once
// The fits of a replot and the seven curves drawn from them, plus the markers
// at the X value typed in the status window.
//
// Regression, exponential, logarithmic and power curves span the visible width
// PixelToX(0)..PixelToX(W); the spline and both Lagrange curves span the data
// x[1]..x[n]. Each tracer saves the pen colour, draws in its own colour and
// restores it; the spline draws in whatever colour the pen has (black).
#include "data/state.h"
#include "fit/method.h"
#include "graph/core/plotter.h"

namespace quilvex {

// Spline set-up, regression fit and the sums of the transformed fits, in that
// order, each only when a curve needs it. The literal forms keep nothing for
// a later replot, trace every sample afresh on this thread and are what the
// identity tests hold the fast ones to.
void PrepareFits(QuilvexState& s, Forms forms = Forms::Fast);

void TraceRegression(Plotter& plot);
void TraceSpline(Plotter& plot);
void TraceLagrange(Plotter& plot);
void TraceLagrangeOrd(Plotter& plot);
// These three solve their fit (storing the coefficients) before tracing.
// The log and power curves start at 1e-15 when the visible width starts at or
// left of 0.
void DrawExpCurve(Plotter& plot);
void DrawLogCurve(Plotter& plot);
void DrawPowerCurve(Plotter& plot);

// Every enabled curve, later ones over earlier ones: regression, spline,
// Lagrange, Lagrange of user order, exponential, logarithmic, power.
void DrawCurves(Plotter& plot, Forms forms = Forms::Fast);

// A vertical line from the bottom pixel row to (x, y) and a horizontal one from
// there to the left edge, in the pen's current colour.
void MarkXValue(Plotter& plot, Real x, Real y);
// Marks every enabled curve at X, in the order of DrawCurves; the spline and
// Lagrange curves only for x[1] <= X <= x[n], logarithmic and power only for X > 0.
void MarkCurvesAt(Plotter& plot, Real X, Forms forms = Forms::Fast);

}  // namespace quilvex
