#pragma once
// The exponential (y = a e^(b x)), logarithmic (y = a + b ln x) and power
// (y = a x^b) fits: least squares made linear by natural logarithms.
//
// With N the point count and D the determinant of the normal system:
//   exp:   D = N SumXX - SumX^2
//          a = e^((SumXX SumLnY - SumX SumXLnY) / D),    b = (N SumXLnY - SumX SumLnY) / D
//   log:   D = N SumLnX2 - SumLnX^2
//          a = (SumLnX2 SumY - SumLnX SumYLnX) / D,       b = (N SumYLnX - SumLnX SumY) / D
//   power: D = N SumLnX2 - SumLnX^2
//          a = e^((SumLnX2 SumLnY - SumLnX SumLnXLnY) / D), b = (N SumLnXLnY - SumLnX SumLnY) / D
// |D| <= 1e-20 adds " * Det zero for <fit>!" and makes the pair 1, 1.
#include "data/state.h"

namespace quilvex {

// The nine sums over the point table. A term that needs the logarithm of a
// value that is not positive is left out, and the point adds, for each enabled
// method in the order exp, log, power, its domain message.
void ComputeFitSums(QuilvexState& s);

// Each stores FitDet, then its coefficient pair.
void SolveExpFit(QuilvexState& s);
void SolveLogFit(QuilvexState& s);
void SolvePowerFit(QuilvexState& s);

// e^(exponent * ln base); base must be positive.
Real RaiseToPower(Real base, Real exponent);

// ExpA e^(ExpB x), for any x.
Real ExpFitValue(const QuilvexState& s, Real x);
// LogA + LogB ln x, for x > 0.
Real LogFitValue(const QuilvexState& s, Real x);
// PowerA RaiseToPower(x, PowerB), for x > 0.
Real PowerFitValue(const QuilvexState& s, Real x);

}  // namespace quilvex
