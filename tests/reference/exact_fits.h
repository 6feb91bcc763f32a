#pragma once
// The fitting engine as first written: every power sum formed afresh, the
// spline solved by the dense Gauss-Jordan solver, n^2 quotients per Lagrange
// value, a CheckFpu after every operation. The fast forms in fit/ must give
// the same bits, messages and errors; these copies are what they are held to.
// Kept unchanged on purpose: do not optimise.
#include <memory>

#include "data/checked.h"
#include "graph/core/messagetext.h"

namespace quilvex::exact {

inline constexpr int MatrixRows = 300;
inline constexpr int MatrixColumns = MatrixRows + 1;

struct TAugmentedMatrix : Checked<Checked<Real, MatrixColumns>, MatrixRows> {};

inline std::unique_ptr<TAugmentedMatrix> NewAugmentedMatrix() { return std::make_unique<TAugmentedMatrix>(); }

void SolveLinearSystem(int N, TAugmentedMatrix& A, MessageText& messages);

Real SumXPower(int n, int p, const RealArray& x);
Real SumXPowerY(int n, int p, const RealArray& x, const RealArray& y);
void FitRegression(int n, int m, const RealArray& x, const RealArray& y, RealArray& coef, MessageText& messages);
Real EvalRegression(int m, const RealArray& coef, Real x);

void SetUpSpline(int n, const RealArray& x, const RealArray& y, RealArray& d2, MessageText& messages);
Real EvalSpline(int n, const RealArray& x, const RealArray& y, const RealArray& d2, Real t, MessageText& messages);

Real EvalLagrange(int n, const RealArray& x, const RealArray& y, Real t);
Real lagrange_ord(int order, int n, const RealArray& x, const RealArray& y, Real t, MessageText& messages);

}  // namespace quilvex::exact
