#pragma once
// The graph's canvas over an image: pen and brush state that outlives each
// painting session, integer pixels, no antialiasing.
#include <QImage>
#include <QPainter>
#include <memory>

#include "graph/core/canvas.h"

namespace quilvex {

class ImageCanvas : public Canvas {
public:
    QImage& Image() { return image_; }
    // A new, blank image; the pen, brush and current position stay.
    void Resize(int width, int height);
    // Ends the painting session so the image can be shown.
    void Finish();

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
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

    QImage image_{1, 1, QImage::Format_RGB32};
    std::unique_ptr<QPainter> painter_;
    Color pen_ = colors::Black;
    PenStyle penStyle_ = PenStyle::Solid;
    Color brush_ = colors::Background;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    QPoint position_;
};

}  // namespace quilvex
