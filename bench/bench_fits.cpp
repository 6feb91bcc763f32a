// The fits on 300 points, each fast form beside its literal (exact) form.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/tables.h"
#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/spline.h"

namespace quilvex::bench {

namespace {

using Fit = void (*)(int, int, const RealArray&, const RealArray&, RealArray&, MessageText&);
using SplineSetUp = void (*)(int, const RealArray&, const RealArray&, RealArray&, MessageText&);
using Lagrange = Real (*)(int, const RealArray&, const RealArray&, Real);

void Regression(benchmark::State& state, Fit fit)
{
    const PointTable table = SmoothTable(300);
    const int order = static_cast<int>(state.range(0));
    RealArray coef;
    for (auto _ : state) {
        MessageText messages;
        ClearFpu();
        fit(table.n, order, table.x, table.y, coef, messages);
        benchmark::DoNotOptimize(coef);
    }
}

void Spline(benchmark::State& state, SplineSetUp setUp)
{
    const PointTable table = SmoothTable(300);
    RealArray d2;
    for (auto _ : state) {
        MessageText messages;
        ClearFpu();
        setUp(table.n, table.x, table.y, d2, messages);
        benchmark::DoNotOptimize(d2);
    }
}

void LagrangeValue(benchmark::State& state, Lagrange evaluate)
{
    const PointTable table = SmoothTable(300);
    Real t = 0.37L * table.x[1] + 0.63L * table.x[300];
    for (auto _ : state) {
        ClearFpu();
        benchmark::DoNotOptimize(evaluate(table.n, table.x, table.y, t));
    }
}

// Order 299 on 300 points with an infinity in X (0) or in Y (1), which end
// with a fault, or with a NaN in Y (2), which the solver carries to the end
// without one; the counter `faulted` tells which.
void RegressionNonFinite(benchmark::State& state)
{
    PointTable table = SmoothTable(300);
    const int where = static_cast<int>(state.range(0));
    (where == 0 ? table.x : table.y)[150] = where == 2 ? std::nanl("") : HUGE_VALL;
    RealArray coef;
    bool faulted = false;
    for (auto _ : state) {
        MessageText messages;
        ClearFpu();
        try {
            FitRegression(table.n, 299, table.x, table.y, coef, messages);
        } catch (const QuilvexError&) {
            faulted = true;
        }
    }
    state.counters["faulted"] = faulted;
}

}  // namespace

BENCHMARK(RegressionNonFinite)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Regression, fast, FitRegression)->Arg(3)->Arg(30)->Arg(299)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Regression, exact, literal::FitRegression)->Arg(3)->Arg(30)->Unit(benchmark::kMillisecond);
// About a quarter of a minute a run: three runs.
BENCHMARK_CAPTURE(Regression, exact, literal::FitRegression)
    ->Arg(299)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK_CAPTURE(Spline, fast, SetUpSpline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Spline, exact, literal::SetUpSpline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LagrangeValue, fast, EvalLagrange)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(LagrangeValue, exact, literal::EvalLagrange)->Unit(benchmark::kMicrosecond);

}  // namespace quilvex::bench
