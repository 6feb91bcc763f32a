// Opening a data file: reading and parsing it, and putting its rows into the grid model.
#include <benchmark/benchmark.h>

#include "bench/program.h"
#include "data/datafile.h"

namespace quilvex::bench {

namespace {

void LoadFile(benchmark::State& state)
{
    const std::string name = DataFileOf(static_cast<int>(state.range(0)));
    Program program;
    for (auto _ : state) {
        std::vector<DataRow> rows;
        ReadDataFile(name, rows, [](const std::string&) { return true; });
        program.Document().Grid().SetRows(std::move(rows));
        benchmark::DoNotOptimize(program.Document().Grid().RowCount());
    }
}

}  // namespace

BENCHMARK(LoadFile)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFile)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace quilvex::bench
