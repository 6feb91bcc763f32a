#pragma once
// Mapping between data values and the pixels of the paint box, the two drawing
// primitives that take data values, and the curve tracing contract.
//
//   XToPixel(x) = (x - x[1]) * XScale + MarginX div 2   (x[1] as at the press during a drag)
//   YToPixel(y) = H - ((y - YMin) * YScale + MarginY div 2)
//   PixelToX(p) = (p - MarginX div 2) / XScale + x[1]
//   PixelToY(p) = ((H - p) - MarginY div 2) / YScale + YMin
#include <functional>
#include <vector>

#include "data/state.h"
#include "graph/core/canvas.h"

namespace quilvex {

class Plotter {
public:
    Plotter(QuilvexState& state, Canvas& canvas) : s_(state), canvas_(canvas) {}

    Real XToPixel(Real x) const;
    Real YToPixel(Real y) const;
    Real PixelToX(Real p) const;
    Real PixelToY(Real p) const;

    // Both reject a pixel beyond +-2e9 with " * plot value too large".
    void MoveToValue(Real x, Real y);
    // Draws only when the rounded pixel differs from LastPixel.
    void LineToValue(Real x, Real y);

    // The tracing contract: one move to (start, f(start)), then line-tos at
    // PlotX = start + k * PlotStep (by repeated addition) while PlotX < end,
    // at least once, and a last line-to (end, f(end)). PlotStep is
    // (end - start) / PlotPoints. A step too small to change PlotX ends the
    // stepping. The pen colour is left to the caller.
    void TraceCurve(Real start, Real end, const std::function<Real(Real)>& f);
    // The arguments TraceCurve(start, end, ...) will ask for, at most `limit`
    // of them: cut short where forming them raises a fault, which TraceCurve
    // meets itself. The fault flags are left as they were.
    std::vector<Real> TraceArguments(Real start, Real end, std::size_t limit) const;

    void AppendMessage(std::string_view text) { s_.MessageBuffer.Append(text); }
    QuilvexState& State() { return s_; }
    Canvas& Surface() { return canvas_; }

private:
    // x[1], or while a point is dragged the x[1] of the moment it was picked.
    Real XOrigin() const;
    bool ToPixel(Real x, Real y, Pixel& out);

    QuilvexState& s_;
    Canvas& canvas_;
};

}  // namespace quilvex
