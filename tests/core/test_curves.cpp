#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"
#include "graph/core/curves.h"
#include "support/recording_canvas.h"

using namespace quilvex;
using quilvex::testing::CanvasOp;
using quilvex::testing::RecordingCanvas;

namespace {

constexpr Color kPen = colors::Lime;  // no curve's colour: shows "the current colour"

// y = 5 x^2 at positive x, scaled as a cover of 80 % would; x = 0 is visible.
struct Scene {
    QuilvexState s;
    RecordingCanvas canvas;  // 538 x 402
    Plotter plot{s, canvas};

    explicit Scene(std::vector<Real> xs = {0.25L, 1, 2, 3, 4}, bool all = true)
    {
        ClearFpu();
        s.n = static_cast<int>(xs.size());
        for (int i = 1; i <= s.n; ++i) {
            s.x[i] = xs[static_cast<std::size_t>(i - 1)];
            s.y[i] = 5 * s.x[i] * s.x[i];
        }
        s.YMin = s.y[1] < s.y[s.n] ? s.y[1] : s.y[s.n];
        const Real yMax = s.y[1] < s.y[s.n] ? s.y[s.n] : s.y[1];
        s.MarginX = 108;
        s.MarginY = 80;
        s.XScale = (538 - 108) / (s.x[s.n] - s.x[1]);
        s.YScale = (402 - 80) / (yMax - s.YMin);
        s.PlotPoints = 50;  // about 10 pixels a step: no step is suppressed
        s.LagrOrd = 2;
        s.ShowRegr = s.ShowSpline = s.ShowLagr = s.ShowLagrO = s.ShowExp = s.ShowLog = s.ShowPower = all;
        canvas.SetPenColor(kPen);
        PrepareFits(s);
    }
    int Col(Real x) { return Round(plot.XToPixel(x)); }
    int Row(Real y) { return Round(plot.YToPixel(y)); }
};

enum class Domain { Visible, Positive, Data };

struct TracerCase {
    const char* name;
    void (*trace)(Plotter&);
    Color color;
    Domain domain;
    std::function<Real(QuilvexState&, Real)> f;
};

const TracerCase kTracers[] = {
    {"regression", TraceRegression, colors::Red, Domain::Visible,
     [](QuilvexState& s, Real t) { return EvalRegression(s.RegrOrd, s.RegrCoef, t); }},
    {"spline", TraceSpline, kPen, Domain::Data,
     [](QuilvexState& s, Real t) { return EvalSpline(s.n, s.x, s.y, s.SplineD2, t, s.MessageBuffer); }},
    {"lagrange", TraceLagrange, colors::Yellow, Domain::Data,
     [](QuilvexState& s, Real t) { return EvalLagrange(s.n, s.x, s.y, t); }},
    {"lagrange_ord", TraceLagrangeOrd, colors::Green, Domain::Data,
     [](QuilvexState& s, Real t) { return lagrange_ord(s.LagrOrd, s.n, s.x, s.y, t, s.MessageBuffer); }},
    {"exp", DrawExpCurve, colors::Purple, Domain::Visible, [](QuilvexState& s, Real t) { return ExpFitValue(s, t); }},
    {"log", DrawLogCurve, colors::Gray, Domain::Positive, [](QuilvexState& s, Real t) { return LogFitValue(s, t); }},
    {"power", DrawPowerCurve, colors::Blue, Domain::Positive,
     [](QuilvexState& s, Real t) { return PowerFitValue(s, t); }},
};

TEST(Curves, EachTracerFollowsTheTracingContract)
{
    for (const TracerCase& c : kTracers) {
        SCOPED_TRACE(c.name);
        Scene sc;
        c.trace(sc.plot);
        Real start = sc.plot.PixelToX(0), end = sc.plot.PixelToX(538);
        if (c.domain == Domain::Data) {
            start = sc.s.x[1];
            end = sc.s.x[sc.s.n];
        }
        if (c.domain == Domain::Positive)
            start = 1e-15L;  // the visible width starts left of 0
        EXPECT_EQ(sc.s.PlotXStart, start);
        EXPECT_EQ(sc.s.PlotXEnd, end);
        EXPECT_EQ(sc.s.PlotStep, (end - start) / 50);

        const auto& ops = sc.canvas.ops;
        ASSERT_GE(ops.size(), 51u);
        ASSERT_LE(ops.size(), 52u);
        EXPECT_EQ(ops.front().kind, CanvasOp::Move);
        EXPECT_EQ(ops.front().a, sc.Col(start));
        EXPECT_EQ(ops.front().b, sc.Row(c.f(sc.s, start)));
        EXPECT_EQ(ops[2].a, sc.Col(start + 2 * sc.s.PlotStep));
        EXPECT_EQ(ops[2].b, sc.Row(c.f(sc.s, start + 2 * sc.s.PlotStep)));
        EXPECT_EQ(ops.back().a, c.domain == Domain::Data ? 484 : 538);
        EXPECT_EQ(ops.back().b, sc.Row(c.f(sc.s, end)));
        for (std::size_t k = 1; k < ops.size(); ++k) {
            EXPECT_EQ(ops[k].kind, CanvasOp::Line);
            EXPECT_EQ(ops[k].pen, c.color);
            EXPECT_GT(ops[k].a, ops[k - 1].a);
        }
        EXPECT_EQ(sc.canvas.PenColor(), kPen);
        EXPECT_TRUE(sc.s.MessageBuffer.Empty()) << sc.s.MessageBuffer.Text();
    }
}

TEST(Curves, LogAndPowerLeftOfZeroEndTheReplotInTheirColour)
{
    for (void (*trace)(Plotter&) : {DrawLogCurve, DrawPowerCurve}) {
        Scene sc({-10, -9, -8});
        try {
            trace(sc.plot);
            ADD_FAILURE() << "no fault";
        } catch (const QuilvexError& e) {
            EXPECT_STREQ(e.what(), kInvalidText);
        }
        ClearFpu();
        EXPECT_EQ(sc.s.PlotXStart, 1e-15L);
        EXPECT_LT(sc.s.PlotStep, 0);
        EXPECT_NE(sc.canvas.PenColor(), kPen);
    }
}

TEST(Curves, DrawnInOrderByTheirFlags)
{
    Scene all;
    DrawCurves(all.plot);
    std::vector<Color> runs;
    for (const CanvasOp& op : all.canvas.ops)
        if (runs.empty() || !(runs.back() == op.pen))
            runs.push_back(op.pen);
    const std::vector<Color> order = {colors::Red,    kPen,         colors::Yellow, colors::Green,
                                      colors::Purple, colors::Gray, colors::Blue};
    EXPECT_EQ(runs, order);
    EXPECT_EQ(all.canvas.Count(CanvasOp::Move), 7);

    Scene none({0.25L, 1, 2, 3, 4}, false);
    DrawCurves(none.plot);
    EXPECT_TRUE(none.canvas.ops.empty());
}

TEST(Curves, PrepareFitsRunsTheEnabledFitsInOrder)
{
    Scene sc({0, 0, 1}, false);  // y = 0, 0, 5
    sc.s.ShowSpline = sc.s.ShowRegr = sc.s.ShowExp = true;
    sc.s.RegrOrd = 2;
    PrepareFits(sc.s);
    EXPECT_EQ(sc.s.MessageBuffer.Text(), " * Cubic spline impossible! * Can't solve : matrix singular! * y<=0 for exp * y<=0 for exp");

    Scene off({0.25L, 1, 2, 3, 4}, false);
    off.s.SplineD2[2] = off.s.RegrCoef[1] = off.s.Sums.SumX = 7;
    PrepareFits(off.s);
    EXPECT_EQ(off.s.SplineD2[2], 7);
    EXPECT_EQ(off.s.RegrCoef[1], 7);
    EXPECT_EQ(off.s.Sums.SumX, 7);
}

TEST(Marks, EveryEnabledCurveInOrderWithinItsRange)
{
    struct Case {
        Real X;
        int marks;
    };
    // Regression and exponential anywhere, log and power for X > 0, the
    // spline and both Lagrange curves within x[1]..x[n].
    const Case cases[] = {{-1, 2}, {0, 2}, {0.125L, 4}, {0.25L, 7}, {1.5L, 7}, {4, 7}, {4.5L, 4}};
    for (const Case& c : cases) {
        Scene sc;
        sc.s.LagrOrd = 3;
        MarkCurvesAt(sc.plot, c.X);
        QuilvexState& s = sc.s;
        std::vector<Real> values = {EvalRegression(s.RegrOrd, s.RegrCoef, c.X)};
        if (s.x[1] <= c.X && c.X <= s.x[s.n]) {
            values.push_back(EvalSpline(s.n, s.x, s.y, s.SplineD2, c.X, s.MessageBuffer));
            values.push_back(EvalLagrange(s.n, s.x, s.y, c.X));
            values.push_back(lagrange_ord(s.LagrOrd, s.n, s.x, s.y, c.X, s.MessageBuffer));
        }
        values.push_back(ExpFitValue(s, c.X));
        if (c.X > 0) {
            values.push_back(LogFitValue(s, c.X));
            values.push_back(PowerFitValue(s, c.X));
        }
        ASSERT_EQ(static_cast<int>(values.size()), c.marks);
        const auto& ops = sc.canvas.ops;
        ASSERT_EQ(ops.size(), 3 * values.size()) << double(c.X);
        for (std::size_t k = 0; k < values.size(); ++k) {
            const CanvasOp* mark = &ops[3 * k];
            EXPECT_EQ(mark[0].kind, CanvasOp::Move);
            EXPECT_EQ(mark[0].a, sc.Col(c.X));
            EXPECT_EQ(mark[0].b, 401);  // the bottom pixel row
            EXPECT_EQ(mark[1].a, sc.Col(c.X));
            EXPECT_EQ(mark[1].b, sc.Row(values[k])) << k;
            EXPECT_EQ(mark[2].a, 0);
            EXPECT_EQ(mark[2].b, mark[1].b);
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(mark[j].pen, kPen);
        }
        EXPECT_TRUE(s.MessageBuffer.Empty()) << s.MessageBuffer.Text();
    }
}

}  // namespace
