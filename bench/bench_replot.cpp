// Replots through the real windows, offscreen, on the 538 x 402 paint box.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/program.h"
#include "graph/core/samples.h"
#include "support/controls.h"

namespace quilvex::bench {

namespace {

const std::vector<Method> kAllMethods = {Spline, Lagrange, LagrangeOrd, Regression, Exponential, Logarithmic, Power};

void ReportBox(benchmark::State& state, Program& program)
{
    state.counters["width"] = quilvex::testing::Find<PaintBox>(program.Plot(), "PlotPaintBox")->width();
    state.counters["height"] = quilvex::testing::Find<PaintBox>(program.Plot(), "PlotPaintBox")->height();
}

// 20 points, all seven methods, 512 plot points, computed afresh as after any change.
void TypicalReplot(benchmark::State& state)
{
    Program program;
    program.Show(SmoothTable(20), kAllMethods);
    for (auto _ : state) {
        program.ForgetReuse();
        program.Plot().Draw();
    }
    ReportBox(state, program);
}

// The same, repainted with nothing changed: the costly curves are reused.
void TypicalRepaint(benchmark::State& state)
{
    Program program;
    program.Show(SmoothTable(20), kAllMethods);
    for (auto _ : state)
        program.Plot().Draw();
}

// One method on 300 points, computed afresh.
void MethodReplot(benchmark::State& state)
{
    const Method method = static_cast<Method>(state.range(0));
    Program program;
    program.Show(SmoothTable(300), {method});
    for (auto _ : state) {
        program.ForgetReuse();
        program.Plot().Draw();
    }
    state.SetLabel(kMethodNames[method]);
}

// All-points Lagrange on 300 points: the first replot, then one more method
// ticked (or unticked) with the Lagrange curve already drawn.
void LagrangeFirstReplot(benchmark::State& state)
{
    Program program;
    program.Show(SmoothTable(300), {Lagrange});
    for (auto _ : state) {
        program.ForgetReuse();
        program.Plot().Draw();
    }
}

void LagrangeTickAnother(benchmark::State& state)
{
    Program program;
    program.Show(SmoothTable(300), {Lagrange});
    QCheckBox* box = program.Box(Exponential);
    for (auto _ : state)
        box->setChecked(!box->isChecked());  // the box's click replots
}

// All seven methods at 300 points and 10 000 plot points, computed afresh:
// the curves' samples on one thread (0) or on every core (1).
void LargeReplot(benchmark::State& state)
{
    const SamplePolicy before = CurrentSamplePolicy();
    SamplePolicy policy = before;
    if (state.range(0) == 0)
        policy.threads = 1;
    SetSamplePolicy(policy);
    {
        Program program;
        quilvex::testing::Find<QLineEdit>(program.Main(), "PlotPointsEdit")->setText("10000");
        program.Show(SmoothTable(300), kAllMethods);
        for (auto _ : state) {
            program.ForgetReuse();
            program.Plot().Draw();
        }
    }
    state.counters["threads"] = policy.threads;
    SetSamplePolicy(before);
}

// n points, all seven methods, 512 plot points: press on a point, then 40
// movements (each replots), release. The time is that of the 40 movements; a
// movement that leaves the point where it was ends the case with an error.
// The press is on the middle point (second argument 0 and 3), on the first
// (1) or on the one a tenth of the way (2); it picks the lowest-numbered point
// within its reach, which the counter `point` shows. The movements go
// straight up and down, so that the point's X stays after the first, or with
// 3 zigzag between two columns, so that it changes at every movement.
void Drag(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const int aimed[] = {(n + 1) / 2, 1, std::max(3, n / 10), (n + 1) / 2};
    const bool zigzag = state.range(1) == 3;
    constexpr int kMovements = 40;
    int k = 0;
    Program program;
    program.Show(SmoothTable(n), kAllMethods);
    TPlotForm& plot = program.Plot();
    QuilvexState& s = program.State();
    for (auto _ : state) {
        state.PauseTiming();
        const auto [ax, ay] = program.PixelOf(aimed[state.range(1)]);
        plot.PlotPaintBoxMouseDown(ax, ay);
        k = s.SelectedPoint;
        if (!s.PointPicked) {
            state.SkipWithError("the press picked no point");
            return;
        }
        const auto [px, py] = program.PixelOf(k);
        std::vector<int> columns = zigzag ? program.ColumnsBetweenNeighbours(k, px) : std::vector<int>{px};
        if (zigzag && columns.size() < 2) {
            state.SkipWithError("no two columns between the neighbours");
            return;
        }
        state.ResumeTiming();
        for (int m = 0; m < kMovements; ++m) {
            const Real x = s.x[k], y = s.y[k];
            plot.PlotPaintBoxMouseMove(columns[static_cast<std::size_t>(m) % columns.size()], py + (m % 41) - 20);
            if (SameBits(s.x[k], x) && SameBits(s.y[k], y)) {
                state.SkipWithError("a movement left the point where it was");
                return;
            }
        }
        state.PauseTiming();
        plot.PlotPaintBoxMouseUp(px, py);
        state.ResumeTiming();
    }
    state.counters["per_event_ms"] =
        benchmark::Counter(kMovements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["point"] = k;
}

// Drags the middle point of the shown table straight up and down, 40
// movements per iteration (each replots); the time is that of the movements.
void DragMiddlePoint(benchmark::State& state, Program& program)
{
    constexpr int kMovements = 40;
    TPlotForm& plot = program.Plot();
    QuilvexState& s = program.State();
    for (auto _ : state) {
        state.PauseTiming();
        const auto [ax, ay] = program.PixelOf((s.n + 1) / 2);
        plot.PlotPaintBoxMouseDown(ax, ay);
        if (!s.PointPicked) {
            state.SkipWithError("the press picked no point");
            return;
        }
        const int k = s.SelectedPoint;  // the first point within reach of the press
        const auto [px, py] = program.PixelOf(k);
        state.ResumeTiming();
        for (int m = 0; m < kMovements; ++m) {
            const Real y = s.y[k];
            plot.PlotPaintBoxMouseMove(px, py + (m % 41) - 20);
            if (SameBits(s.y[k], y)) {
                state.SkipWithError("a movement left the point where it was");
                return;
            }
        }
        state.PauseTiming();
        plot.PlotPaintBoxMouseUp(px, py);
        state.ResumeTiming();
    }
    state.counters["per_event_ms"] =
        benchmark::Counter(kMovements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The drag of the middle point with sigma at every point, weights 1/sigma^2,
// the weighted curves drawn and five points excluded.
void WeightedDrag(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Program program;
    program.Show(SmoothTable(n), kAllMethods);
    QuilvexDocument& document = program.Document();
    for (int row = 0; row < n; ++row)
        document.Grid().SetCell(2, row, "0.25");
    document.SetPointsExcluded({10, 20, 30, 40, 50}, true);
    document.SetWeightedCurvesShown(true);
    document.SetWeighting(Weighting::Sigma);
    if (program.State().Excluded.size() != 5) {
        state.SkipWithError("the five points were not set aside");
        return;
    }
    DragMiddlePoint(state, program);
}

// The drag of the middle point with the regression of order 3 through the
// origin and exponential-nls with b held, their constrained curves and the
// confidence and prediction bands drawn.
void ConstrainedDrag(benchmark::State& state)
{
    Program program;
    program.Show(SmoothTable(static_cast<int>(state.range(0))), kAllMethods);
    QuilvexDocument& document = program.Document();
    MethodConstraints constraints;
    constraints.regression.throughOrigin = true;
    constraints.exponentialNls.held = {{"b", 0.1L}};
    document.SetBands({true, true});
    document.SetConstraints(constraints);
    if (program.State().RegrOrd != 3) {
        state.SkipWithError("the regression is not of order 3");
        return;
    }
    DragMiddlePoint(state, program);
}

}  // namespace

BENCHMARK(WeightedDrag)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConstrainedDrag)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TypicalReplot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TypicalRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MethodReplot)->DenseRange(Spline, Power)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LagrangeFirstReplot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LagrangeTickAnother)->Unit(benchmark::kMillisecond)->UseRealTime();
// Their samples are computed on several threads: wall-clock time.
BENCHMARK(LargeReplot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Drag)
    ->Args({20, 0})
    ->Args({20, 3})
    ->Args({50, 0})
    ->Args({100, 0})
    ->Args({100, 3})
    ->Args({300, 0})
    ->Args({300, 3})
    ->Args({300, 2})
    ->Args({300, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace quilvex::bench
