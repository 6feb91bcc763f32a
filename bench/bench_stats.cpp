// The figures `quilvex fit` prints, for every method at once on 300 points
// with the regression of order 299: the designed fits, "Fit quality", the
// stability check, the standard errors and the true least-squares fits; and
// the same with sigma given at every point, five points left out and the
// weighting 1/sigma^2, which adds the weighted rows.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/tables.h"
#include "stats/constrained.h"
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

// The table of 300 points with sigma at each and five of them left out.
StatsTable WeightedTable()
{
    const PointTable points = SmoothTable(300);
    StatsTable table;
    for (int i = 1; i <= points.n; ++i) {
        if (i % 60 == 30) {
            table.excludedRows.push_back(i);
            continue;
        }
        table.x.push_back(points.x[i]);
        table.y.push_back(points.y[i]);
        table.sigma.push_back(i % 2 ? "0.01" : "0.02");
        table.rows.push_back(i);
    }
    return table;
}

void WeightedStatistics(benchmark::State& state)
{
    const StatsTable table = WeightedTable();
    StatsRequest request;
    request.methods = AllStatsMethods();
    request.regressionOrder = static_cast<int>(state.range(0));
    request.weighting = Weighting::Sigma;
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeStatistics(table, request, {}));
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

// The constrained regression alone, as it adds to the statistics: through the
// origin with a1 held, order 299 at 300 points.
void ConstrainedRegression(benchmark::State& state)
{
    const PointTable table = SmoothTable(300);
    const std::vector<Real> x(&table.x[1], &table.x[1] + table.n), y(&table.y[1], &table.y[1] + table.n);
    Constraints constraints;
    constraints.throughOrigin = true;
    constraints.held.push_back({"a1", 1});
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ConstrainedRegressionRow(x, y, static_cast<int>(state.range(0)), constraints, {}));
}

}  // namespace

BENCHMARK(FitStatistics)->Arg(299)->Unit(benchmark::kMillisecond);
BENCHMARK(WeightedStatistics)->Arg(294)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(StableRegression)->Arg(299)->Unit(benchmark::kMillisecond);
BENCHMARK(ConstrainedRegression)->Arg(299)->Unit(benchmark::kMillisecond);

}  // namespace quilvex::bench
