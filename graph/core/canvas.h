#pragma once
// The drawing surface of the graph: a pen, a brush and integer pixels, as the
// replot uses them. The window's paint box implements it over an image; tests
// implement it by recording the calls.
#include <cstdint>

namespace quilvex {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color Black{0, 0, 0};
inline constexpr Color Yellow{255, 255, 0};
inline constexpr Color Green{0, 128, 0};
inline constexpr Color Red{255, 0, 0};
inline constexpr Color Purple{128, 0, 128};
inline constexpr Color Gray{128, 128, 128};
inline constexpr Color Blue{0, 0, 255};
inline constexpr Color Background{240, 255, 255};
inline constexpr Color Lime{0, 255, 0};
}  // namespace colors

enum class PenStyle { Solid, Dash };
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
