#pragma once
// Least-squares polynomial regression by the normal equations.
//
// Every power is the product chain t := x, then p - 1 times t := t * x, and
// every sum adds its terms in point order from 0: the rounding of every
// coefficient depends on exactly this work. FitRegression and EvalRegression
// share chains and sums where they are equal, which keeps every bit.
#include "data/checked.h"
#include "data/messagetext.h"

namespace quilvex {

// Sum over i = 1..n of x[i]^p, in point order from 0; p = 0 gives n itself.
Real SumXPower(int n, int p, const RealArray& x);
// Sum over i = 1..n of x[i]^p * y[i], in point order from 0; p = 0 gives the sum of y.
Real SumXPowerY(int n, int p, const RealArray& x, const RealArray& y);

// Fits y ~ coef[1] + coef[2] x + ... + coef[m+1] x^m to the n points:
// A[r][j] := SumXPower(n, r + j - 2), A[r][m+2] := SumXPowerY(n, r - 1),
// solved, coef[r] := A[r][m+2]. Entries of coef above m+1 are left alone.
void FitRegression(int n, int m, const RealArray& x, const RealArray& y, RealArray& coef, MessageText& messages);

// coef[1] + coef[2] x + ... + coef[m+1] x^m, summed term by term from coef[1]
// (not by Horner's rule); m < 1 gives coef[1].
Real EvalRegression(int m, const RealArray& coef, Real x);

// The forms in their plain order of operations, which the ones above give bit for bit: the
// fallback of the fast fit, and what the identity tests hold both to.
namespace literal {

// Every element of the normal equations its own SumXPower / SumXPowerY,
// solved by SolveLinearSystem.
void FitRegression(int n, int m, const RealArray& x, const RealArray& y, RealArray& coef, MessageText& messages);
// Every term's power formed afresh.
Real EvalRegression(int m, const RealArray& coef, Real x);

}  // namespace literal

}  // namespace quilvex
