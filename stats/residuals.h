#pragma once
// The residuals y - f(x) at every point for each row of the statistics: the
// designed curves evaluated as drawn (as "Fit quality" takes them), the true
// least-squares fits from their own coefficients.
#include <vector>

#include "stats/figures.h"
#include "data/state.h"

namespace quilvex {

// One list per row, in the order of the rows; empty for a row whose curve
// could not be evaluated at every point. s is the state ComputeStatistics
// filled for these rows. The fault flags are left clear.
std::vector<std::vector<Real>> ComputeResiduals(QuilvexState& s, const std::vector<MethodFigures>& rows);

}  // namespace quilvex
