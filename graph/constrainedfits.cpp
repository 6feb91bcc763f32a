#include "graph/constrainedfits.h"

#include <limits>

#include "graph/core/bands.h"
#include "stats/statistics.h"

namespace quilvex {

std::vector<StatsMethod> ConstrainedRowsShown(const QuilvexState& s, const MethodConstraints& constraints)
{
    std::vector<StatsMethod> rows;
    for (const Method m : kDrawOrder) {
        if (!Shown(s, m))
            continue;
        for (const StatsMethod free : StatsMethodsOf(m)) {
            const Constraints* own = constraints.Of(free);
            const std::optional<StatsMethod> constrained = ConstrainedOf(free);
            if (own && constrained && ConstraintsApplyTo(*own, free))
                rows.push_back(*constrained);
        }
    }
    return rows;
}

std::vector<MethodFigures> ConstrainedFitsOf(const QuilvexState& s, const MethodConstraints& constraints,
                                             Weighting weighting)
{
    if (constraints.Empty())
        return {};
    StatsRequest request;
    request.methods = ConstrainedRowsShown(s, constraints);
    if (request.methods.empty())
        return {};
    request.regressionOrder = s.RegrOrd;
    request.lagrangeOrder = s.LagrOrd;
    request.weighting = weighting;
    request.constraints = constraints;
    try {
        // The replot's own regression fit is taken over, not made again.
        return ComputeStatistics(StatsTableOf(s), request, {}, &s.Reuse);
    } catch (const std::exception&) {
        return {};
    }
}

void DrawConstrainedCurves(Plotter& plot, const std::vector<MethodFigures>& fits)
{
    const FpuFlagsKeeper keep;
    std::vector<BandLine> curves;
    for (const MethodFigures& row : fits) {
        if (!row.method.constrained || !row.failure.empty())
            continue;
        BandLine curve{RowOf(row.method.fit).color, BandStroke::LongDashed, {}, {}};
        for (int px = 0; px <= plot.Surface().Width(); ++px) {
            const Real X = plot.PixelToX(px);
            curve.x.push_back(X);
            curve.y.push_back(RowValueAt(row, X).value_or(std::numeric_limits<Real>::quiet_NaN()));
        }
        curves.push_back(std::move(curve));
    }
    DrawBandLines(plot, curves);
}

}  // namespace quilvex
