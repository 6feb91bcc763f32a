#include "ui/displaylist.h"

#include <QPolygon>

#include "ui/look.h"

namespace quilvex {

namespace {

bool SamePen(const DrawOp& a, const DrawOp& b) { return a.pen == b.pen && a.penStyle == b.penStyle; }

QBrush BrushOf(const DrawOp& op)
{
    return op.brushStyle == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(op.brush));
}

// Draws the run of lines that starts at ops[first], each continuing where the
// one before ended in the same pen; returns the index after the run.
std::size_t DrawLineRun(QPainter& painter, const std::vector<DrawOp>& ops, std::size_t first)
{
    QPolygon run{ops[first].from, ops[first].to};
    std::size_t next = first + 1;
    for (; next < ops.size(); ++next) {
        const DrawOp& op = ops[next];
        if (op.kind != DrawOp::Kind::Line || !SamePen(op, ops[first]) || op.from != run.last())
            break;
        run << op.to;
    }
    painter.setPen(CanvasPen(ops[first].pen, ops[first].penStyle));
    painter.drawPolyline(run);
    return next;
}

}  // namespace

QPen CanvasPen(Color color, PenStyle style)
{
    QPen pen(ToQColor(color));
    pen.setWidth(1);
    pen.setStyle(style == PenStyle::Dash      ? Qt::DashLine
                 : style == PenStyle::DashDot ? Qt::DashDotLine
                                              : Qt::SolidLine);
    return pen;
}

void DisplayList::Replay(QPainter& painter, Lines lines) const
{
    for (std::size_t i = 0; i < ops_.size();) {
        const DrawOp& op = ops_[i];
        if (op.kind == DrawOp::Kind::Line && lines == Lines::Joined) {
            i = DrawLineRun(painter, ops_, i);
            continue;
        }
        switch (op.kind) {
        case DrawOp::Kind::Fill: painter.fillRect(op.rect, ToQColor(op.brush)); break;
        case DrawOp::Kind::Line:
            painter.setPen(CanvasPen(op.pen, op.penStyle));
            painter.drawLine(op.from, op.to);
            break;
        case DrawOp::Kind::Ellipse:
            painter.setPen(CanvasPen(op.pen, op.penStyle));
            painter.setBrush(BrushOf(op));
            painter.drawEllipse(op.rect);
            break;
        }
        ++i;
    }
}

}  // namespace quilvex
