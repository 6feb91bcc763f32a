#include "details/residualseries.h"

#include <cmath>

#include "details/detailsmodel.h"
#include "fit/method.h"
#include "stats/designed.h"
#include "stats/statistics.h"

namespace quilvex {

namespace {

// The weight of a point left out, as the weighted fits would weigh it.
std::optional<Real> WeightOf(Weighting weighting, const SetAsidePoint& p)
{
    const StatsTable one{{p.x}, {p.y}, {p.sigma}, {p.row + 1}, {}};
    const PointWeights w = WeightsOf(weighting, one);
    return w.w.empty() ? std::nullopt : std::optional<Real>(w.w.front());
}

// The points left out, at their residual from the row's curve; none where
// the curve passes through every point and has no formula.
void AddExcluded(const DetailsInput& input, const MethodFigures& row, bool normalised, ResidualSeries& series)
{
    for (const SetAsidePoint& p : input.excluded) {
        const std::optional<Real> fitted = RowValueAt(row, p.x);
        if (!fitted)
            continue;
        Real r = p.y - *fitted;
        if (normalised) {
            const std::optional<Real> w = WeightOf(input.weighting, p);
            if (!w)
                continue;
            r *= std::sqrt(*w);
        }
        series.excludedX.push_back(p.x);
        series.excludedR.push_back(r);
    }
}

}  // namespace

std::vector<ResidualSeries> ResidualSeriesOf(const DetailsResult& result, const std::vector<bool>& chosen,
                                             bool normalised)
{
    std::vector<ResidualSeries> series;
    const int points = static_cast<int>(result.input.table.x.size());
    for (std::size_t k = 0; k < result.rows.size(); ++k) {
        const MethodFigures& row = result.rows[k];
        const std::vector<Real>& r = normalised ? row.normalisedResiduals : row.residuals;
        if (!chosen[k] || r.empty() || (normalised && !MeasuredByChi2(row)))
            continue;
        const bool designed = DesignedMethodOf(row.method).has_value();
        series.push_back({MethodTitle(row, points), RowOf(FitNeededBy(row.method)).color, !designed,
                          result.input.table.x, r, {}, {}});
        AddExcluded(result.input, row, normalised, series.back());
    }
    return series;
}

}  // namespace quilvex
