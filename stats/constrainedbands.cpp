#include "stats/constrainedbands.h"

#include <Eigen/Dense>
#include <cmath>
#include <limits>

#include "stats/constrained.h"
#include "stats/statistics.h"

namespace quilvex {

namespace {

constexpr Real kNoValue = std::numeric_limits<Real>::quiet_NaN();

Real WeightAt(const std::vector<Real>& w, int i) { return w.empty() ? 1 : w[static_cast<std::size_t>(i)]; }

// The norms of the columns of W^(1/2) D; empty where one is zero or not finite.
std::vector<Real> WeightedColumnNorms(const DesignMatrix& D, const std::vector<Real>& w)
{
    std::vector<Real> norms(static_cast<std::size_t>(D.Cols()), 0);
    for (int j = 0; j < D.Cols(); ++j) {
        Real& norm = norms[static_cast<std::size_t>(j)];
        for (int i = 0; i < D.Rows(); ++i)
            norm += WeightAt(w, i) * D.At(i, j) * D.At(i, j);
        norm = std::sqrt(norm);
        if (!(norm > 0) || !std::isfinite(norm))
            return {};
    }
    return norms;
}

// v^T (D^T W D)^-1 v for each row v of V, from the pivoted QR of the
// column-scaled W^(1/2) D (never inverting D^T W D); NaN where v is not
// finite, nothing when D lacks full column rank.
std::optional<std::vector<Real>> DesignLeverages(const DesignMatrix& D, const std::vector<Real>& w,
                                                 const DesignMatrix& V)
{
    const std::vector<Real> norms = WeightedColumnNorms(D, w);
    const int p = D.Cols();
    if (norms.empty())
        return std::nullopt;
    Eigen::MatrixXd A(D.Rows(), p);
    for (int i = 0; i < D.Rows(); ++i)
        for (int j = 0; j < p; ++j)
            A(i, j) = static_cast<double>(std::sqrt(WeightAt(w, i)) * D.At(i, j) / norms[static_cast<std::size_t>(j)]);
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(A);
    if (qr.rank() < p)
        return std::nullopt;
    Eigen::MatrixXd Z(p, V.Rows());
    for (int c = 0; c < V.Rows(); ++c)
        for (int j = 0; j < p; ++j)
            Z(j, c) = static_cast<double>(V.At(c, j) / norms[static_cast<std::size_t>(j)]);
    // As in stats/bands.cpp: v^T (D^T W D)^-1 v = |R^-T P^T S^-1 v|^2, S the column norms.
    Z = qr.colsPermutation().transpose() * Z;
    qr.matrixR().topLeftCorner(p, p).triangularView<Eigen::Upper>().transpose().solveInPlace(Z);
    std::vector<Real> result(static_cast<std::size_t>(V.Rows()), kNoValue);
    for (int c = 0; c < V.Rows(); ++c)
        if (Z.col(c).allFinite())
            result[static_cast<std::size_t>(c)] = static_cast<Real>(Z.col(c).squaredNorm());
    return result;
}

// s^2 of the row: chi2_reduced where it was fitted with the weights, else SSR / dof.
std::optional<Real> ResidualVariance(const MethodFigures& row, bool weighted, int dof)
{
    if (weighted)
        return row.chi2Reduced.value;
    if (!row.ssr.value)
        return std::nullopt;
    return *row.ssr.value / dof;
}

Real MeanOf(const std::vector<Real>& w)
{
    Real sum = 0;
    for (const Real v : w)
        sum += v;
    return sum / static_cast<Real>(w.size());
}

}  // namespace

std::optional<FitBand> ComputeConstrainedBand(const MethodFigures& row, const std::vector<Real>& x,
                                              const std::vector<Real>& w, int order, const Constraints& c,
                                              const std::vector<Real>& xs)
{
    const FpuFlagsKeeper keep;
    if (!row.method.constrained || row.method.fit != Method::Regression || !row.failure.empty() ||
        (!w.empty() && w.size() != x.size()))
        return std::nullopt;
    const DesignMatrix D = ConstrainedDesignOf(x, order, c);
    const int p = D.Cols(), dof = row.dof.value_or(D.Rows() - p);
    // A row fitted without the weights is judged without them; one fitted with them needs them.
    const bool weighted = row.chi2Reduced.value.has_value();
    if (weighted && w.empty())
        return std::nullopt;
    const std::vector<Real> weights = weighted ? w : std::vector<Real>{};
    const std::optional<Real> variance = ResidualVariance(row, weighted, dof);
    if (p == 0 || dof <= 0 || !variance || !(*variance >= 0))
        return std::nullopt;
    const auto leverages = DesignLeverages(D, weights, ConstrainedDesignOf(xs, order, c));
    if (!leverages)
        return std::nullopt;
    const Real ts = StudentT975(dof) * std::sqrt(*variance);
    const Real newPoint = weighted ? 1 / MeanOf(weights) : 1;
    FitBand band;
    band.method = Method::Regression;
    band.x = xs;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const Real q = (*leverages)[i];
        band.fit.push_back(RowValueAt(row, xs[i]).value_or(kNoValue));
        band.confidence.push_back(ts * std::sqrt(q));
        band.prediction.push_back(ts * std::sqrt(q + newPoint));
    }
    return band;
}

std::vector<BandLine> BandLinesOfConstrained(const QuilvexState& s, const std::vector<MethodFigures>& rows,
                                             const MethodConstraints& constraints, Weighting weighting,
                                             const std::vector<Real>& xs, bool withPrediction)
{
    if (rows.empty())
        return {};
    const StatsTable table = StatsTableOf(s);
    const PointWeights weights = weighting == Weighting::None ? PointWeights{} : WeightsOf(weighting, table);
    std::vector<BandLine> lines;
    for (const MethodFigures& row : rows) {
        const Constraints* own = constraints.Of(row.method);
        const auto band = own && Shown(s, row.method.fit)
                              ? ComputeConstrainedBand(row, table.x, weights.w, s.RegrOrd, *own, xs)
                              : std::nullopt;
        if (!band)
            continue;
        for (BandLine& line : BandEdgesOf(*band, RowOf(row.method.fit).color, withPrediction))
            lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace quilvex
