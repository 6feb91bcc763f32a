#pragma once
// Fixed-capacity arrays numbered from 1, as the data set and the fits use them.
// An index outside 1..N raises "Range check error".
#include <array>
#include <cstdint>

#include "data/fpfault.h"

namespace quilvex {

inline constexpr int MaxPoints = 300;

template <typename T, int N = MaxPoints>
class Checked {
public:
    T& operator[](int i)
    {
        if (i < 1 || i > N)
            throw QuilvexError(kRangeCheckText);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    const T& operator[](int i) const
    {
        if (i < 1 || i > N)
            throw QuilvexError(kRangeCheckText);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    // Unchecked access for loops whose bounds are already within 1..N.
    T* data() { return items_.data(); }
    const T* data() const { return items_.data(); }
    static constexpr int size() { return N; }

private:
    std::array<T, N> items_{};
};

using RealArray = Checked<Real>;

}  // namespace quilvex
