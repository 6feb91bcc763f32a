#include "graph/core/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quilvex {

namespace {
constexpr Real kAxisReach = 32000;
}

void DrawAxes(Plotter& plot)
{
    QuilvexState& s = plot.State();
    Canvas& canvas = plot.Surface();
    s.SavedPenColor = canvas.PenColor();
    canvas.SetPenColor(colors::Blue);
    canvas.SetPenStyle(PenStyle::Dash);
    if (std::fabs(plot.XToPixel(0)) <= kAxisReach) {
        plot.MoveToValue(0, plot.PixelToY(0));
        plot.LineToValue(0, plot.PixelToY(canvas.Height()));
    }
    if (std::fabs(plot.YToPixel(0)) <= kAxisReach) {
        plot.MoveToValue(plot.PixelToX(0), 0);
        plot.LineToValue(plot.PixelToX(canvas.Width()), 0);
    }
    canvas.SetPenColor(s.SavedPenColor);
    canvas.SetPenStyle(PenStyle::Solid);
}

void DrawCircle(Canvas& canvas, int cx, int cy, int r)
{
    // A centre at the very end of the pixel range cannot be seen; its box would not fit in an int.
    constexpr long long kLimit = 2147483647LL;
    const long long far = std::max(std::llabs(static_cast<long long>(cx)), std::llabs(static_cast<long long>(cy)));
    if (far + r > kLimit)
        return;
    canvas.Ellipse(cx - r, cy - r, cx + r, cy + r);
}

void DrawPoints(Plotter& plot)
{
    QuilvexState& s = plot.State();
    Canvas& canvas = plot.Surface();
    const Color pen = canvas.PenColor();
    const BrushStyle brush = canvas.GetBrushStyle();
    canvas.SetBrushStyle(BrushStyle::Clear);
    for (int i = 1; i <= s.n; ++i) {
        const int px = Round(plot.XToPixel(s.x[i]));
        const int py = Round(plot.YToPixel(s.y[i]));
        if (i == s.SelectedPoint) {
            canvas.SetPenColor(colors::Red);
            DrawCircle(canvas, px, py, 4);
            DrawCircle(canvas, px, py, 5);
        } else {
            canvas.SetPenColor(colors::Blue);
            DrawCircle(canvas, px, py, 4);
        }
    }
    canvas.SetPenColor(pen);
    canvas.SetBrushStyle(brush);
}

}  // namespace quilvex
