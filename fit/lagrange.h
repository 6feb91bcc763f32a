#pragma once
// Lagrange interpolation straight from the point table, with no set-up and no
// state. Over a window of points lo..hi:
//   sum := 0; for i: L := 1; for j != i: L := ((t - x[j]) / (x[i] - x[j])) * L;
//   sum := sum + L * y[i]
// factor by factor in ascending order. Two equal x in the window divide by
// zero ("Floating point division by zero", or an invalid operation for 0/0).
#include "data/checked.h"
#include "data/messagetext.h"

namespace quilvex {

// The polynomial through all n points; extrapolates silently outside the data.
Real EvalLagrange(int n, const RealArray& x, const RealArray& y, Real t);

// The polynomial of the given order (clamped to 2..n-1) through the order + 1
// consecutive points around t: k is the first index from 2 with x[k] >= t
// (n + 1 if none), lo := k - (order + 1) div 2, hi := lo + order, the window
// then shifted inside 1..n. Outside [x[1], x[n]] it adds a message and
// extrapolates with the end window.
Real lagrange_ord(int order, int n, const RealArray& x, const RealArray& y, Real t, MessageText& messages);

// While point p alone moves (a drag), every basis product of the all-points
// sum but p's own keeps its factors before point p's; while x[p] stays, every
// whole basis product stays. Point i's are kept in before[i - 1] and
// after[i - 1]. Each of these is EvalLagrange, bit for bit:
// - EvalLagrangeKeeping forms both kinds;
// - EvalLagrangeFrom takes `before` kept at the same t for a table that differs
//   at most in point p, and forms `after`;
// - EvalLagrangeOfProducts takes `after` kept at the same t for a table that
//   differs at most in y[p].
// `usable` tells whether what was formed came without a fault.
struct KeptBasis {
    Real* before;
    Real* after;
};
Real EvalLagrangeKeeping(int n, const RealArray& x, const RealArray& y, Real t, int p, KeptBasis kept, bool& usable);
Real EvalLagrangeFrom(int n, const RealArray& x, const RealArray& y, Real t, int p, KeptBasis kept, bool& usable);
Real EvalLagrangeOfProducts(int n, const RealArray& x, const RealArray& y, Real t, const Real* after);

// The same with the sum in its plain order, n^2 quotients each checked as it is
// formed, which the forms above give bit for bit: their fallback after a
// fault, and what the identity tests hold them to.
namespace literal {

Real EvalLagrange(int n, const RealArray& x, const RealArray& y, Real t);
Real lagrange_ord(int order, int n, const RealArray& x, const RealArray& y, Real t, MessageText& messages);

}  // namespace literal

}  // namespace quilvex
