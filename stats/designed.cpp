#include "stats/designed.h"

#include "fit/method.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"
#include "graph/core/keptfits.h"

namespace quilvex {

namespace {

void SwitchOnly(QuilvexState& s, Method method)
{
    for (const MethodRow& row : kMethods)
        s.*row.show = row.method == method;
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
void Fit(QuilvexState& s, Method method)
{
    switch (method) {
    case Method::Spline: SetUpSplineReusing(s); return;
    case Method::Regression: FitRegressionReusing(s); return;
    case Method::Lagrange:
    case Method::LagrangeOrd: return;
    case Method::Exponential: ComputeFitSums(s); SolveExpFit(s); return;
    case Method::Logarithmic: ComputeFitSums(s); SolveLogFit(s); return;
    case Method::Power: ComputeFitSums(s); SolvePowerFit(s); return;
    }
}

DesignedFit Prepare(QuilvexState& s, Method method)
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

}  // namespace

std::optional<Method> DesignedMethodOf(StatsMethod method)
{
    if (method.trueLeastSquares)
        return std::nullopt;
    return method.fit;
}

Method FitNeededBy(StatsMethod method) { return method.fit; }

DesignedFits PrepareDesignedFits(QuilvexState& s, const std::vector<StatsMethod>& methods)
{
    DesignedFits result;
    for (StatsMethod method : methods) {
        const Method designed = FitNeededBy(method);
        if (!result.fits.count(designed))
            result.fits[designed] = Prepare(s, designed);
    }
    SwitchOnly(s, Method::Spline);
    s.ShowSpline = false;
    for (const auto& [method, fit] : result.fits)
        s.*RowOf(method).show = fit.failure.empty();
    for (FitQuality& q : MeasureFitQuality(s))
        result.fits[q.method].quality = std::move(q);
    return result;
}

AtValue DesignedValueAt(QuilvexState& s, Method method, Real X)
{
    const bool interpolates =
        method == Method::Spline || method == Method::Lagrange || method == Method::LagrangeOrd;
    if (interpolates && !InDataRange(s, X))
        return {X, {}, "\"x\" value out of range!"};
    if ((method == Method::Logarithmic || method == Method::Power) && !(X > 0))
        return {X, {}, "\"x\" value zero or negative!"};
    AtValue at{X, {}, {}};
    try {
        ClearFpu();
        MessageText ignored;
        const Real y = MethodValue(s, method, X, ignored);
        CheckFpu();
        at.y = y;
    } catch (const std::exception& e) {
        at.error = e.what();
    }
    ClearFpu();
    return at;
}

}  // namespace quilvex
