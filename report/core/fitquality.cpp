#include "report/core/fitquality.h"

#include <algorithm>
#include <cmath>

#include "data/numtext.h"
#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"

namespace quilvex {

namespace {

constexpr FitMethod kReportOrder[] = {FitMethod::Spline,     FitMethod::Lagrange,    FitMethod::LagrangeOrd,
                                      FitMethod::Regression, FitMethod::Exponential, FitMethod::Logarithmic,
                                      FitMethod::Power};

bool Enabled(const QuilvexState& s, FitMethod method)
{
    switch (method) {
    case FitMethod::Spline: return s.ShowSpline;
    case FitMethod::Lagrange: return s.ShowLagr;
    case FitMethod::LagrangeOrd: return s.ShowLagrO;
    case FitMethod::Regression: return s.ShowRegr;
    case FitMethod::Exponential: return s.ShowExp;
    case FitMethod::Logarithmic: return s.ShowLog;
    case FitMethod::Power: return s.ShowPower;
    }
    return false;
}

// The curve at t by the evaluator that draws it; its messages go nowhere.
Real CurveAt(const QuilvexState& s, FitMethod method, Real t)
{
    MessageText ignored;
    switch (method) {
    case FitMethod::Spline: return EvalSpline(s.n, s.x, s.y, s.SplineD2, t, ignored);
    case FitMethod::Lagrange: return EvalLagrange(s.n, s.x, s.y, t);
    case FitMethod::LagrangeOrd: return lagrange_ord(s.LagrOrd, s.n, s.x, s.y, t, ignored);
    case FitMethod::Regression: return EvalRegression(s.RegrOrd, s.RegrCoef, t);
    case FitMethod::Exponential: return ExpFitValue(s, t);
    case FitMethod::Logarithmic: return LogFitValue(s, t);
    case FitMethod::Power: return PowerFitValue(s, t);
    }
    return 0;
}

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

FitQuality Measure(const QuilvexState& s, FitMethod method, bool haveSpread, Real spread)
{
    FitQuality q;
    q.method = method;
    int point = 0;  // the point whose curve value is being taken; 0 in the sums
    try {
        ClearFpu();
        for (int i = 1; i <= s.n; ++i) {
            point = i;
            const Real residual = s.y[i] - CurveAt(s, method, s.x[i]);
            CheckFpu();
            point = 0;
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
    for (FitMethod method : kReportOrder)
        if (Enabled(s, method))
            result.push_back(Measure(s, method, haveSpread, spread));
    ClearFpu();
    return result;
}

std::string FitMethodName(const QuilvexState& s, FitMethod method)
{
    const auto order = [](std::int32_t k) { return FormatGeneral(k, 8); };
    switch (method) {
    case FitMethod::Spline: return "Cubic Spline";
    case FitMethod::Lagrange: return "Lagrange order " + order(s.n - 1) + " polynomial";
    case FitMethod::LagrangeOrd: return "Lagrange order " + order(s.LagrOrd) + " polynomial";
    case FitMethod::Regression: return "Regression order " + order(s.RegrOrd) + " polynomial";
    case FitMethod::Exponential: return "Exponential";
    case FitMethod::Logarithmic: return "Logarithmic";
    case FitMethod::Power: return "Power";
    }
    return {};
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
