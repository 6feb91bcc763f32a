#include "graph/weightedfits.h"

#include "graph/core/weightedcurves.h"
#include "stats/statistics.h"

namespace quilvex {

namespace {

std::vector<MethodFigures> WeightedRows(const QuilvexState& s, Weighting weighting)
{
    StatsRequest request;
    request.methods = WeightedRowsShown(s);
    if (request.methods.empty())
        return {};
    request.regressionOrder = s.RegrOrd;
    request.lagrangeOrder = s.LagrOrd;
    request.weighting = weighting;
    try {
        return ComputeStatistics(StatsTableOf(s), request, {});
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

std::vector<StatsMethod> WeightedRowsShown(const QuilvexState& s)
{
    std::vector<StatsMethod> rows;
    for (const Method m : kDrawOrder) {
        if (!Shown(s, m))
            continue;
        for (const StatsMethod designed : StatsMethodsOf(m))
            if (const std::optional<StatsMethod> weighted = WeightedOf(designed))
                rows.push_back(*weighted);
    }
    return rows;
}

void DrawWeightedCurves(Plotter& plot, Weighting weighting)
{
    if (weighting == Weighting::None)
        return;
    const FpuFlagsKeeper keep;
    for (const MethodFigures& row : WeightedRows(plot.State(), weighting))
        if (row.method.weighted && row.failure.empty())
            TraceDashDotted(plot, RowOf(row.method.fit).color, [&row](Real X) { return RowValueAt(row, X); });
}

std::vector<BandLine> WeightedBandLinesOf(const QuilvexState& s, const std::vector<Real>& xs, bool withPrediction,
                                          Weighting weighting)
{
    return BandLinesOfWeighted(s, WeightedRows(s, weighting), weighting, xs, withPrediction);
}

}  // namespace quilvex
