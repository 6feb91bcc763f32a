#include "stats/linear.h"

#include <Eigen/Dense>
#include <cmath>

namespace quilvex {

namespace {

using ExtendedMatrix = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;
using ExtendedVector = Eigen::Matrix<Real, Eigen::Dynamic, 1>;

// Refinement steps: each brings the double-precision solution closer to the
// extended-precision one while the problem is not near singular.
constexpr int kRefinements = 2;

bool AllFinite(const ExtendedVector& v)
{
    for (Eigen::Index i = 0; i < v.size(); ++i)
        if (!std::isfinite(v(i)))
            return false;
    return true;
}

// X with every column divided by its Euclidean norm; false for a zero or
// non-finite norm.
bool ScaleColumns(const DesignMatrix& X, ExtendedMatrix& scaled, ExtendedVector& norms)
{
    scaled.resize(X.Rows(), X.Cols());
    norms.resize(X.Cols());
    for (int j = 0; j < X.Cols(); ++j) {
        for (int i = 0; i < X.Rows(); ++i)
            scaled(i, j) = X.At(i, j);
        norms(j) = scaled.col(j).norm();
        if (!(norms(j) > 0) || !std::isfinite(norms(j)))
            return false;
        scaled.col(j) /= norms(j);
    }
    return true;
}

std::vector<Real> InverseGramDiagonal(const Eigen::ColPivHouseholderQR<Eigen::MatrixXd>& qr,
                                      const ExtendedVector& norms)
{
    const Eigen::Index p = qr.cols();
    const Eigen::MatrixXd R = qr.matrixR().topLeftCorner(p, p).triangularView<Eigen::Upper>();
    Eigen::MatrixXd inverse = Eigen::MatrixXd::Identity(p, p);
    R.triangularView<Eigen::Upper>().solveInPlace(inverse);
    std::vector<Real> diagonal(static_cast<std::size_t>(p));
    for (Eigen::Index k = 0; k < p; ++k) {
        const Eigen::Index column = qr.colsPermutation().indices()(k);
        const Real unscaled = static_cast<Real>(inverse.row(k).squaredNorm());
        diagonal[static_cast<std::size_t>(column)] = unscaled / (norms(column) * norms(column));
    }
    return diagonal;
}

Real Condition(const Eigen::ColPivHouseholderQR<Eigen::MatrixXd>& qr)
{
    if (qr.cols() > qr.rows())
        return HUGE_VALL;  // more columns than rows: singular
    const Eigen::Index p = qr.cols();
    const Eigen::MatrixXd R = qr.matrixR().topLeftCorner(p, p).triangularView<Eigen::Upper>();
    const Eigen::VectorXd sigma = Eigen::BDCSVD<Eigen::MatrixXd>(R).singularValues();
    if (sigma(p - 1) == 0)
        return HUGE_VALL;
    return static_cast<Real>(sigma(0)) / static_cast<Real>(sigma(sigma.size() - 1));
}

}  // namespace

DesignMatrix PolynomialDesign(const std::vector<Real>& x, int order)
{
    const int n = static_cast<int>(x.size());
    DesignMatrix X(n, order + 1);
    for (int i = 0; i < n; ++i) {
        Real power = 1;
        for (int j = 0; j <= order; ++j) {
            X.At(i, j) = power;
            power *= x[static_cast<std::size_t>(i)];
        }
    }
    return X;
}

LinearSolution SolveLeastSquares(const DesignMatrix& X, const std::vector<Real>& y, bool withCondition)
{
    LinearSolution result;
    ExtendedMatrix scaled;
    ExtendedVector norms;
    ExtendedVector target = Eigen::Map<const ExtendedVector>(y.data(), static_cast<Eigen::Index>(y.size()));
    if (!ScaleColumns(X, scaled, norms) || !AllFinite(target))
        return result;
    // y is scaled too, so that values beyond the double range still factor.
    const Real yScale = target.norm() > 0 ? target.norm() : 1;
    target /= yScale;
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(scaled.cast<double>());
    ExtendedVector z = qr.solve(target.cast<double>()).cast<Real>();
    ExtendedVector residual = target - scaled * z;
    for (int step = 0; step < kRefinements; ++step) {
        z += qr.solve(residual.cast<double>()).cast<Real>();
        residual = target - scaled * z;
    }
    result.usable = true;
    result.rank = static_cast<int>(qr.rank());
    result.ssr = residual.squaredNorm() * yScale * yScale;
    for (Eigen::Index j = 0; j < z.size(); ++j)
        result.coef.push_back(z(j) * yScale / norms(j));
    for (Eigen::Index i = 0; i < residual.size(); ++i)
        result.residuals.push_back(residual(i) * yScale);
    if (result.rank == X.Cols())
        result.inverseGramDiagonal = InverseGramDiagonal(qr, norms);
    if (withCondition)
        result.condition = Condition(qr);
    return result;
}

}  // namespace quilvex
