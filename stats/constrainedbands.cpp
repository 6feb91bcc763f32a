#include "stats/constrainedbands.h"

#include <cmath>
#include <limits>

#include "stats/constrained.h"
#include "stats/statistics.h"

namespace quilvex {

namespace {

constexpr Real kNoValue = std::numeric_limits<Real>::quiet_NaN();

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
