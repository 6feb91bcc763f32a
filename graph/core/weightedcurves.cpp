#include "graph/core/weightedcurves.h"

#include <cmath>

namespace quilvex {

namespace {

constexpr Real kPixelReach = 32000;

std::optional<int> PixelOf(const Plotter& plot, const std::optional<Real>& value)
{
    if (!value)
        return std::nullopt;
    const Real py = plot.YToPixel(*value);
    if (!(std::fabs(py) <= kPixelReach))
        return std::nullopt;
    return static_cast<int>(std::lrint(py));  // within reach: no fault to check
}

}  // namespace

void TraceDashDotted(Plotter& plot, Color color, const std::function<std::optional<Real>(Real)>& value)
{
    const FpuFlagsKeeper keep;
    Canvas& canvas = plot.Surface();
    const Color pen = canvas.PenColor();
    const PenStyle style = canvas.GetPenStyle();
    canvas.SetPenStyle(PenStyle::DashDot);
    canvas.SetPenColor(color);
    bool drawing = false;
    for (int px = 0; px <= canvas.Width(); ++px) {
        const std::optional<int> py = PixelOf(plot, value(plot.PixelToX(px)));
        if (py && drawing)
            canvas.LineTo(px, *py);
        else if (py)
            canvas.MoveTo(px, *py);
        drawing = py.has_value();
    }
    canvas.SetPenColor(pen);
    canvas.SetPenStyle(style);
}

}  // namespace quilvex
