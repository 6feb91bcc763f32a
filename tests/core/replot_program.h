#pragma once
// The core of a replot as the graph window runs it, by the fast forms or the
// literal ones, recording what it leaves behind.
#include <functional>
#include <string>
#include <utility>

#include "core/identity_support.h"
#include "graph/core/curves.h"
#include "graph/core/samples.h"
#include "graph/core/scaling.h"
#include "graph/core/scene.h"
#include "support/recording_canvas.h"
#include "support/vector_grid.h"

namespace quilvex::testing {

// One program: its state, paint box and grid, replotted by the fast or the exact forms.
struct Program {
    QuilvexState s;
    RecordingCanvas canvas;
    VectorGrid grid{300};
    bool fast;
    SamplePolicy policy = CurrentSamplePolicy();  // how the curves' samples are spread over threads

    explicit Program(bool useFast) : fast(useFast) {}

    // The core of a replot, as the graph window runs it; ops of this replot only.
    Outcome Replot(bool mark, Real X)
    {
        canvas.ops.clear();
        Plotter plot(s, canvas);
        const SamplePolicy before = CurrentSamplePolicy();
        SetSamplePolicy(policy);
        const Outcome outcome = Capture([&](std::vector<Real>& values, MessageText&) {
            s.LastPixel = Pixel{};
            s.MessageBuffer.Clear();
            try {
                ScaleGraph(s, grid, canvas.Width(), canvas.Height());
                PrepareFits(s, fast ? Forms::Fast : Forms::Literal);
                DrawAxes(plot);
                DrawCurves(plot, fast ? Forms::Fast : Forms::Literal);
                DrawPoints(plot);
                if (mark)
                    MarkCurvesAt(plot, X, fast ? Forms::Fast : Forms::Literal);
            } catch (...) {
                Record(values);
                throw;
            }
            Record(values);
        });
        SetSamplePolicy(before);
        return outcome;
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

inline void ExpectSameReplot(Program& fast, Program& exact, bool mark, Real X, const std::string& what)
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

struct ProgramKind {
    bool fast;
    SamplePolicy policy;
};

// Rounds of replots of seeded tables of 3..mostPoints points, with the changes
// a user makes between replots, each made to both programs alike (a drag
// among them): both must leave the same behind every time.
inline void ExpectSameReplots(unsigned seed, int rounds, int mostPoints, ProgramKind first, ProgramKind second)
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
        {"point picked", [](QuilvexState& s, TableMaker& make) {
             s.MouseIsDown = s.PointPicked = true;
             s.SelectedPoint = make.Int(1, s.n);
             s.DragOrigin = s.x[1];
         }},
        {"dragged", [](QuilvexState& s, TableMaker& make) { s.y[s.SelectedPoint] += make.Uniform(-1, 1); }},
        {"dragged sideways", [](QuilvexState& s, TableMaker& make) { s.x[s.SelectedPoint] += make.Uniform(-0.01L, 0.01L); }},
        {"dragged far", [](QuilvexState& s, TableMaker&) { s.y[s.SelectedPoint] = 1e4930L; }},
        {"dragged back", [](QuilvexState& s, TableMaker&) { s.y[s.SelectedPoint] = 0.5L; }},
        {"released", [](QuilvexState& s, TableMaker&) { s.MouseIsDown = s.PointPicked = false; }},
    };
    TableMaker make(seed);
    for (int round = 0; round < rounds; ++round) {
        const Shape shape = kShapes[round % std::size(kShapes)];
        const Table t = make.Make(make.Int(3, mostPoints), shape);
        Program one(first.fast), other(second.fast);
        one.policy = first.policy;
        other.policy = second.policy;
        const int lagrOrd = make.Int(2, t.n), regrOrd = make.Int(1, t.n + 1);
        const Real plotPoints = make.Int(0, 1) ? 40 : 512;
        const bool all = round % 3 != 0;
        for (Program* p : {&one, &other}) {
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
            TableMaker forOne(static_cast<unsigned>(round)), forOther(static_cast<unsigned>(round));
            change(one.s, forOne);
            change(other.s, forOther);
            ExpectSameReplot(one, other, round % 2 == 0, X, Describe(t) + ", " + name);
        }
    }
}

}  // namespace quilvex::testing
