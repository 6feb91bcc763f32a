#pragma once
// The picture of the last replot as the drawing operations that made it, so
// that it can be painted again on any device (an image of another size, an
// SVG file) without running the replot again.
#include <QPainter>
#include <vector>

#include "graph/core/canvas.h"

namespace quilvex {

struct DrawOp {
    enum class Kind { Fill, Line, Ellipse };
    Kind kind = Kind::Fill;
    QRect rect;       // Fill and Ellipse, in the form QPainter takes
    QPoint from, to;  // Line
    Color pen = colors::Black;
    PenStyle penStyle = PenStyle::Solid;
    Color brush = colors::Background;
    BrushStyle brushStyle = BrushStyle::Solid;
};

class DisplayList {
public:
    void Clear() { ops_.clear(); }
    void Add(const DrawOp& op) { ops_.push_back(op); }

    enum class Lines {
        AsDrawn,  // one drawLine per line: the same pixels as the canvas drew
        Joined,   // runs of connected lines in one pen as one polyline (vector output)
    };
    void Replay(QPainter& painter, Lines lines) const;

private:
    std::vector<DrawOp> ops_;
};

// The pen the canvas draws with: one pixel wide, solid or dashed.
QPen CanvasPen(Color color, PenStyle style);

}  // namespace quilvex
