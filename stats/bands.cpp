#include "stats/bands.h"

#include <Eigen/Dense>
#include <cmath>
#include <functional>
#include <limits>

#include "fit/method.h"
#include "stats/figures.h"
#include "stats/statistics.h"

namespace quilvex {

namespace {

constexpr Real kNoValue = std::numeric_limits<Real>::quiet_NaN();

bool InLogY(Method method) { return FittingOf(method) == Fitting::LeastSquaresLnY; }

int ParameterCount(const QuilvexState& s, Method method) { return method == Method::Regression ? s.RegrOrd + 1 : 2; }

// The variable the model is a polynomial in: x, or ln x for the logarithmic and power fits.
Real ModelArgument(Method method, Real x)
{
    if (method == Method::Logarithmic || method == Method::Power)
        return x > 0 ? std::log(x) : kNoValue;
    return x;
}

// f() with the fault flags cleared first; NaN where it faults or is not finite.
Real Guarded(const std::function<Real()>& f)
{
    try {
        ClearFpu();
        const Real v = f();
        CheckFpu();
        return std::isfinite(v) ? v : kNoValue;
    } catch (const std::exception&) {
        return kNoValue;
    }
}

// The curve at x by the evaluator that draws it.
Real CurveValue(const QuilvexState& s, Method method, Real x)
{
    return Guarded([&] {
        MessageText ignored;
        return MethodValue(s, method, x, ignored);
    });
}

// The value the model fits at point i and the fit's value there: y and the
// curve, or ln y and ln a + b u for the fits of ln y.
std::pair<Real, Real> FittedPair(const QuilvexState& s, Method method, int i)
{
    if (!InLogY(method))
        return {s.y[i], CurveValue(s, method, s.x[i])};
    const bool power = method == Method::Power;
    const Real a = power ? s.PowerA : s.ExpA, b = power ? s.PowerB : s.ExpB;
    if (!(s.y[i] > 0) || !(a > 0))
        return {kNoValue, kNoValue};
    return {std::log(s.y[i]), std::log(a) + b * ModelArgument(method, s.x[i])};
}

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

// The polynomial basis 1, u, ..., u^(p-1) at the points and at the arguments.
std::optional<std::vector<Real>> Leverages(const std::vector<Real>& u, int p, const std::vector<Real>& at,
                                           const std::vector<Real>& weights = {})
{
    return DesignLeverages(PolynomialDesign(u, p - 1), weights, PolynomialDesign(at, p - 1));
}

}  // namespace

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
    // (D^T W D)^-1 = S^-1 P R^-1 R^-T P^T S^-1, S the column norms, so
    // v^T (D^T W D)^-1 v = |R^-T P^T S^-1 v|^2.
    Z = qr.colsPermutation().transpose() * Z;
    qr.matrixR().topLeftCorner(p, p).triangularView<Eigen::Upper>().transpose().solveInPlace(Z);
    std::vector<Real> result(static_cast<std::size_t>(V.Rows()), kNoValue);
    for (int c = 0; c < V.Rows(); ++c)
        if (Z.col(c).allFinite())
            result[static_cast<std::size_t>(c)] = static_cast<Real>(Z.col(c).squaredNorm());
    return result;
}

Real FitBand::Lower(std::size_t i, bool predictionBand) const
{
    const Real h = predictionBand ? prediction[i] : confidence[i];
    return logScale ? fit[i] * std::exp(-h) : fit[i] - h;
}

Real FitBand::Upper(std::size_t i, bool predictionBand) const
{
    const Real h = predictionBand ? prediction[i] : confidence[i];
    return logScale ? fit[i] * std::exp(h) : fit[i] + h;
}

std::vector<BandLine> BandEdgesOf(const FitBand& band, Color color, bool withPrediction)
{
    std::vector<BandLine> lines;
    for (const bool prediction : {false, true}) {
        if (prediction && !withPrediction)
            break;
        const BandStroke stroke = prediction ? BandStroke::Dotted : BandStroke::Dashed;
        BandLine lower{color, stroke, band.x, {}}, upper = lower;
        for (std::size_t i = 0; i < band.x.size(); ++i) {
            lower.y.push_back(band.Lower(i, prediction));
            upper.y.push_back(band.Upper(i, prediction));
        }
        lines.push_back(std::move(lower));
        lines.push_back(std::move(upper));
    }
    return lines;
}

bool HasBand(Method method) { return FittingOf(method) != Fitting::ThroughPoints; }

std::optional<FitBand> ComputeBand(const QuilvexState& s, Method method, const std::vector<Real>& xs)
{
    const FpuFlagsKeeper keep;
    const int n = s.n, p = ParameterCount(s, method);
    if (!HasBand(method) || n <= p || n < 1 || n > MaxPoints)
        return std::nullopt;
    std::vector<Real> u;
    Real ssr = 0;
    for (int i = 1; i <= n; ++i) {
        const auto [target, fitted] = FittedPair(s, method, i);
        u.push_back(ModelArgument(method, s.x[i]));
        ssr += (target - fitted) * (target - fitted);
    }
    if (!std::isfinite(ssr))
        return std::nullopt;
    std::vector<Real> at;
    for (Real x : xs)
        at.push_back(ModelArgument(method, x));
    const auto leverages = Leverages(u, p, at);
    if (!leverages)
        return std::nullopt;
    const Real ts = StudentT975(n - p) * std::sqrt(ssr / (n - p));
    FitBand band;
    band.method = method;
    band.logScale = InLogY(method);
    band.x = xs;
    for (std::size_t c = 0; c < xs.size(); ++c) {
        const Real q = (*leverages)[c];
        band.fit.push_back(CurveValue(s, method, xs[c]));
        band.confidence.push_back(ts * std::sqrt(q));
        band.prediction.push_back(ts * std::sqrt(1 + q));
    }
    return band;
}

std::vector<BandLine> BandLinesOf(const QuilvexState& s, const std::vector<Real>& xs, bool withPrediction)
{
    std::vector<BandLine> lines;
    for (const Method method : kDrawOrder) {
        const auto band = HasBand(method) && Shown(s, method) ? ComputeBand(s, method, xs) : std::nullopt;
        if (!band)
            continue;
        for (BandLine& line : BandEdgesOf(*band, RowOf(method).color, withPrediction))
            lines.push_back(std::move(line));
    }
    return lines;
}

std::optional<FitBand> ComputeWeightedBand(const MethodFigures& row, const WeightedTable& table,
                                           const std::vector<Real>& xs)
{
    const FpuFlagsKeeper keep;
    const Method method = row.method.fit;
    if (!row.method.weighted || row.method.trueLeastSquares || !row.failure.empty() || !row.chi2Reduced.value ||
        !row.dof || *row.dof <= 0 || table.x.size() != table.w.size())
        return std::nullopt;
    std::vector<Real> u, w;
    Real sumW = 0;
    for (std::size_t i = 0; i < table.x.size(); ++i) {
        u.push_back(ModelArgument(method, table.x[i]));
        w.push_back(InLogY(method) ? table.w[i] * table.y[i] * table.y[i] : table.w[i]);
        sumW += w.back();
    }
    std::vector<Real> at;
    for (Real x : xs)
        at.push_back(ModelArgument(method, x));
    const auto leverages = Leverages(u, static_cast<int>(row.coefficients.size()), at, w);
    if (!leverages)
        return std::nullopt;
    const Real ts = StudentT975(*row.dof) * std::sqrt(*row.chi2Reduced.value);
    const Real newPoint = static_cast<Real>(w.size()) / sumW;  // 1 / the mean weight
    FitBand band;
    band.method = method;
    band.logScale = InLogY(method);
    band.x = xs;
    for (std::size_t c = 0; c < xs.size(); ++c) {
        const Real q = (*leverages)[c];
        band.fit.push_back(Guarded([&] { return RowValueAt(row, xs[c]).value_or(kNoValue); }));
        band.confidence.push_back(ts * std::sqrt(q));
        band.prediction.push_back(ts * std::sqrt(q + newPoint));
    }
    return band;
}

std::vector<BandLine> BandLinesOfWeighted(const QuilvexState& s, const std::vector<MethodFigures>& rows,
                                          Weighting weighting, const std::vector<Real>& xs, bool withPrediction)
{
    const StatsTable table = StatsTableOf(s);
    const PointWeights weights = WeightsOf(weighting, table);
    std::vector<BandLine> lines;
    if (!weights.whyNot.empty() || weights.w.empty())
        return lines;
    const WeightedTable weighted{table.x, table.y, weights.w, weighting};
    for (const MethodFigures& row : rows) {
        const auto band = row.method.weighted && Shown(s, row.method.fit) ? ComputeWeightedBand(row, weighted, xs)
                                                                          : std::nullopt;
        if (!band)
            continue;
        for (BandLine& line : BandEdgesOf(*band, RowOf(row.method.fit).color, withPrediction))
            lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace quilvex
