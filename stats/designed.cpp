#include "stats/designed.h"

#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"

namespace quilvex {

namespace {

bool& Switch(QuilvexState& s, FitMethod method)
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
    return s.ShowSpline;
}

void SwitchOnly(QuilvexState& s, FitMethod method)
{
    for (FitMethod m : {FitMethod::Spline, FitMethod::Lagrange, FitMethod::LagrangeOrd, FitMethod::Regression,
                        FitMethod::Exponential, FitMethod::Logarithmic, FitMethod::Power})
        Switch(s, m) = m == method;
}

std::vector<std::string> SplitMessages(const std::string& text)
{
    const std::string mark = " * ";
    std::vector<std::string> messages;
    for (std::size_t at = text.find(mark); at != std::string::npos;) {
        const std::size_t next = text.find(mark, at + mark.size());
        std::string message = text.substr(at + mark.size(), next == std::string::npos ? next : next - at - mark.size());
        if (messages.empty() || messages.back() != message)
            messages.push_back(std::move(message));
        at = next;
    }
    return messages;
}

// The work a replot does for the method before tracing it: PrepareFits's part
// (with the sums' domain messages of this method alone), then the solve the
// exponential, logarithmic and power curves start with.
void Fit(QuilvexState& s, FitMethod method)
{
    switch (method) {
    case FitMethod::Spline: SetUpSpline(s.n, s.x, s.y, s.SplineD2, s.MessageBuffer); return;
    case FitMethod::Regression: FitRegression(s.n, s.RegrOrd, s.x, s.y, s.RegrCoef, s.MessageBuffer); return;
    case FitMethod::Lagrange:
    case FitMethod::LagrangeOrd: return;
    case FitMethod::Exponential: ComputeFitSums(s); SolveExpFit(s); return;
    case FitMethod::Logarithmic: ComputeFitSums(s); SolveLogFit(s); return;
    case FitMethod::Power: ComputeFitSums(s); SolvePowerFit(s); return;
    }
}

DesignedFit Prepare(QuilvexState& s, FitMethod method)
{
    DesignedFit fit;
    SwitchOnly(s, method);
    s.MessageBuffer.Clear();
    try {
        ClearFpu();
        Fit(s, method);
        CheckFpu();
    } catch (const std::exception& e) {
        fit.failure = e.what();
    }
    fit.messages = SplitMessages(s.MessageBuffer.Text());
    s.MessageBuffer.Clear();
    ClearFpu();
    return fit;
}

Real CurveAt(QuilvexState& s, FitMethod method, Real X)
{
    MessageText ignored;
    switch (method) {
    case FitMethod::Spline: return EvalSpline(s.n, s.x, s.y, s.SplineD2, X, ignored);
    case FitMethod::Lagrange: return EvalLagrange(s.n, s.x, s.y, X);
    case FitMethod::LagrangeOrd: return lagrange_ord(s.LagrOrd, s.n, s.x, s.y, X, ignored);
    case FitMethod::Regression: return EvalRegression(s.RegrOrd, s.RegrCoef, X);
    case FitMethod::Exponential: return ExpFitValue(s, X);
    case FitMethod::Logarithmic: return LogFitValue(s, X);
    case FitMethod::Power: return PowerFitValue(s, X);
    }
    return 0;
}

}  // namespace

std::optional<FitMethod> DesignedMethodOf(StatsMethod method)
{
    switch (method) {
    case StatsMethod::Spline: return FitMethod::Spline;
    case StatsMethod::Lagrange: return FitMethod::Lagrange;
    case StatsMethod::LagrangeOrder: return FitMethod::LagrangeOrd;
    case StatsMethod::Regression: return FitMethod::Regression;
    case StatsMethod::Exponential: return FitMethod::Exponential;
    case StatsMethod::Logarithmic: return FitMethod::Logarithmic;
    case StatsMethod::Power: return FitMethod::Power;
    case StatsMethod::ExponentialNls:
    case StatsMethod::PowerNls: return std::nullopt;
    }
    return std::nullopt;
}

FitMethod FitNeededBy(StatsMethod method)
{
    if (method == StatsMethod::ExponentialNls)
        return FitMethod::Exponential;
    if (method == StatsMethod::PowerNls)
        return FitMethod::Power;
    return *DesignedMethodOf(method);
}

DesignedFits PrepareDesignedFits(QuilvexState& s, const std::vector<StatsMethod>& methods)
{
    DesignedFits result;
    for (StatsMethod method : methods) {
        const FitMethod designed = FitNeededBy(method);
        if (!result.fits.count(designed))
            result.fits[designed] = Prepare(s, designed);
    }
    SwitchOnly(s, FitMethod::Spline);
    s.ShowSpline = false;
    for (const auto& [method, fit] : result.fits)
        Switch(s, method) = fit.failure.empty();
    for (FitQuality& q : MeasureFitQuality(s))
        result.fits[q.method].quality = std::move(q);
    return result;
}

AtValue DesignedValueAt(QuilvexState& s, FitMethod method, Real X)
{
    const bool interpolates =
        method == FitMethod::Spline || method == FitMethod::Lagrange || method == FitMethod::LagrangeOrd;
    if (interpolates && !InDataRange(s, X))
        return {X, {}, "\"x\" value out of range!"};
    if ((method == FitMethod::Logarithmic || method == FitMethod::Power) && !(X > 0))
        return {X, {}, "\"x\" value zero or negative!"};
    AtValue at{X, {}, {}};
    try {
        ClearFpu();
        const Real y = CurveAt(s, method, X);
        CheckFpu();
        at.y = y;
    } catch (const std::exception& e) {
        at.error = e.what();
    }
    ClearFpu();
    return at;
}

}  // namespace quilvex
