#pragma once
// Fast forms of SolveLinearSystem for the two fits that own their system. Both
// perform exactly the operations of the Gauss-Jordan elimination of solver.h,
// in its order, with the same pivot rule and message, so every result has the
// same bits; they differ in what they leave out:
//   - fault flags are checked once per pivot step (SolveDense: per pair of
//     steps, running the steps again one by one after a fault), not after
//     every operation (exact for finite systems, see fastpath.h);
//   - SolveProfile does not subtract the zero products outside the rows'
//     profiles. Each row keeps the columns it holds explicitly and one sign for
//     all its other (zero) coefficients, so that even the sign of every zero
//     comes out as the dense elimination leaves it.
#include <vector>

#include "data/checked.h"
#include "data/messagetext.h"

namespace quilvex {

// A dense system of N equations, row r (from 0) in a[r * (N + 1) ...], the
// right-hand side last; on return the last column holds the solution (the
// other columns are not kept up to date). Two pivot steps share one pass over
// the rows, each element still rounded after every subtraction.
void SolveDense(int N, std::vector<Real>& a, MessageText& messages);

// A system of N equations (rows and columns from 1, column N + 1 the
// right-hand side) whose coefficients are zero outside a few columns per row.
class ProfileSystem {
public:
    explicit ProfileSystem(int N);

    // Makes the columns lo..hi of row r explicit (zeros of the row's sign until set).
    void Hold(int r, int lo, int hi);
    // An explicit coefficient (Hold it first) or the right-hand side (c = N + 1).
    Real& At(int r, int c) { return a_[Index(r, c)]; }

    void Solve(MessageText& messages);
    // Column N + 1 of row r after Solve.
    Real Solution(int r) const { return a_[Index(r, N_ + 1)]; }

private:
    std::size_t Index(int r, int c) const
    {
        return static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(N_ + 1) + static_cast<std::size_t>(c - 1);
    }
    Real ValueAt(int r, int c) const;
    Real ImplicitZero(int r) const { return negativeZero_[static_cast<std::size_t>(r)] ? -0.0L : 0.0L; }
    void NormalizePivotRow(int i, MessageText& messages);
    void EliminateFromRow(int k, int i);

    int N_;
    std::vector<Real> a_;
    std::vector<int> lo_, hi_;          // explicit columns of each row; lo > hi: none
    std::vector<char> negativeZero_;    // the sign of every other coefficient of the row
};

}  // namespace quilvex
