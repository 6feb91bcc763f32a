#pragma once
// The graph's canvas over an image: pen and brush state that outlives each
// painting session, integer pixels, no antialiasing. The image may hold more
// device pixels than the canvas has pixels (a high-density screen): drawing
// and sizes stay in the canvas's own pixels. What was drawn since the box was
// last filled whole is kept as a display list.
#include <QImage>
#include <QPainter>
#include <memory>

#include "graph/core/canvas.h"
#include "ui/displaylist.h"

namespace quilvex {

class ImageCanvas : public Canvas {
public:
    QImage& Image() { return image_; }
    // A new, blank image of width x height pixels, each pixelRatio device
    // pixels wide; the pen, brush and current position stay.
    void Resize(int width, int height, qreal pixelRatio = 1);
    // Ends the painting session so the image can be shown.
    void Finish();

    qreal PixelRatio() const { return image_.devicePixelRatio(); }
    // Everything drawn since the last fill of the whole box (or the resize).
    const DisplayList& Recorded() const { return recorded_; }

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    Color PenColor() const override { return pen_; }
    void SetPenColor(Color c) override;
    PenStyle GetPenStyle() const override { return penStyle_; }
    void SetPenStyle(PenStyle s) override;
    void SetBrushColor(Color c) override;
    BrushStyle GetBrushStyle() const override { return brushStyle_; }
    void SetBrushStyle(BrushStyle s) override;
    void FillRect(int left, int top, int right, int bottom) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;

private:
    QPainter& Painter();
    void ApplyPen();
    void ApplyBrush();
    DrawOp Op(DrawOp::Kind kind) const;

    QImage image_{1, 1, QImage::Format_RGB32};
    int width_ = 1, height_ = 1;
    DisplayList recorded_;
    std::unique_ptr<QPainter> painter_;
    Color pen_ = colors::Black;
    PenStyle penStyle_ = PenStyle::Solid;
    Color brush_ = colors::Background;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    QPoint position_;
};

}  // namespace quilvex
