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
    if (canvas_.Width() != width() || canvas_.Height() != height())
        canvas_.Resize(width(), height());
    return canvas_;
}

void PaintBox::ShowImage()
{
    canvas_.Finish();
    if (painting_)
        return;  // the paint event under way shows it
    showPending_ = true;
    update();
}

void PaintBox::paintEvent(QPaintEvent*)
{
    if (!showPending_ && !painting_ && onPaint) {
        painting_ = true;
        onPaint();
        painting_ = false;
    }
    showPending_ = false;
    canvas_.Finish();
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_.Image());
}

void PaintBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    canvas_.Resize(width(), height());
    showPending_ = false;
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
