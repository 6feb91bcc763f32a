#include "graph/core/plotter.h"

#include "graph/core/setaside.h"

#include <cmath>

#include "fit/fastpath.h"

namespace quilvex {

namespace {
constexpr Real kPixelLimit = 2e9L;
}

Real Plotter::XOrigin() const { return s_.MouseIsDown && s_.PointPicked ? s_.DragOrigin : ShownXOrigin(s_); }

Real Plotter::XToPixel(Real x) const { return (x - XOrigin()) * s_.XScale + (s_.MarginX / 2); }

Real Plotter::YToPixel(Real y) const
{
    return canvas_.Height() - ((y - s_.YMin) * s_.YScale + (s_.MarginY / 2));
}

Real Plotter::PixelToX(Real p) const { return (p - (s_.MarginX / 2)) / s_.XScale + XOrigin(); }

Real Plotter::PixelToY(Real p) const
{
    return ((canvas_.Height() - p) - (s_.MarginY / 2)) / s_.YScale + s_.YMin;
}

bool Plotter::ToPixel(Real x, Real y, Pixel& out)
{
    // X is mapped first, so a fault of its mapping is the one reported.
    const Real px = XToPixel(x);
    CheckFpu();
    const Real py = YToPixel(y);
    CheckFpu();
    if (std::fabs(px) > kPixelLimit || std::fabs(py) > kPixelLimit) {
        AppendMessage(" * plot value too large");
        return false;
    }
    out = Pixel{Round(px), Round(py)};
    return true;
}

void Plotter::MoveToValue(Real x, Real y)
{
    Pixel p;
    if (!ToPixel(x, y, p))
        return;
    canvas_.MoveTo(p.x, p.y);
    s_.LastPixel = Pixel{};
}

void Plotter::LineToValue(Real x, Real y)
{
    Pixel p;
    if (!ToPixel(x, y, p))
        return;
    if (p != s_.LastPixel)
        canvas_.LineTo(p.x, p.y);
    s_.LastPixel = p;
}

std::vector<Real> Plotter::TraceArguments(Real start, Real end, std::size_t limit) const
{
    const FpuFlagsKeeper keeper;
    ClearFpu();
    std::vector<Real> arguments{start};
    const Real step = (end - start) / s_.PlotPoints;
    Real plotX = start + step;
    Real previous;
    bool more;
    do {
        arguments.push_back(plotX);
        previous = plotX;
        plotX = plotX + step;
        more = plotX < end && plotX != previous;
        if (FaultFlagged() || arguments.size() >= limit)
            return arguments;
    } while (more);
    arguments.push_back(end);
    return arguments;
}

void Plotter::TraceCurve(Real start, Real end, const std::function<Real(Real)>& f)
{
    s_.PlotXStart = start;
    s_.PlotXEnd = end;
    MoveToValue(start, f(start));
    s_.PlotStep = (end - start) / s_.PlotPoints;
    s_.PlotX = start + s_.PlotStep;
    Real previous;
    do {
        LineToValue(s_.PlotX, f(s_.PlotX));
        previous = s_.PlotX;
        s_.PlotX = s_.PlotX + s_.PlotStep;
        CheckFpu();
        // A step below the resolution of PlotX would never reach the end.
    } while (s_.PlotX < end && s_.PlotX != previous);
    LineToValue(end, f(end));
}

}  // namespace quilvex
