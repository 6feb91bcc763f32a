#include "fit/solver.h"

#include <cmath>

namespace quilvex {

namespace {

constexpr Real kSingularPivot = 1e-20L;

// Divides the pivot row by its pivot. The pivot is tested before every
// division, so a singular pivot is replaced by 1 before the first one.
void NormalizePivotRow(int N, int i, TAugmentedMatrix& A, MessageText& messages)
{
    for (int j = i + 1; j <= N + 1; ++j) {
        if (std::fabs(A[i][i]) < kSingularPivot) {
            messages.Append(" * Can't solve : matrix singular!");
            A[i][i] = 1;
        }
        const Real quotient = A[i][j] / A[i][i];
        CheckFpu();
        A[i][j] = quotient;
    }
    A[i][i] = 1;
}

void EliminateColumn(int N, int i, TAugmentedMatrix& A)
{
    for (int k = 1; k <= N; ++k) {
        if (k == i)
            continue;
        for (int j = i + 1; j <= N + 1; ++j) {
            const Real reduced = A[k][j] - A[k][i] * A[i][j];
            CheckFpu();
            A[k][j] = reduced;
        }
        A[k][i] = 0;
    }
}

}  // namespace

void SolveLinearSystem(int N, TAugmentedMatrix& A, MessageText& messages)
{
    for (int i = 1; i <= N; ++i) {
        NormalizePivotRow(N, i, A, messages);
        EliminateColumn(N, i, A);
    }
}

}  // namespace quilvex
