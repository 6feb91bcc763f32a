// The figures `quilvex fit` prints, for every method at once on 300 points
// with the regression of order 299: the designed fits, "Fit quality", the
// stability check, the standard errors and the true least-squares fits.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/tables.h"
#include "stats/linear.h"
#include "stats/statistics.h"

namespace quilvex::bench {

namespace {

void FitStatistics(benchmark::State& state)
{
    const PointTable table = SmoothTable(300);
    StatsRequest request;
    request.methods = AllStatsMethods();
    request.regressionOrder = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const auto s = std::make_unique<QuilvexState>();
        s->n = table.n;
        s->x = table.x;
        s->y = table.y;
        benchmark::DoNotOptimize(ComputeStatistics(*s, request, {}));
    }
}

// The stability check alone: the stable solution, its SSR and the condition
// number of the scaled Vandermonde matrix of order 299.
void StableRegression(benchmark::State& state)
{
    const PointTable table = SmoothTable(300);
    const std::vector<Real> x(table.x.data(), table.x.data() + table.n), y(table.y.data(), table.y.data() + table.n);
    const DesignMatrix X = PolynomialDesign(x, static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(SolveLeastSquares(X, y, true));
}

}  // namespace

BENCHMARK(FitStatistics)->Arg(299)->Unit(benchmark::kMillisecond);
BENCHMARK(StableRegression)->Arg(299)->Unit(benchmark::kMillisecond);

}  // namespace quilvex::bench
