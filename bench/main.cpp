// The benchmarks run with the windows built offscreen.
#include <benchmark/benchmark.h>

#include "support/offscreen.h"
#include "ui/application.h"

int main(int argc, char** argv)
{
    quilvex::testing::UseOffscreenPlatform();
    benchmark::Initialize(&argc, argv);
    quilvex::QuilvexApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
