// A verbatim copy of graph/core/curves.cpp as first written, calling the
// literal forms of the fits; the transformed fits are shared.
#include "reference/exact_curves.h"

#include <functional>

#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"

namespace quilvex::exact {

namespace {

constexpr Real kLogStart = 1e-15L;

using Curve = std::function<Real(Real)>;

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

// The pen is switched before the range is taken, so that a fault from there
// on leaves the curve's colour in force, as any fault within a trace does.
void TraceInColor(Plotter& plot, Color color, Span span, const Curve& f)
{
    QuilvexState& s = plot.State();
    Canvas& canvas = plot.Surface();
    s.SavedPenColor = canvas.PenColor();
    canvas.SetPenColor(color);
    const XRange range = RangeOf(plot, span);
    plot.TraceCurve(range.start, range.end, f);
    canvas.SetPenColor(s.SavedPenColor);
}

Real SplineAt(QuilvexState& s, Real t) { return EvalSpline(s.n, s.x, s.y, s.SplineD2, t, s.MessageBuffer); }

Real LagrangeOrdAt(QuilvexState& s, Real t) { return literal::lagrange_ord(s.LagrOrd, s.n, s.x, s.y, t, s.MessageBuffer); }

bool WithinData(const QuilvexState& s, Real X) { return s.x[1] <= X && X <= s.x[s.n]; }

}  // namespace

void PrepareFits(QuilvexState& s)
{
    if (s.ShowSpline)
        literal::SetUpSpline(s.n, s.x, s.y, s.SplineD2, s.MessageBuffer);
    if (s.ShowRegr)
        literal::FitRegression(s.n, s.RegrOrd, s.x, s.y, s.RegrCoef, s.MessageBuffer);
    if (s.ShowExp || s.ShowLog || s.ShowPower)
        ComputeFitSums(s);
}

void TraceRegression(Plotter& plot)
{
    QuilvexState& s = plot.State();
    TraceInColor(plot, colors::Red, Span::Visible,
                 [&](Real t) { return literal::EvalRegression(s.RegrOrd, s.RegrCoef, t); });
}

void TraceSpline(Plotter& plot)
{
    QuilvexState& s = plot.State();
    const XRange range = RangeOf(plot, Span::Data);
    plot.TraceCurve(range.start, range.end, [&](Real t) { return SplineAt(s, t); });
}

void TraceLagrange(Plotter& plot)
{
    QuilvexState& s = plot.State();
    TraceInColor(plot, colors::Yellow, Span::Data,
                 [&](Real t) { return literal::EvalLagrange(s.n, s.x, s.y, t); });
}

void TraceLagrangeOrd(Plotter& plot)
{
    QuilvexState& s = plot.State();
    TraceInColor(plot, colors::Green, Span::Data,
                 [&](Real t) { return LagrangeOrdAt(s, t); });
}

void DrawExpCurve(Plotter& plot)
{
    QuilvexState& s = plot.State();
    SolveExpFit(s);
    TraceInColor(plot, colors::Purple, Span::Visible,
                 [&](Real t) { return ExpFitValue(s, t); });
}

void DrawLogCurve(Plotter& plot)
{
    QuilvexState& s = plot.State();
    SolveLogFit(s);
    TraceInColor(plot, colors::Gray, Span::VisiblePositive,
                 [&](Real t) { return LogFitValue(s, t); });
}

void DrawPowerCurve(Plotter& plot)
{
    QuilvexState& s = plot.State();
    SolvePowerFit(s);
    TraceInColor(plot, colors::Blue, Span::VisiblePositive,
                 [&](Real t) { return PowerFitValue(s, t); });
}

void DrawCurves(Plotter& plot)
{
    const QuilvexState& s = plot.State();
    if (s.ShowRegr)
        TraceRegression(plot);
    if (s.ShowSpline)
        TraceSpline(plot);
    if (s.ShowLagr)
        TraceLagrange(plot);
    if (s.ShowLagrO)
        TraceLagrangeOrd(plot);
    if (s.ShowExp)
        DrawExpCurve(plot);
    if (s.ShowLog)
        DrawLogCurve(plot);
    if (s.ShowPower)
        DrawPowerCurve(plot);
}

void MarkXValue(Plotter& plot, Real x, Real y)
{
    plot.MoveToValue(x, plot.PixelToY(plot.Surface().Height() - 1));
    plot.LineToValue(x, y);
    plot.LineToValue(plot.PixelToX(0), y);
}

void MarkCurvesAt(Plotter& plot, Real X)
{
    QuilvexState& s = plot.State();
    if (s.ShowRegr)
        MarkXValue(plot, X, literal::EvalRegression(s.RegrOrd, s.RegrCoef, X));
    if (s.ShowSpline && WithinData(s, X))
        MarkXValue(plot, X, SplineAt(s, X));
    if (s.ShowLagr && WithinData(s, X))
        MarkXValue(plot, X, literal::EvalLagrange(s.n, s.x, s.y, X));
    if (s.ShowLagrO && WithinData(s, X))
        MarkXValue(plot, X, LagrangeOrdAt(s, X));
    if (s.ShowExp)
        MarkXValue(plot, X, ExpFitValue(s, X));
    if (s.ShowLog && X > 0)
        MarkXValue(plot, X, LogFitValue(s, X));
    if (s.ShowPower && X > 0)
        MarkXValue(plot, X, PowerFitValue(s, X));
}

}  // namespace quilvex::exact
