#include "ui/paintbox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ui/look.h"

namespace quilvex {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.Resize(width(), height());
    // Moves without a button held reach the mouse handler too.
    setMouseTracking(true);
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
    repaint();
}

void PaintBox::paintEvent(QPaintEvent*)
{
    canvas_.Finish();
    QPainter painter(this);
    const QImage& image = canvas_.Image();
    painter.drawImage(0, 0, image);
    // Between a resize and the replot it asks for, the box may be larger than the picture.
    const QColor background = ToQColor(colors::Background);
    if (width() > image.width())
        painter.fillRect(image.width(), 0, width() - image.width(), height(), background);
    if (height() > image.height())
        painter.fillRect(0, image.height(), width(), height() - image.height(), background);
}

void PaintBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (onResized)
        onResized();
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    DeliverPendingMove();
    if (event->button() == Qt::RightButton && onRightPress) {
        onRightPress(event->position().toPoint());
        return;
    }
    if (onMouseDown)
        onMouseDown(event->position().toPoint());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    pendingMove_ = event->position().toPoint();
    if (moveQueued_)
        return;
    moveQueued_ = true;
    QTimer::singleShot(0, this, [this] { DeliverPendingMove(); });
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    DeliverPendingMove();
    if (event->button() == Qt::RightButton && onRightPress)
        return;
    if (onMouseUp)
        onMouseUp(event->position().toPoint());
}

void PaintBox::DeliverPendingMove()
{
    if (!moveQueued_)
        return;
    moveQueued_ = false;
    if (onMouseMove)
        onMouseMove(pendingMove_);
}

}  // namespace quilvex
