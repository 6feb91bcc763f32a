#include "data/fpfault.h"

#include <cfenv>
#include <cmath>

namespace quilvex {

namespace {
constexpr int kFaults = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;
}

void ClearFpu() { std::feclearexcept(FE_ALL_EXCEPT); }

void CheckFpu()
{
    const int raised = std::fetestexcept(kFaults);
    if (raised == 0)
        return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (raised & FE_OVERFLOW)
        throw QuilvexError(kOverflowText);
    if (raised & FE_DIVBYZERO)
        throw QuilvexError(kDivByZeroText);
    throw QuilvexError(kInvalidText);
}

FpuFlagsKeeper::FpuFlagsKeeper() : saved_(std::fetestexcept(kFaults)) {}

FpuFlagsKeeper::~FpuFlagsKeeper()
{
    std::feclearexcept(FE_ALL_EXCEPT);
    if (saved_ != 0)
        std::feraiseexcept(saved_);
}

Real Ln(Real v)
{
    CheckFpu();
    if (!(v > 0))
        throw QuilvexError(kInvalidText);
    const Real r = std::log(v);
    CheckFpu();
    return r;
}

Real Exp(Real v)
{
    CheckFpu();
    const Real r = std::exp(v);
    CheckFpu();
    return r;
}

std::int32_t Round(Real v)
{
    CheckFpu();
    // 2^31 - 0.5 rounds to 2^31 under halves-to-even, so the bound is strict.
    if (!(v >= -2147483648.5L && v < 2147483647.5L))
        throw QuilvexError(kInvalidText);
    // The default rounding mode: to nearest, ties to even. Only the inexact
    // flag, which no check looks at, can be raised.
    return static_cast<std::int32_t>(std::lrint(v));
}

}  // namespace quilvex
