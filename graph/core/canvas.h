#pragma once
// The drawing surface of the graph: a pen, a brush and integer pixels, as the
// replot uses them. The window's paint box implements it over an image; tests
// implement it by recording the calls.
#include "data/color.h"

namespace quilvex {

enum class PenStyle { Solid, Dash, DashDot };
enum class BrushStyle { Solid, Clear };

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual Color PenColor() const = 0;
    virtual void SetPenColor(Color c) = 0;
    virtual PenStyle GetPenStyle() const = 0;
    virtual void SetPenStyle(PenStyle s) = 0;
    virtual void SetBrushColor(Color c) = 0;
    virtual BrushStyle GetBrushStyle() const = 0;
    virtual void SetBrushStyle(BrushStyle s) = 0;
    virtual void FillRect(int left, int top, int right, int bottom) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Outline of the ellipse in the bounding rectangle (x1, y1)-(x2, y2).
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
};

}  // namespace quilvex
