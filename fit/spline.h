#pragma once
// The natural cubic spline through the points in table order (interval i joins
// point i and point i + 1). It interpolates only: evaluation outside
// [x[1], x[n]] is clamped to the end point with a message.
#include "data/checked.h"
#include "data/messagetext.h"

namespace quilvex {

// Second derivatives d2[1..n] (d2[1] = d2[n] = 0). Interior row i, with
// hR = x[i+1] - x[i] and hL = x[i] - x[i-1] (each taken as 1 when below 1e-20
// in magnitude, with " * Cubic spline impossible!"), is the continuity
// equation divided by hR:
//   hL/hR M[i-1] + (hL/hR + 1) * 2 M[i] + M[i+1]
//     = (6 / hR) * ((y[i+1] - y[i]) / hR - (y[i] - y[i-1]) / hL)
// with the bits, messages and errors of the dense solver (fastsolve.h).
void SetUpSpline(int n, const RealArray& x, const RealArray& y, RealArray& d2, MessageText& messages);

// The spline at t, in the interval (x[k-1], x[k]] that holds t (t = x[1] in the
// first). With h = x[hi] - x[lo], a = x[hi] - t, b = t - x[lo], the sum
//   d2[lo] / (6 h) * (a a) a + d2[hi] / (6 h) * (b b) b
//   + (y[hi] / h - h d2[hi] (1/6)) b + (y[lo] / h - h d2[lo] (1/6)) a
// added left to right, (1/6) being a constant factor.
Real EvalSpline(int n, const RealArray& x, const RealArray& y, const RealArray& d2, Real t, MessageText& messages);

namespace literal {

// The set-up in its plain order of operations, which SetUpSpline gives bit for bit: the dense
// system solved by SolveLinearSystem. SetUpSpline's fallback, and what the
// identity tests hold it to.
void SetUpSpline(int n, const RealArray& x, const RealArray& y, RealArray& d2, MessageText& messages);

}  // namespace literal

}  // namespace quilvex
