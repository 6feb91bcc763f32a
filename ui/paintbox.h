#pragma once
// A drawing surface whose picture is always rebuilt by its paint handler: a
// repaint asked for by the window system runs the handler, which draws into
// the canvas image and then shows it with ShowImage(). The picture is never
// kept as a cache of an earlier state.
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
    // Shows the image just drawn, without a new replot.
    void ShowImage();

    std::function<void()> onPaint;
    std::function<void(QMouseEvent*)> onMouseDown, onMouseMove, onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ImageCanvas canvas_;
    bool showing_ = false;
    bool painting_ = false;
};

}  // namespace quilvex
