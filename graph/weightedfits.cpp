#include "graph/weightedfits.h"

#include "graph/core/weightedcurves.h"
#include "stats/statistics.h"

namespace quilvex {

std::vector<MethodFigures> WeightedFitsOf(const QuilvexState& s, Weighting weighting)
{
    if (weighting == Weighting::None)
        return {};
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

void DrawWeightedCurves(Plotter& plot, const std::vector<MethodFigures>& fits)
{
    const FpuFlagsKeeper keep;
    for (const MethodFigures& row : fits)
        if (row.method.weighted && row.failure.empty())
            TraceDashDotted(plot, RowOf(row.method.fit).color, [&row](Real X) { return RowValueAt(row, X); });
}

}  // namespace quilvex
