#pragma once
// A canvas that records every drawing call, for checking what a replot drew.
#include <string>
#include <vector>

#include "graph/core/canvas.h"

namespace quilvex::testing {

struct CanvasOp {
    enum Kind { Fill, Move, Line, Ellipse } kind;
    int a = 0, b = 0, c = 0, d = 0;  // Move/Line: (a, b); Fill/Ellipse: (a, b)-(c, d)
    Color pen;
    PenStyle penStyle = PenStyle::Solid;
    Color brush;
};

class RecordingCanvas : public Canvas {
public:
    RecordingCanvas(int width = 538, int height = 402) : width_(width), height_(height) {}

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    Color PenColor() const override { return pen_; }
    void SetPenColor(Color c) override { pen_ = c; }
    PenStyle GetPenStyle() const override { return penStyle_; }
    void SetPenStyle(PenStyle s) override { penStyle_ = s; }
    void SetBrushColor(Color c) override { brush_ = c; }
    BrushStyle GetBrushStyle() const override { return brushStyle_; }
    void SetBrushStyle(BrushStyle s) override { brushStyle_ = s; }
    void FillRect(int l, int t, int r, int b) override { Record(CanvasOp::Fill, l, t, r, b); }
    void MoveTo(int x, int y) override { Record(CanvasOp::Move, x, y); }
    void LineTo(int x, int y) override { Record(CanvasOp::Line, x, y); }
    void Ellipse(int x1, int y1, int x2, int y2) override { Record(CanvasOp::Ellipse, x1, y1, x2, y2); }

    void Resize(int width, int height) { width_ = width; height_ = height; }
    std::vector<CanvasOp> ops;

    int Count(CanvasOp::Kind kind) const
    {
        int count = 0;
        for (const CanvasOp& op : ops)
            count += op.kind == kind;
        return count;
    }

private:
    void Record(CanvasOp::Kind kind, int a, int b, int c = 0, int d = 0)
    {
        ops.push_back(CanvasOp{kind, a, b, c, d, pen_, penStyle_, brush_});
    }

    int width_, height_;
    Color pen_ = colors::Black;
    PenStyle penStyle_ = PenStyle::Solid;
    Color brush_ = colors::Background;
    BrushStyle brushStyle_ = BrushStyle::Solid;
};

}  // namespace quilvex::testing
