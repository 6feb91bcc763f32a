#pragma once
// The colour each method's curve is drawn in (the spline takes the pen's black).
#include "data/color.h"
#include "report/core/fitquality.h"

namespace quilvex {

constexpr Color CurveColor(FitMethod method)
{
    switch (method) {
    case FitMethod::Spline: return colors::Black;
    case FitMethod::Lagrange: return colors::Yellow;
    case FitMethod::LagrangeOrd: return colors::Green;
    case FitMethod::Regression: return colors::Red;
    case FitMethod::Exponential: return colors::Purple;
    case FitMethod::Logarithmic: return colors::Gray;
    case FitMethod::Power: return colors::Blue;
    }
    return colors::Black;
}

}  // namespace quilvex
