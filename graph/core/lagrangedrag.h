#pragma once
// The all-points Lagrange curve while a point is dragged. Only the dragged
// point's coordinates change from one movement to the next, so every sample
// keeps the basis products of the other points up to the dragged point's
// factor (their inputs did not change) and forms only the factors from there
// on; while the point's X stays, the whole basis products stay and only the
// sum is formed again: bit for bit the sum formed afresh.
#include <vector>

#include "data/state.h"
#include "graph/core/samples.h"

namespace quilvex {

// The curve to compute the samples at `arguments` with while a point is
// dragged, set up to take over what the last movement kept; an empty function
// when no point is dragged or the products would take too much memory (what
// was kept is then dropped).
IndexedCurve LagrangeDragCurve(QuilvexState& s, const std::vector<Real>& arguments);

}  // namespace quilvex
