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
    std::function<void(QMouseEvent*)> onMouseDown, onMouseMove, onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ImageCanvas canvas_;
};

}  // namespace quilvex
