#pragma once
// The error model: one error type that carries its text, and the detection of
// arithmetic faults in 80-bit extended arithmetic.
//
// Faults are detected by testing the floating-point status flags. Every routine
// that stores a result where others can see it (a program-wide variable, a grid
// cell, the message buffer) calls CheckFpu() first, so a fault ends the routine
// before anything after the faulting operation becomes visible, as a trapping
// unit would.
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

static_assert(std::numeric_limits<long double>::digits == 64,
              "Quilvex computes in 80-bit extended precision (64-bit mantissa)");

namespace quilvex {

using Real = long double;

class QuilvexError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kOverflowText = "Floating point overflow";
inline constexpr const char* kDivByZeroText = "Floating point division by zero";
inline constexpr const char* kInvalidText = "Invalid floating point operation";
inline constexpr const char* kRangeCheckText = "Range check error";

// Forgets any fault flagged so far (call at the start of a guarded operation).
void ClearFpu();
// Raises the error of a flagged overflow, division by zero or invalid operation.
// When more than one is flagged, the one that must have come first is reported:
// an overflow or a division by zero before the invalid operation it led to.
void CheckFpu();

// Keeps the fault flags of the calculation intact across foreign code (drawing,
// dialogs) that may leave flags of its own.
class FpuFlagsKeeper {
public:
    FpuFlagsKeeper();
    ~FpuFlagsKeeper();
    FpuFlagsKeeper(const FpuFlagsKeeper&) = delete;
    FpuFlagsKeeper& operator=(const FpuFlagsKeeper&) = delete;

private:
    int saved_;
};

// Natural logarithm; a value that is not positive is an invalid operation.
Real Ln(Real v);
// e^v; an overflow raises its error.
Real Exp(Real v);
// Round to the nearest integer, halves to even; a value outside the 32-bit
// range (or not a number) is an invalid operation.
std::int32_t Round(Real v);

}  // namespace quilvex
