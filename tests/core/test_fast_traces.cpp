// Whole replots of the calculation core, fast forms and reused samples against
// the exact forms: the same canvas calls, messages, errors and program-wide
// results, replot after replot.
#include <gtest/gtest.h>

#include "core/identity_support.h"
#include "graph/core/curves.h"
#include "graph/core/scaling.h"
#include "graph/core/scene.h"
#include "reference/exact_curves.h"
#include "support/recording_canvas.h"
#include "support/vector_grid.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

// One program: its state, paint box and grid, replotted by the fast or the exact forms.
struct Program {
    QuilvexState s;
    RecordingCanvas canvas;
    VectorGrid grid{300};
    bool fast;

    explicit Program(bool useFast) : fast(useFast) {}

    // The core of a replot, as the graph window runs it; ops of this replot only.
    Outcome Replot(bool mark, Real X)
    {
        canvas.ops.clear();
        Plotter plot(s, canvas);
        return Capture([&](std::vector<Real>& values, MessageText&) {
            s.LastPixel = Pixel{};
            s.MessageBuffer.Clear();
            try {
                ScaleGraph(s, grid, canvas.Width(), canvas.Height());
                fast ? PrepareFits(s) : exact::PrepareFits(s);
                DrawAxes(plot);
                fast ? DrawCurves(plot) : exact::DrawCurves(plot);
                DrawPoints(plot);
                if (mark)
                    fast ? MarkCurvesAt(plot, X) : exact::MarkCurvesAt(plot, X);
            } catch (...) {
                Record(values);
                throw;
            }
            Record(values);
        });
    }

    void Record(std::vector<Real>& values)
    {
        values = {s.PlotXStart, s.PlotXEnd, s.PlotStep, s.PlotX, s.FitDet, s.ExpA, s.ExpB, s.LogA, s.LogB,
                  s.PowerA, s.PowerB, s.XScale, s.YScale};
        values.insert(values.end(), s.RegrCoef.data(), s.RegrCoef.data() + 300);
        values.insert(values.end(), s.SplineD2.data(), s.SplineD2.data() + 300);
        values.insert(values.end(), s.x.data(), s.x.data() + 300);
        for (const CanvasOp& op : canvas.ops)
            values.insert(values.end(), {Real(op.kind), Real(op.a), Real(op.b), Real(op.c), Real(op.d),
                                         Real(op.pen.r), Real(op.pen.g), Real(op.pen.b)});
    }
};

void ExpectSameReplot(Program& fast, Program& exact, bool mark, Real X, const std::string& what)
{
    const Outcome f = fast.Replot(mark, X);
    const Outcome e = exact.Replot(mark, X);
    ExpectSameOutcome(f, e, what);
    EXPECT_EQ(fast.canvas.ops.size(), exact.canvas.ops.size()) << what;
    // The buffer as the replot leaves it, the marks' messages included.
    EXPECT_EQ(fast.s.MessageBuffer.Text(), exact.s.MessageBuffer.Text()) << what;
}

// A change made to both programs between replots.
using Change = std::function<void(QuilvexState&, TableMaker&)>;

TEST(FastTraces, ReplotAfterReplotAsTheExactFormsDrawIt)
{
    const std::pair<const char*, Change> changes[] = {
        {"unchanged", [](QuilvexState&, TableMaker&) {}},
        {"another method", [](QuilvexState& s, TableMaker&) { s.ShowExp = !s.ShowExp; }},
        {"a point moved", [](QuilvexState& s, TableMaker& make) { s.y[make.Int(1, s.n)] += 0.5L; }},
        {"unchanged", [](QuilvexState&, TableMaker&) {}},
        {"order", [](QuilvexState& s, TableMaker& make) { s.LagrOrd = make.Int(1, s.n); s.RegrOrd = make.Int(1, s.n + 1); }},
        {"plot points", [](QuilvexState& s, TableMaker&) { s.PlotPoints = s.PlotPoints == 5 ? 64 : 5; }},
        {"first point moved", [](QuilvexState& s, TableMaker&) { s.x[1] -= 1; }},
        {"unchanged", [](QuilvexState&, TableMaker&) {}},
    };
    TableMaker make(8080);
    for (int round = 0; round < 24; ++round) {
        const Shape shape = kShapes[round % std::size(kShapes)];
        const Table t = make.Make(make.Int(3, 16), shape);
        Program fast(true), exact(false);
        const int lagrOrd = make.Int(2, t.n), regrOrd = make.Int(1, t.n + 1);
        const Real plotPoints = make.Int(0, 1) ? 40 : 512;
        const bool all = round % 3 != 0;
        for (Program* p : {&fast, &exact}) {
            QuilvexState& s = p->s;
            s.n = t.n;
            s.x = t.x;
            s.y = t.y;
            s.LagrOrd = lagrOrd;
            s.RegrOrd = regrOrd;
            s.PlotPoints = plotPoints;
            s.ShowRegr = s.ShowLagr = s.ShowLagrO = true;
            s.ShowSpline = s.ShowExp = s.ShowLog = s.ShowPower = all;
        }
        const Real X = make.Uniform(-12, 12);
        for (const auto& [name, change] : changes) {
            TableMaker forFast(static_cast<unsigned>(round)), forExact(static_cast<unsigned>(round));
            change(fast.s, forFast);
            change(exact.s, forExact);
            ExpectSameReplot(fast, exact, round % 2 == 0, X, Describe(t) + ", " + name);
        }
    }
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
