#pragma once
// Linear least squares solved stably, beside the designed normal equations:
// the design matrix X is scaled to unit column norms, factorised by
// Householder QR with column pivoting in double precision, and the solution is
// refined with residuals formed in extended precision. From the same
// factorisation come the diagonal of (X^T X)^-1 (never by inverting X^T X) and
// the condition number of the scaled X.
#include <optional>
#include <vector>

#include "data/fpfault.h"

namespace quilvex {

// An n x p matrix, column-major.
class DesignMatrix {
public:
    DesignMatrix(int rows, int cols) : rows_(rows), cols_(cols), values_(static_cast<std::size_t>(rows * cols)) {}
    Real& At(int row, int col) { return values_[Index(row, col)]; }
    Real At(int row, int col) const { return values_[Index(row, col)]; }
    int Rows() const { return rows_; }
    int Cols() const { return cols_; }

private:
    std::size_t Index(int row, int col) const { return static_cast<std::size_t>(col * rows_ + row); }
    int rows_, cols_;
    std::vector<Real> values_;
};

// Columns 1, x, x^2, ..., x^order, each power formed by repeated multiplication.
DesignMatrix PolynomialDesign(const std::vector<Real>& x, int order);

struct LinearSolution {
    bool usable = false;          // false: a column is zero or not finite
    int rank = 0;                 // the numerical rank of the scaled X
    std::vector<Real> coef;       // the least-squares coefficients (basic solution when rank < p)
    Real ssr = 0;                 // their sum of squared residuals, formed in extended precision
    std::vector<Real> residuals;  // y - X coef at every point, those the SSR is formed from
    // Diagonal of (X^T X)^-1, empty unless X has full column rank.
    std::vector<Real> inverseGramDiagonal;
    // Largest over smallest singular value of the scaled X; asked for only.
    std::optional<Real> condition;
};

LinearSolution SolveLeastSquares(const DesignMatrix& X, const std::vector<Real>& y, bool withCondition);

}  // namespace quilvex
