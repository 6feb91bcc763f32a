#pragma once
// A drawing surface that shows the picture its owner drew last. Painting never
// draws anew: a repaint asked for by the window system only shows the kept
// image, and a change of size is announced so that the owner can replot
// outside the paint event.
#include <QWidget>
#include <functional>

#include "ui/imagecanvas.h"

namespace quilvex {

class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);

    ImageCanvas& Canvas() { return canvas_; }
    // The canvas, its image sized to the box as it is now.
    ImageCanvas& PreparedCanvas();
    // Shows the image just drawn.
    void ShowImage();

    std::function<void()> onResized;
    // Mouse positions in the box's own pixels. Moves are handed on after the
    // events already waiting, only the latest of several: a drag follows the
    // pointer rather than replaying where it was while a replot ran.
    std::function<void(QPoint)> onMouseDown, onMouseMove, onMouseUp;
    // The right button, when set: its press goes here instead of onMouseDown, its release nowhere.
    std::function<void(QPoint)> onRightPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DeliverPendingMove();

    ImageCanvas canvas_;
    QPoint pendingMove_;
    bool moveQueued_ = false;
};

}  // namespace quilvex
