#include "report/core/fitquality.h"

#include <algorithm>
#include <cmath>

#include "data/numtext.h"

namespace quilvex {

namespace {

// Sum of (y[i] - mean y)^2; a fault leaves R^2 undefined.
bool SpreadOfY(const QuilvexState& s, Real& spread)
{
    try {
        ClearFpu();
        Real sum = 0;
        for (int i = 1; i <= s.n; ++i)
            sum += s.y[i];
        const Real mean = sum / s.n;
        spread = 0;
        for (int i = 1; i <= s.n; ++i)
            spread += (s.y[i] - mean) * (s.y[i] - mean);
        CheckFpu();
        return true;
    } catch (const std::exception&) {
        ClearFpu();
        return false;
    }
}

FitQuality Measure(const QuilvexState& s, Method method, bool haveSpread, Real spread)
{
    FitQuality q;
    q.method = method;
    int point = 0;  // the point whose curve value is being taken; 0 in the sums
    try {
        ClearFpu();
        for (int i = 1; i <= s.n; ++i) {
            point = i;
            MessageText ignored;
            const Real residual = s.y[i] - MethodValue(s, method, s.x[i], ignored);
            CheckFpu();
            point = 0;
            q.residuals.push_back(residual);
            q.ssr += residual * residual;
            q.maxResidual = std::max(q.maxResidual, std::fabs(residual));
            CheckFpu();
        }
        q.rms = std::sqrt(q.ssr / s.n);
        q.r2Defined = haveSpread && spread > 0;
        if (q.r2Defined)
            q.r2 = 1 - q.ssr / spread;
        CheckFpu();
        q.evaluated = true;
    } catch (const std::exception& e) {
        q.failure = e.what();
        q.failedPoint = point;
        q.residuals.clear();
    }
    ClearFpu();
    return q;
}

}  // namespace

std::vector<FitQuality> MeasureFitQuality(const QuilvexState& s)
{
    Real spread = 0;
    const bool haveSpread = SpreadOfY(s, spread);
    std::vector<FitQuality> result;
    for (Method method : kReportOrder)
        if (Shown(s, method))
            result.push_back(Measure(s, method, haveSpread, spread));
    ClearFpu();
    return result;
}

std::string FitMethodName(Method method, std::int32_t order)
{
    const std::string name = RowOf(method).name;
    switch (method) {
    case Method::Lagrange:
    case Method::LagrangeOrd:
    case Method::Regression: return name + " order " + FormatGeneral(order, 8) + " polynomial";
    default: return name;
    }
}

std::string FitMethodName(const QuilvexState& s, Method method)
{
    switch (method) {
    case Method::Lagrange: return FitMethodName(method, s.n - 1);
    case Method::LagrangeOrd: return FitMethodName(method, s.LagrOrd);
    case Method::Regression: return FitMethodName(method, s.RegrOrd);
    default: return FitMethodName(method, 0);
    }
}

std::vector<std::string> FitQualityTable(const QuilvexState& s, const std::vector<FitQuality>& figures,
                                         const NumberFormat& format, std::size_t width)
{
    const auto label = [](std::string text) {
        text.resize(std::max<std::size_t>(text.size(), 30), ' ');
        return "  " + text + ": ";
    };
    const auto column = [width](std::string text) {
        text.resize(std::max(text.size() + 1, width), ' ');
        return text;
    };
    std::vector<std::string> lines{label("Method").replace(32, 2, "  ") + column("SSR") + column("RMS") +
                                   column("max |residual|") + "R^2"};
    for (const FitQuality& q : figures) {
        std::string line = label(FitMethodName(s, q.method));
        if (!q.evaluated) {
            line += "not evaluated";
            if (q.failedPoint > 0)
                line += " at x = " + format(s.x[q.failedPoint]);
            lines.push_back(line + ": " + q.failure);
            continue;
        }
        line += column(format(q.ssr)) + column(format(q.rms)) + column(format(q.maxResidual));
        lines.push_back(line + (q.r2Defined ? format(q.r2) : std::string("undefined (all y equal)")));
    }
    return lines;
}

std::string FitQualityTitle(const QuilvexState& s)
{
    return "Fit quality at the " + FormatGeneral(s.n, 8) + " data points, residual = y - f(x):";
}

void AppendFitQualityLines(const QuilvexState& s, const LineSink& append)
{
    if (s.n < 1) {
        append("Fit quality:");
        append("**** No data yet loaded");
        return;
    }
    append(FitQualityTitle(s));
    const auto G = [](Real v) { return FormatGeneral(v, 8); };
    for (const std::string& line : FitQualityTable(s, MeasureFitQuality(s), G, 16))
        append(line);
}

}  // namespace quilvex
