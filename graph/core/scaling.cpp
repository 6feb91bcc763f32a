#include "graph/core/scaling.h"

#include <algorithm>
#include <cmath>

#include "data/numtext.h"

namespace quilvex {

namespace {

constexpr Real kTiny = 1e-20L;

// Keeps the replacement of x[i] beside the table, in the order of the points.
// Reading the cell back leaves the replot's fault flags as they were.
void NoteAdjusted(QuilvexState& s, int i, Real read)
{
    const FpuFlagsKeeper keep;
    const AdjustedX noted{i, read, s.x[i], TextToFloat(FormatCell(s.x[i])).value};
    auto& all = s.AdjustedXs;
    const auto at = std::find_if(all.begin(), all.end(), [i](const AdjustedX& a) { return a.point >= i; });
    if (at != all.end() && at->point == i)
        *at = noted;
    else
        all.insert(at, noted);
}

// Replaces x[i] when it does not exceed x[i-1], choosing by its own sign.
void MakeAscending(QuilvexState& s, CellGrid& grid, int i)
{
    s.MessageBuffer.Append(" * x values not ascending!! Adjusted.");
    const Real xi = s.x[i];
    Real adjusted;
    if (xi > 0)
        adjusted = s.x[i - 1] * 1.1L;
    else if (xi == 0)
        adjusted = 0.1L;
    else
        adjusted = s.x[i - 1] * 0.90909090909090909L;
    CheckFpu();
    s.x[i] = adjusted;
    grid.SetCell(0, i - 1, FormatCell(adjusted));
    NoteAdjusted(s, i, xi);
}

void CannotScale(QuilvexState& s) { s.MessageBuffer.Append(" * !! cannot scale !!"); }

}  // namespace

bool StillAdjusted(const QuilvexState& s, const AdjustedX& a)
{
    return a.point <= s.n && (SameBits(s.x[a.point], a.written) || SameBits(s.x[a.point], a.readBack));
}

ScaleResult ScaleGraph(QuilvexState& s, CellGrid& grid, int width, int height)
{
    if (s.MouseIsDown && s.PointPicked)
        return ScaleResult::Skipped;
    std::erase_if(s.AdjustedXs, [&s](const AdjustedX& a) { return s.NewFileLoaded || !StillAdjusted(s, a); });
    s.YMin = 1e200L;
    s.YMax = -1e200L;
    for (int i = 1; i <= s.n; ++i) {
        if (i > 1 && !(s.x[i - 1] < s.x[i]))
            MakeAscending(s, grid, i);
        if (s.YMin > s.y[i])
            s.YMin = s.y[i];
        if (s.YMax < s.y[i])
            s.YMax = s.y[i];
    }
    const Real uncovered = (100 - s.Cover) * 0.01L;
    s.MarginX = Round(width * uncovered);
    s.MarginY = Round(height * uncovered);
    if (s.x[s.n] == s.x[1] || s.YMax == s.YMin) {
        CannotScale(s);
        s.XScale = 1;
        s.YScale = 1;
    } else {
        // Each scale is stored as soon as it is formed: a fault in YScale
        // leaves the new XScale, which the next mouse press maps with.
        const Real xScale = (width - s.MarginX) / (s.x[s.n] - s.x[1]);
        CheckFpu();
        s.XScale = xScale;
        const Real yScale = (height - s.MarginY) / (s.YMax - s.YMin);
        CheckFpu();
        s.YScale = yScale;
    }
    if (std::fabs(s.XScale) < kTiny) {
        CannotScale(s);
        s.XScale = 1;
    }
    if (std::fabs(s.YScale) < kTiny) {
        CannotScale(s);
        s.YScale = 1;
    }
    const bool newFile = s.NewFileLoaded;
    if (newFile)
        s.SelectedPoint = 1;
    s.NewFileLoaded = false;
    return newFile ? ScaleResult::ScaledNewFile : ScaleResult::Scaled;
}

}  // namespace quilvex
