#include "ui/imagecanvas.h"

#include <QtMath>

#include "data/fpfault.h"
#include "ui/look.h"

namespace quilvex {

void ImageCanvas::Resize(int width, int height, qreal pixelRatio)
{
    Finish();
    width_ = width < 1 ? 1 : width;
    height_ = height < 1 ? 1 : height;
    image_ = QImage(qCeil(width_ * pixelRatio), qCeil(height_ * pixelRatio), QImage::Format_RGB32);
    image_.setDevicePixelRatio(pixelRatio);
    image_.fill(ToQColor(colors::Background));
    recorded_.Clear();
    DrawOp blank = Op(DrawOp::Kind::Fill);
    blank.rect = QRect(0, 0, width_, height_);
    blank.brush = colors::Background;
    recorded_.Add(blank);
}

DrawOp ImageCanvas::Op(DrawOp::Kind kind) const
{
    DrawOp op;
    op.kind = kind;
    op.pen = pen_;
    op.penStyle = penStyle_;
    op.brush = brush_;
    op.brushStyle = brushStyle_;
    return op;
}

void ImageCanvas::Finish() { painter_.reset(); }

QPainter& ImageCanvas::Painter()
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        ApplyPen();
        ApplyBrush();
    }
    return *painter_;
}

void ImageCanvas::ApplyPen()
{
    if (painter_)
        painter_->setPen(CanvasPen(pen_, penStyle_));
}

void ImageCanvas::ApplyBrush()
{
    if (!painter_)
        return;
    painter_->setBrush(brushStyle_ == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_)));
}

void ImageCanvas::SetPenColor(Color c)
{
    pen_ = c;
    ApplyPen();
}

void ImageCanvas::SetPenStyle(PenStyle s)
{
    penStyle_ = s;
    ApplyPen();
}

void ImageCanvas::SetBrushColor(Color c)
{
    brush_ = c;
    ApplyBrush();
}

void ImageCanvas::SetBrushStyle(BrushStyle s)
{
    brushStyle_ = s;
    ApplyBrush();
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom)
{
    FpuFlagsKeeper keep;
    DrawOp op = Op(DrawOp::Kind::Fill);
    op.rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    Painter().fillRect(op.rect, ToQColor(brush_));
    // A fill of the whole box starts a new picture.
    if (left <= 0 && top <= 0 && right >= width_ && bottom >= height_)
        recorded_.Clear();
    recorded_.Add(op);
}

void ImageCanvas::MoveTo(int x, int y) { position_ = QPoint(x, y); }

void ImageCanvas::LineTo(int x, int y)
{
    FpuFlagsKeeper keep;
    DrawOp op = Op(DrawOp::Kind::Line);
    op.from = position_;
    op.to = QPoint(x, y);
    Painter().drawLine(op.from, op.to);
    recorded_.Add(op);
    position_ = op.to;
}

void ImageCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    FpuFlagsKeeper keep;
    DrawOp op = Op(DrawOp::Kind::Ellipse);
    op.rect = QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
    Painter().drawEllipse(op.rect);
    recorded_.Add(op);
}

}  // namespace quilvex
