#pragma once
// What the fast forms of the fits rely on to behave exactly as the literal
// forms do.
//
// The fast forms check the fault flags once per stage instead of after every
// operation. That is exact when every operand is a finite number: then the
// first fault of any stage is an overflow (an invalid operation or a division
// by zero needs an infinity, a NaN or a zero divisor first, and the divisors of
// the solvers are never zero), so the text is the same, and nothing visible
// happens in between. Tables that hold an infinity or a NaN, or calls made
// while a fault is already flagged, take the literal forms.
#include "data/checked.h"

namespace quilvex {

// An overflow, a division by zero or an invalid operation is flagged.
bool FaultFlagged();

// v[1..n] are all finite numbers (true for n < 1).
bool AllFinite(int n, const RealArray& v);

}  // namespace quilvex
