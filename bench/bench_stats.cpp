// The figures `quilvex fit` prints, for every method at once on 300 points
// with the regression of order 299: the designed fits, "Fit quality", the
// stability check, the standard errors and the true least-squares fits.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/tables.h"
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

}  // namespace

BENCHMARK(FitStatistics)->Arg(299)->Unit(benchmark::kMillisecond);

}  // namespace quilvex::bench
