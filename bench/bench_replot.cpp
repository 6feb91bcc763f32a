// Replots through the real windows, offscreen, on the 538 x 402 paint box.
#include <benchmark/benchmark.h>

#include "bench/program.h"

namespace quilvex::bench {

namespace {

const std::vector<Method> kAllMethods = {Spline, Lagrange, LagrangeOrd, Regression, Exponential, Logarithmic, Power};

void ReportBox(benchmark::State& state, Program& program)
{
    state.counters["width"] = program.Plot().PlotPaintBox->width();
    state.counters["height"] = program.Plot().PlotPaintBox->height();
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

// 50 points, all seven methods: press on point 25, 100 accepted movements
// (each replots), release. The time is that of the 100 movements.
void Drag(benchmark::State& state)
{
    Program program;
    program.Show(SmoothTable(50), kAllMethods);
    TPlotForm& plot = program.Plot();
    for (auto _ : state) {
        state.PauseTiming();
        const auto [px, py] = program.PixelOf(25);
        plot.PlotPaintBoxMouseDown(px, py);
        state.ResumeTiming();
        for (int k = 0; k < 100; ++k)
            plot.PlotPaintBoxMouseMove(px + (k % 7) - 3, py + (k % 41) - 20);
        state.PauseTiming();
        plot.PlotPaintBoxMouseUp(px, py);
        state.ResumeTiming();
    }
    state.counters["per_event_ms"] =
        benchmark::Counter(100, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(TypicalReplot)->Unit(benchmark::kMillisecond);
BENCHMARK(TypicalRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(MethodReplot)->DenseRange(Spline, Power)->Unit(benchmark::kMillisecond);
BENCHMARK(LagrangeFirstReplot)->Unit(benchmark::kMillisecond);
BENCHMARK(LagrangeTickAnother)->Unit(benchmark::kMillisecond);
BENCHMARK(Drag)->Unit(benchmark::kMillisecond);

}  // namespace quilvex::bench
