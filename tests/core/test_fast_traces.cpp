// Whole replots of the calculation core, fast forms and reused samples against
// the exact forms: the same canvas calls, messages, errors and program-wide
// results, replot after replot.
#include <gtest/gtest.h>

#include "core/replot_program.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

TEST(FastTraces, ReplotAfterReplotAsTheExactFormsDrawIt)
{
    const SamplePolicy policy = CurrentSamplePolicy();
    ExpectSameReplots(8080, 24, 16, {true, policy}, {false, policy});
}

// Reused samples are drawn as they were kept, so spoiling them shows whether a
// replot took them over or computed them again.
struct Spoiled {
    Program program{true};

    explicit Spoiled(int n)
    {
        QuilvexState& s = program.s;
        s.n = n;
        for (int i = 1; i <= n; ++i) {
            s.x[i] = i;
            s.y[i] = (i * 7) % 5;
        }
        s.ShowLagr = true;
        s.PlotPoints = 50;
        program.Replot(false, 0);
        EXPECT_TRUE(s.Reuse.lagrangeCurve.valid);
        for (Real& v : s.Reuse.lagrangeCurve.values)
            v = 0;
    }
    // Yellow line-tos drawn at the row of y = 0.
    int LinesOnZero()
    {
        Plotter plot(program.s, program.canvas);
        const int row = Round(plot.YToPixel(0));
        int count = 0;
        for (const CanvasOp& op : program.canvas.ops)
            count += op.kind == CanvasOp::Line && op.pen == colors::Yellow && op.b == row;
        return count;
    }
};

TEST(FastTraces, AnUnchangedLagrangeCurveIsNotComputedAgain)
{
    Spoiled ticked(30);
    ticked.program.s.ShowExp = true;  // ticking another method
    ticked.program.Replot(false, 0);
    EXPECT_GT(ticked.LinesOnZero(), 40);

    Spoiled moved(30);
    moved.program.s.y[4] += 1;  // a point moved: computed afresh
    moved.program.Replot(false, 0);
    EXPECT_LT(moved.LinesOnZero(), 10);

    Spoiled denser(30);
    denser.program.s.PlotPoints = 60;
    denser.program.Replot(false, 0);
    EXPECT_LT(denser.LinesOnZero(), 10);
}

// An interval too narrow to divide by: the set-up adds its message, which a
// replot taking the kept second derivatives over adds again.
TEST(FastTraces, AnUnchangedSplineIsTakenOverWithItsMessages)
{
    Program p(true);
    QuilvexState& s = p.s;
    s.n = 5;
    const Real xs[] = {0, 1e-25L, 1, 2, 3}, ys[] = {0, 1, 2, 0, 1};
    for (int i = 1; i <= 5; ++i)
        s.x[i] = xs[i - 1], s.y[i] = ys[i - 1];
    s.ShowSpline = true;
    p.Replot(false, 0);
    const std::string messages = s.MessageBuffer.Text();
    EXPECT_NE(messages.find("Cubic spline impossible"), std::string::npos);
    ASSERT_TRUE(s.Reuse.spline.valid);
    s.Reuse.spline.values[2] = 12345;  // spoiled: shows whether the next replot took it over
    p.Replot(false, 0);
    EXPECT_EQ(s.SplineD2[3], 12345);
    EXPECT_EQ(s.MessageBuffer.Text(), messages);
    s.y[5] += 1;
    p.Replot(false, 0);
    EXPECT_NE(s.SplineD2[3], 12345);
}

TEST(FastTraces, ATraceEndedByAnErrorIsNotKept)
{
    Program p(true);
    QuilvexState& s = p.s;
    s.n = 4;
    s.x[1] = 0, s.x[2] = 1e-4000L, s.x[3] = 1, s.x[4] = 2;  // a basis product of 1e4000
    s.y[1] = 1, s.y[2] = 1e1000L, s.y[3] = 1, s.y[4] = 1;
    s.ShowLagr = true;
    EXPECT_EQ(p.Replot(false, 0).error, kOverflowText);
    EXPECT_FALSE(s.Reuse.lagrangeCurve.valid);
    s.RegrOrd = 3;
    s.ShowLagr = false;
    s.ShowRegr = true;
    s.x[2] = 1, s.x[3] = 2, s.x[4] = 3;
    s.y[3] = 1e4931L, s.y[4] = -1e4931L;  // 27 y[4] overflows
    EXPECT_EQ(p.Replot(false, 0).error, kOverflowText);
    EXPECT_FALSE(s.Reuse.regression.valid);
}

}  // namespace
