#pragma once
// The points the user left out of the fits: set aside after scaling, so that
// the fits, curves, bands and marks see the fitted points only, while the
// picture and the mouse still find every point by its grid row.
#include <optional>
#include <vector>

#include "data/cellgrid.h"
#include "data/state.h"

namespace quilvex {

inline constexpr const char* kExclusionsIgnored = " * exclusions ignored: fewer than 3 points would remain";

// Fills PointRows, SigmaTexts and Excluded and keeps only the fitted points in
// x, y and n (in order) when the grid has sigma text or excluded rows;
// otherwise leaves them empty and the table as read. Fewer than 3 fitted
// points: every point is fitted and the message line says so.
void SetExcludedAside(QuilvexState& s, const CellGrid& grid);

// The grid row (from 0) of fitted point i (from 1).
int GridRowOf(const QuilvexState& s, int i);

// The X of the first point drawn, fitted or not: the origin of the pixel mapping.
Real ShownXOrigin(const QuilvexState& s);

// A point as drawn: its grid row, values, sigma text, and where it is held
// (fitted point `index` from 1, or s.Excluded[index]).
struct ShownPoint {
    int row = 0;
    Real x = 0, y = 0;
    std::string sigma;
    bool excluded = false;
    int index = 0;
};
// Every point, fitted and set aside, in grid-row order.
std::vector<ShownPoint> ShownPoints(const QuilvexState& s);

// The value of a sigma cell when it reads as a number above 0.
std::optional<Real> PositiveSigma(const std::string& text);

}  // namespace quilvex

namespace quilvex {
class Plotter;
// A bar of +-sigma with short caps at every point whose sigma is a number above 0.
void DrawErrorBars(Plotter& plot);
// The set-aside points: hollow grey circles, as large as the fitted points' marks.
void DrawSetAsidePoints(Plotter& plot);
}  // namespace quilvex
