#pragma once
// Drawing the edges of the 95 % bands over the curves: polylines in data
// values with their own dash pattern along the line (the canvas's dashed pen
// would restart its pattern at every short segment).
#include <vector>

#include "data/color.h"
#include "graph/core/plotter.h"

namespace quilvex {

// The bands the graph draws after its curves: none, the confidence bands, or both kinds.
struct BandChoice {
    bool confidence = false;
    bool prediction = false;
};

// LongDashed is no band's: the constrained curves, 1 pixel wide as every
// curve, in dashes long enough to tell them from a confidence band's edge.
enum class BandStroke { Dashed, Dotted, LongDashed };

struct BandLine {
    Color color;
    BandStroke stroke = BandStroke::Dashed;
    std::vector<Real> x, y;  // a NaN y breaks the line
};

// The x values the bands are sampled at: every other pixel column of the visible width.
std::vector<Real> BandArguments(Plotter& plot);

// Draws the lines, broken where a value is NaN or lies far beyond the box.
// Adds no message; the pen colour and style, LastPixel and the fault flags
// stay as they were.
void DrawBandLines(Plotter& plot, const std::vector<BandLine>& lines);

}  // namespace quilvex
