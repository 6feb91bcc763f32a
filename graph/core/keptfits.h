#pragma once
// The fits a replot keeps in s.Reuse for the next one: taken over when their
// inputs are the same bits, with the messages they added, so that a replot of
// an unchanged table (or another reader of the same table, as the details
// window's statistics) does not fit again. A fit that ended with an error is
// not kept.
#include "data/state.h"

namespace quilvex {

// 1 <= n <= MaxPoints: a table whose fits and samples can be kept.
bool TableFits(const QuilvexState& s);
// The point table's bits, n, x[1..n] and y[1..n].
ReuseKey TableKey(const QuilvexState& s);

// The regression fit, or the one kept when the table and the order are those
// it came from (its values and messages, bit for bit).
void FitRegressionReusing(QuilvexState& s);
// The spline's second derivatives, or those kept with the same table.
void SetUpSplineReusing(QuilvexState& s);

}  // namespace quilvex
