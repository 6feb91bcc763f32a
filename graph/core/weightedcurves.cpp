#include "graph/core/weightedcurves.h"

#include <cmath>

#include "stats/statistics.h"

namespace quilvex {

namespace {

constexpr Real kPixelReach = 32000;

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

std::optional<int> PixelOf(Plotter& plot, const MethodFigures& row, Real X)
{
    const std::optional<Real> value = RowValueAt(row, X);
    if (!value)
        return std::nullopt;
    const Real py = plot.YToPixel(*value);
    if (!(std::fabs(py) <= kPixelReach))
        return std::nullopt;
    return static_cast<int>(std::lrint(py));  // within reach: no fault to check
}

}  // namespace

void TraceWeightedRow(Plotter& plot, const MethodFigures& row)
{
    const FpuFlagsKeeper keep;
    Canvas& canvas = plot.Surface();
    const Color pen = canvas.PenColor();
    const PenStyle style = canvas.GetPenStyle();
    canvas.SetPenStyle(PenStyle::DashDot);
    canvas.SetPenColor(RowOf(row.method.fit).color);
    bool drawing = false;
    for (int px = 0; px <= canvas.Width(); ++px) {
        const std::optional<int> py = PixelOf(plot, row, plot.PixelToX(px));
        if (py && drawing)
            canvas.LineTo(px, *py);
        else if (py)
            canvas.MoveTo(px, *py);
        drawing = py.has_value();
    }
    canvas.SetPenColor(pen);
    canvas.SetPenStyle(style);
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

void DrawWeightedCurves(Plotter& plot, Weighting weighting)
{
    if (weighting == Weighting::None)
        return;
    const FpuFlagsKeeper keep;
    for (const MethodFigures& row : WeightedRows(plot.State(), weighting))
        if (row.method.weighted && row.failure.empty())
            TraceWeightedRow(plot, row);
}

std::vector<BandLine> WeightedBandLinesOf(const QuilvexState& s, const std::vector<Real>& xs, bool withPrediction,
                                          Weighting /*weighting*/)
{
    return BandLinesOf(s, xs, withPrediction);
}

}  // namespace quilvex
