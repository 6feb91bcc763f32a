#pragma once
// The interpolation / extrapolation report: every enabled curve evaluated at a
// typed X, from the fits the last replot left behind.
#include <functional>
#include <string>

#include "data/state.h"

namespace quilvex {

using LineSink = std::function<void(const std::string&)>;

// Appends through `append`, one line at a time: the line that repeats X, then
// for each enabled method, in the order spline, Lagrange through all points,
// Lagrange of user order, regression, exponential, logarithmic, power, its
// value at X or the reason there is none. The spline and both Lagrange methods
// need x[1] <= X <= x[n] (x[n] read only when X >= x[1]); the logarithmic and
// power methods need X > 0. Value labels are padded to 34 characters to the
// colon-space so the colons line up in a fixed-width font.
//
// An error of an evaluator or of the point table (an arithmetic fault, "Range
// check error" when the table is empty) ends the block and propagates; the
// lines appended before it stay. Evaluator messages go to s.MessageBuffer.
void AppendInterpolationLines(QuilvexState& s, Real X, const LineSink& append);

}  // namespace quilvex
