#include "graph/core/bands.h"

#include <algorithm>
#include <cmath>

namespace quilvex {

namespace {

constexpr Real kFarBeyond = 1e5L;  // pixels: a band this far off the box is not drawn there

struct Pattern {
    Real on, off;
};

Pattern PatternOf(BandStroke stroke)
{
    switch (stroke) {
    case BandStroke::Dashed: return {6, 4};
    case BandStroke::Dotted: return {1, 3};
    case BandStroke::LongDashed: return {16, 5};
    }
    return {1, 0};
}

struct Point {
    Real x = 0, y = 0;
};

// Walks the pieces of a polyline in pixels, drawing the "on" parts of the pattern.
class PatternPen {
public:
    PatternPen(Canvas& canvas, Pattern pattern) : canvas_(canvas), pattern_(pattern) {}

    void Break() { started_ = false; }

    void To(Point p)
    {
        if (started_)
            Segment(last_, p);
        last_ = p;
        started_ = true;
    }

private:
    void Segment(Point a, Point b)
    {
        const Real length = std::hypot(b.x - a.x, b.y - a.y);
        Real done = 0;
        while (done < length) {
            const Real left = (on_ ? pattern_.on : pattern_.off) - phase_;
            const Real step = std::min(left, length - done);
            if (on_)
                Line(At(a, b, done / length), At(a, b, (done + step) / length));
            done += step;
            phase_ += step;
            if (phase_ >= (on_ ? pattern_.on : pattern_.off)) {
                phase_ = 0;
                on_ = !on_;
            }
        }
    }

    static Point At(Point a, Point b, Real f) { return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f}; }

    void Line(Point a, Point b)
    {
        canvas_.MoveTo(static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)));
        canvas_.LineTo(static_cast<int>(std::lround(b.x)), static_cast<int>(std::lround(b.y)));
    }

    Canvas& canvas_;
    Pattern pattern_;
    Point last_{0, 0};
    bool started_ = false;
    bool on_ = true;
    Real phase_ = 0;
};

}  // namespace

std::vector<Real> BandArguments(Plotter& plot)
{
    const FpuFlagsKeeper keep;
    std::vector<Real> xs;
    const int width = plot.Surface().Width();
    for (int column = 0; column <= width; column += 2)
        xs.push_back(plot.PixelToX(column));
    return xs;
}

void DrawBandLines(Plotter& plot, const std::vector<BandLine>& lines)
{
    const FpuFlagsKeeper keep;
    Canvas& canvas = plot.Surface();
    const Color pen = canvas.PenColor();
    const PenStyle style = canvas.GetPenStyle();
    canvas.SetPenStyle(PenStyle::Solid);
    for (const BandLine& line : lines) {
        canvas.SetPenColor(line.color);
        PatternPen pattern(canvas, PatternOf(line.stroke));
        for (std::size_t i = 0; i < line.x.size(); ++i) {
            const Point p{plot.XToPixel(line.x[i]), plot.YToPixel(line.y[i])};
            if (std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < kFarBeyond && std::fabs(p.y) < kFarBeyond)
                pattern.To(p);
            else
                pattern.Break();
        }
    }
    canvas.SetPenColor(pen);
    canvas.SetPenStyle(style);
}

}  // namespace quilvex
