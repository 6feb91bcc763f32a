#include "stats/designed.h"

#include <algorithm>
#include <functional>
#include <string_view>

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

constexpr std::string_view kMark = " * ";

std::vector<std::string> SplitMessages(std::string_view text)
{
    std::vector<std::string> pieces;
    for (std::size_t at = text.find(kMark); at != std::string_view::npos;) {
        const std::size_t from = at + kMark.size();
        at = text.find(kMark, from);
        pieces.emplace_back(text.substr(from, at == std::string_view::npos ? at : at - from));
    }
    return pieces;
}

// A message cut by the full buffer: the start of a whole one, or a whole one
// followed by the start of the next mark.
bool CutShortOf(const std::string& piece, const std::string& whole)
{
    if (whole.starts_with(piece))
        return true;
    return piece.starts_with(whole) && kMark.starts_with(std::string_view(piece).substr(whole.size()));
}

// Adds the buffer's messages not listed yet, each whole, and empties the
// buffer. One step repeats one message, so a message the full buffer cut
// short is one of the step's listed whole before it.
void TakeMessages(MessageText& buffer, std::vector<std::string>& messages)
{
    std::vector<std::string> pieces = SplitMessages(buffer.Text());
    const bool full = buffer.Text().size() == MessageText::Capacity;
    buffer.Clear();
    if (full && pieces.size() > 1) {
        const auto cut = [&](const std::string& whole) { return CutShortOf(pieces.back(), whole); };
        if (std::any_of(pieces.begin(), pieces.end() - 1, cut))
            pieces.pop_back();
    }
    for (std::string& piece : pieces)
        if (std::find(messages.begin(), messages.end(), piece) == messages.end())
            messages.push_back(std::move(piece));
}

// The steps a replot takes for the method before tracing it: PrepareFits's
// part (with the sums' domain messages of this method alone), then the solve
// the exponential, logarithmic and power curves start with. stepDone runs
// between two steps.
void Fit(QuilvexState& s, Method method, const std::function<void()>& stepDone)
{
    switch (method) {
    case Method::Spline: SetUpSplineReusing(s); return;
    case Method::Regression: FitRegressionReusing(s); return;
    case Method::Lagrange:
    case Method::LagrangeOrd: return;
    case Method::Exponential: ComputeFitSums(s); stepDone(); SolveExpFit(s); return;
    case Method::Logarithmic: ComputeFitSums(s); stepDone(); SolveLogFit(s); return;
    case Method::Power: ComputeFitSums(s); stepDone(); SolvePowerFit(s); return;
    }
}

DesignedFit Prepare(QuilvexState& s, Method method)
{
    DesignedFit fit;
    SwitchOnly(s, method);
    s.MessageBuffer.Clear();
    const auto takeMessages = [&] { TakeMessages(s.MessageBuffer, fit.messages); };
    try {
        ClearFpu();
        Fit(s, method, takeMessages);
        CheckFpu();
    } catch (const std::exception& e) {
        fit.failure = e.what();
    }
    takeMessages();
    ClearFpu();
    return fit;
}

}  // namespace

std::optional<Method> DesignedMethodOf(StatsMethod method)
{
    if (method.trueLeastSquares || method.stableSolver || method.weighted || method.constrained)
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
