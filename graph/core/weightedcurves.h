#pragma once
// The curve of a weighted fit: dash-dotted in its method's colour beside the
// designed curve, at every pixel column of the box.
#include <functional>
#include <optional>

#include "graph/core/plotter.h"

namespace quilvex {

// Traces value(X) at X of every pixel column of the box, broken where it has
// no value or lies far beyond the box; pen, LastPixel and the fault flags
// stay as they were.
void TraceDashDotted(Plotter& plot, Color color, const std::function<std::optional<Real>(Real)>& value);

}  // namespace quilvex
