#include "graph/core/curves.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "fit/fastpath.h"
#include "fit/lagrange.h"
#include "fit/method.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"
#include "graph/core/keptfits.h"
#include "graph/core/lagrangedrag.h"
#include "graph/core/samples.h"

namespace quilvex {

namespace {

constexpr Real kLogStart = 1e-15L;

// A curve's value at t; the messages it adds go to the buffer it is given.
using Curve = std::function<Real(Real, MessageText&)>;

struct XRange {
    Real start, end;
};

enum class Span {
    Data,             // x[1]..x[n]
    Visible,          // the visible width, for curves drawn beyond the data
    VisiblePositive,  // the visible width, started right of 0 where ln is defined
};

XRange RangeOf(Plotter& plot, Span span)
{
    const QuilvexState& s = plot.State();
    if (span == Span::Data)
        return {s.x[1], s.x[s.n]};
    Real start = plot.PixelToX(0);
    if (span == Span::VisiblePositive && start <= 0)
        start = kLogStart;
    const Real end = plot.PixelToX(plot.Surface().Width());
    return {start, end};
}

// Curves are drawn over their domain: the data, or as much of it as is visible.
Span SpanOf(Method m)
{
    switch (RowOf(m).domain) {
    case Domain::DataRange: return Span::Data;
    case Domain::Positive: return Span::VisiblePositive;
    case Domain::All: break;
    }
    return Span::Visible;
}

// The samples of one trace: the arguments the tracing contract asked for, in
// order, with the values and the messages of the curve. Replaying them gives
// the same values and messages as evaluating again; the mapping to pixels
// still runs, with its own messages.
class SampleTrace {
public:
    SampleTrace(QuilvexState& s, Recorded& kept, ReuseKey key, const Curve& f)
        : s_(s), kept_(kept), f_(f), replay_(kept.valid && kept.key == key && !FaultFlagged())
    {
        fresh_.key = std::move(key);
    }

    Real operator()(Real t)
    {
        if (replay_ && next_ < kept_.arguments.size() && SameBits(kept_.arguments[next_], t))
            return Replayed();
        replay_ = false;
        return Evaluated(t);
    }

    // Called once the trace has ended normally.
    void Keep()
    {
        if (replay_ && next_ == kept_.arguments.size())
            return;
        fresh_.valid = true;
        kept_ = std::move(fresh_);
    }

private:
    Real Replayed()
    {
        for (; nextMessage_ < kept_.messages.size() && kept_.messages[nextMessage_].first == next_; ++nextMessage_) {
            const std::string& text = kept_.messages[nextMessage_].second;
            s_.MessageBuffer.Append(text);
            fresh_.messages.emplace_back(fresh_.values.size(), text);
        }
        fresh_.arguments.push_back(kept_.arguments[next_]);
        fresh_.values.push_back(kept_.values[next_]);
        return kept_.values[next_++];
    }

    // The curve's messages are collected apart and then added to the buffer,
    // also when the curve ends with an error, since they came before it.
    Real Evaluated(Real t)
    {
        MessageText own;
        Real value;
        try {
            value = f_(t, own);
        } catch (...) {
            if (!own.Empty())
                s_.MessageBuffer.Append(own.Text());
            throw;
        }
        if (!own.Empty()) {
            s_.MessageBuffer.Append(own.Text());
            fresh_.messages.emplace_back(fresh_.values.size(), own.Text());
        }
        fresh_.arguments.push_back(t);
        fresh_.values.push_back(value);
        ++next_;
        return value;
    }

    QuilvexState& s_;
    Recorded& kept_;
    const Curve& f_;
    bool replay_;
    std::size_t next_ = 0, nextMessage_ = 0;
    Recorded fresh_;
};

// How a curve is traced: its values and their cost per sample (in divisions,
// to decide whether to share them out over threads); optionally where its
// samples are kept for the next replot, under the key of the curve's inputs,
// and how to compute them ahead other than by f.
struct CurveTrace {
    CurveTrace(Curve values, double costPerSample) : f(std::move(values)), cost(costPerSample) {}

    Curve f;
    double cost = 1;
    Recorded* kept = nullptr;
    ReuseKey key;
    std::function<IndexedCurve(const std::vector<Real>& arguments)> aheadFor;
};

// The most arguments computed ahead; PlotPoints is at most 10 000.
constexpr std::size_t kMostArguments = 1 << 16;

// The samples are computed ahead (see samples.h) unless the last trace's are
// replayed: with somewhere to keep them, they are reused when the key, the
// range and PlotPoints are all unchanged.
void TraceSamples(Plotter& plot, XRange range, CurveTrace& trace)
{
    QuilvexState& s = plot.State();
    bool replays = false;
    if (trace.kept != nullptr) {
        trace.key.Add(range.start);
        trace.key.Add(range.end);
        trace.key.Add(s.PlotPoints);
        replays = trace.kept->valid && trace.kept->key == trace.key && !FaultFlagged();
    }
    SamplesAhead ahead;
    if (!replays) {
        std::vector<Real> arguments = plot.TraceArguments(range.start, range.end, kMostArguments);
        IndexedCurve special = trace.aheadFor ? trace.aheadFor(arguments) : IndexedCurve{};
        const bool always = static_cast<bool>(special);
        if (!special)
            special = [&](std::size_t, Real t, MessageText& messages) { return trace.f(t, messages); };
        ahead = SamplesAhead(std::move(arguments), special, trace.cost, always);
    }
    const Curve valueAt = [&](Real t, MessageText& messages) { return ahead.Value(t, messages, trace.f); };
    if (trace.kept == nullptr) {
        plot.TraceCurve(range.start, range.end, [&](Real t) { return valueAt(t, s.MessageBuffer); });
        return;
    }
    SampleTrace samples(s, *trace.kept, std::move(trace.key), valueAt);
    plot.TraceCurve(range.start, range.end, std::ref(samples));
    samples.Keep();
}

// The pen is switched before the range is taken, so that a fault from there
// on leaves the curve's colour in force, as any fault within a trace does.
void TraceInColor(Plotter& plot, Method m, CurveTrace trace)
{
    QuilvexState& s = plot.State();
    Canvas& canvas = plot.Surface();
    s.SavedPenColor = canvas.PenColor();
    canvas.SetPenColor(RowOf(m).color);
    TraceSamples(plot, RangeOf(plot, SpanOf(m)), trace);
    canvas.SetPenColor(s.SavedPenColor);
}

}  // namespace

void PrepareFits(QuilvexState& s, Forms forms)
{
    const bool fast = forms == Forms::Fast;
    if (s.ShowSpline && fast)
        SetUpSplineReusing(s);
    else if (s.ShowSpline)
        literal::SetUpSpline(s.n, s.x, s.y, s.SplineD2, s.MessageBuffer);
    if (s.ShowRegr && fast)
        FitRegressionReusing(s);
    else if (s.ShowRegr)
        literal::FitRegression(s.n, s.RegrOrd, s.x, s.y, s.RegrCoef, s.MessageBuffer);
    if (s.ShowExp || s.ShowLog || s.ShowPower)
        ComputeFitSums(s);
}

void TraceRegression(Plotter& plot)
{
    QuilvexState& s = plot.State();
    CurveTrace trace{[&](Real t, MessageText&) { return EvalRegression(s.RegrOrd, s.RegrCoef, t); },
                     3.0 * (s.RegrOrd + 1)};
    if (0 <= s.RegrOrd && s.RegrOrd + 1 <= MaxPoints) {
        trace.kept = &s.Reuse.regressionCurve;
        trace.key.AddArray(s.RegrOrd + 1, s.RegrCoef);
    }
    TraceInColor(plot, Method::Regression, std::move(trace));
}

void TraceSpline(Plotter& plot)
{
    QuilvexState& s = plot.State();
    const XRange range = RangeOf(plot, Span::Data);
    CurveTrace trace{[&](Real t, MessageText& messages) {
                         return EvalSpline(s.n, s.x, s.y, s.SplineD2, t, messages);
                     },
                     s.n / 4.0 + 30};
    TraceSamples(plot, range, trace);
}

void TraceLagrange(Plotter& plot)
{
    QuilvexState& s = plot.State();
    CurveTrace trace{[&](Real t, MessageText&) { return EvalLagrange(s.n, s.x, s.y, t); },
                     static_cast<double>(s.n) * s.n};
    if (TableFits(s)) {
        trace.kept = &s.Reuse.lagrangeCurve;
        trace.key = TableKey(s);
        trace.aheadFor = [&](const std::vector<Real>& arguments) { return LagrangeDragCurve(s, arguments); };
    }
    TraceInColor(plot, Method::Lagrange, std::move(trace));
}

void TraceLagrangeOrd(Plotter& plot)
{
    QuilvexState& s = plot.State();
    const double window = std::min(s.LagrOrd, s.n) + 1.0;
    CurveTrace trace{[&](Real t, MessageText& messages) { return lagrange_ord(s.LagrOrd, s.n, s.x, s.y, t, messages); },
                     window * window + s.n / 4.0};
    if (TableFits(s)) {
        trace.kept = &s.Reuse.lagrangeOrdCurve;
        trace.key = TableKey(s);
        trace.key.Add(static_cast<int>(s.LagrOrd));
    }
    TraceInColor(plot, Method::LagrangeOrd, std::move(trace));
}

// Exp and Ln cost some tens of divisions each.
void DrawExpCurve(Plotter& plot)
{
    QuilvexState& s = plot.State();
    SolveExpFit(s);
    TraceInColor(plot, Method::Exponential, {[&](Real t, MessageText&) { return ExpFitValue(s, t); }, 50});
}

void DrawLogCurve(Plotter& plot)
{
    QuilvexState& s = plot.State();
    SolveLogFit(s);
    TraceInColor(plot, Method::Logarithmic,
                 {[&](Real t, MessageText&) { return LogFitValue(s, t); }, 50});
}

void DrawPowerCurve(Plotter& plot)
{
    QuilvexState& s = plot.State();
    SolvePowerFit(s);
    TraceInColor(plot, Method::Power,
                 {[&](Real t, MessageText&) { return PowerFitValue(s, t); }, 100});
}

namespace {

void TraceMethod(Plotter& plot, Method m)
{
    switch (m) {
    case Method::Regression: TraceRegression(plot); return;
    case Method::Spline: TraceSpline(plot); return;
    case Method::Lagrange: TraceLagrange(plot); return;
    case Method::LagrangeOrd: TraceLagrangeOrd(plot); return;
    case Method::Exponential: DrawExpCurve(plot); return;
    case Method::Logarithmic: DrawLogCurve(plot); return;
    case Method::Power: DrawPowerCurve(plot); return;
    }
}

// The curve sample by sample through the literal forms, in the method's colour
// (the spline in the pen's) over its span.
void TraceLiterally(Plotter& plot, Method m)
{
    QuilvexState& s = plot.State();
    if (m == Method::Exponential)
        SolveExpFit(s);
    if (m == Method::Logarithmic)
        SolveLogFit(s);
    if (m == Method::Power)
        SolvePowerFit(s);
    Canvas& canvas = plot.Surface();
    const bool ownColor = m != Method::Spline;
    if (ownColor) {
        s.SavedPenColor = canvas.PenColor();
        canvas.SetPenColor(RowOf(m).color);
    }
    const XRange range = RangeOf(plot, SpanOf(m));
    plot.TraceCurve(range.start, range.end,
                    [&](Real t) { return MethodValue(s, m, t, s.MessageBuffer, Forms::Literal); });
    if (ownColor)
        canvas.SetPenColor(s.SavedPenColor);
}

}  // namespace

void DrawCurves(Plotter& plot, Forms forms)
{
    QuilvexState& s = plot.State();
    if (!(s.MouseIsDown && s.PointPicked))
        s.Reuse.lagrangeDrag = KeptProducts{};  // a drag has ended
    for (Method m : kDrawOrder)
        if (Shown(s, m))
            forms == Forms::Fast ? TraceMethod(plot, m) : TraceLiterally(plot, m);
}

void MarkXValue(Plotter& plot, Real x, Real y)
{
    plot.MoveToValue(x, plot.PixelToY(plot.Surface().Height() - 1));
    plot.LineToValue(x, y);
    plot.LineToValue(plot.PixelToX(0), y);
}

void MarkCurvesAt(Plotter& plot, Real X, Forms forms)
{
    QuilvexState& s = plot.State();
    for (Method m : kDrawOrder)
        if (Shown(s, m) && InDomain(s, m, X))
            MarkXValue(plot, X, MethodValue(s, m, X, s.MessageBuffer, forms));
}

}  // namespace quilvex
