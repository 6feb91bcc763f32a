#pragma once
// The one dense linear solver, shared by the regression and the cubic spline.
//
// Gauss-Jordan elimination without pivot search: rows are never exchanged and
// the diagonal element is always the pivot. A pivot below 1e-20 in magnitude
// adds " * Can't solve : matrix singular!" (at most once per row) and is taken
// as 1, so the solver always delivers numbers.
#include <memory>

#include "data/checked.h"
#include "data/messagetext.h"

namespace quilvex {

inline constexpr int MatrixRows = 300;
inline constexpr int MatrixColumns = MatrixRows + 1;

// A system of N equations occupies rows 1..N and columns 1..N+1 (column N+1 is
// the right-hand side, and holds the solution on return). About 1.4 MB: a fit
// allocates one on the heap for the duration of the call.
struct TAugmentedMatrix : Checked<Checked<Real, MatrixColumns>, MatrixRows> {};

inline std::unique_ptr<TAugmentedMatrix> NewAugmentedMatrix() { return std::make_unique<TAugmentedMatrix>(); }

// For each pivot row i: for j = i+1..N+1 { test the pivot; A[i][j] /= A[i][i] },
// A[i][i] := 1; then for every other row k: A[k][j] -= A[k][i] * A[i][j] for
// j = i+1..N+1, A[k][i] := 0. N < 1 changes nothing.
void SolveLinearSystem(int N, TAugmentedMatrix& A, MessageText& messages);

}  // namespace quilvex
