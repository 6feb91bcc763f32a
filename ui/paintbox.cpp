#include "ui/paintbox.h"

#include <QMouseEvent>
#include <QPainter>

namespace quilvex {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.Resize(width(), height());
}

ImageCanvas& PaintBox::PreparedCanvas()
{
    if (canvas_.Width() != width() || canvas_.Height() != height() || canvas_.PixelRatio() != devicePixelRatioF())
        canvas_.Resize(width(), height(), devicePixelRatioF());
    return canvas_;
}

void PaintBox::ShowImage()
{
    canvas_.Finish();
    if (painting_)
        return;  // the paint event under way shows it
    // Painted at once, so that this paint event is known to be ours: every
    // other one comes from the window system and asks for a new picture.
    showing_ = true;
    repaint();
    showing_ = false;
}

void PaintBox::paintEvent(QPaintEvent*)
{
    if (!showing_ && !painting_ && onPaint) {
        painting_ = true;
        onPaint();
        painting_ = false;
    }
    canvas_.Finish();
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_.Image());
}

void PaintBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    canvas_.Resize(width(), height(), devicePixelRatioF());
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    if (onMouseMove)
        onMouseMove(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (onMouseUp)
        onMouseUp(event);
}

}  // namespace quilvex
