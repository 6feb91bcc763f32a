#pragma once
// A state holding the point table xs, ys (1-based as the program keeps it),
// with the FPU flags cleared.
#include <cstdint>
#include <vector>

#include "data/fpfault.h"
#include "data/state.h"

inline quilvex::QuilvexState Points(const std::vector<quilvex::Real>& xs, const std::vector<quilvex::Real>& ys)
{
    quilvex::ClearFpu();
    quilvex::QuilvexState s;
    s.n = static_cast<std::int32_t>(xs.size());
    for (int i = 1; i <= s.n; ++i) {
        s.x[i] = xs[static_cast<std::size_t>(i - 1)];
        s.y[i] = ys[static_cast<std::size_t>(i - 1)];
    }
    return s;
}
