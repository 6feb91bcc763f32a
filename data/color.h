#pragma once
// The colours of the graph: the pens of the curves, the axes and the points,
// and the background. The replot remembers a pen colour in the state.
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

}  // namespace quilvex
