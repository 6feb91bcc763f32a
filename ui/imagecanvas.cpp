#include "ui/imagecanvas.h"

#include "data/fpfault.h"
#include "ui/look.h"

namespace quilvex {

void ImageCanvas::Resize(int width, int height)
{
    Finish();
    image_ = QImage(width < 1 ? 1 : width, height < 1 ? 1 : height, QImage::Format_RGB32);
    image_.fill(ToQColor(colors::Background));
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
    if (!painter_)
        return;
    QPen pen(ToQColor(pen_));
    pen.setWidth(1);
    pen.setStyle(penStyle_ == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
    painter_->setPen(pen);
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
    Painter().fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), ToQColor(brush_));
}

void ImageCanvas::MoveTo(int x, int y) { position_ = QPoint(x, y); }

void ImageCanvas::LineTo(int x, int y)
{
    FpuFlagsKeeper keep;
    const QPoint to(x, y);
    Painter().drawLine(position_, to);
    position_ = to;
}

void ImageCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    FpuFlagsKeeper keep;
    Painter().drawEllipse(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

}  // namespace quilvex
