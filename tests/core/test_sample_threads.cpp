// Curve samples computed ahead on several threads against one thread: the same
// bits, the same messages up to the buffer's cap, the same first fault and the
// same drawing.
#include <gtest/gtest.h>

#include "core/replot_program.h"
#include "fit/lagrange.h"
#include "fit/regression.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

constexpr SamplePolicy kOneThread{1, 1e300};
constexpr SamplePolicy kSeveralThreads{3, 0};

// Ascending arguments across and beyond the table, now and then one far
// enough to overflow.
std::vector<Real> Arguments(TableMaker& make)
{
    std::vector<Real> arguments;
    Real t = make.Uniform(-15, 0);
    for (int k = make.Int(1, 300); k > 0; --k) {
        t += make.Uniform(0, 0.2L);
        arguments.push_back(make.Int(0, 2000) == 0 ? make.Signed(1e4000L) : t);
    }
    return arguments;
}

TEST(SampleThreads, SamplesAsOneThreadComputesThem)
{
    const SamplePolicy policy = CurrentSamplePolicy();
    TableMaker make(4242);
    for (int round = 0; round < 3000; ++round) {
        const Table table = make.Make(make.Int(2, 24), kShapes[round % std::size(kShapes)]);
        const int order = make.Int(1, table.n);
        const std::vector<Real> arguments = Arguments(make);
        const std::function<Real(Real, MessageText&)> curves[] = {
            [&](Real t, MessageText& m) { return lagrange_ord(order, table.n, table.x, table.y, t, m); },
            [&](Real t, MessageText&) { return EvalLagrange(table.n, table.x, table.y, t); },
            [&](Real t, MessageText&) { return EvalRegression(table.n - 1, table.y, t); },
        };
        const auto& curve = curves[round % std::size(curves)];
        const Outcome one = Capture([&](std::vector<Real>& values, MessageText& messages) {
            for (Real t : arguments)
                values.push_back(curve(t, messages));
        });
        SetSamplePolicy({make.Int(2, 5), 0});
        const Outcome several = Capture([&](std::vector<Real>& values, MessageText& messages) {
            SamplesAhead ahead(
                arguments, [&](std::size_t, Real t, MessageText& m) { return curve(t, m); }, 1, false);
            for (Real t : arguments)
                values.push_back(ahead.Value(t, messages, curve));
        });
        SetSamplePolicy(policy);
        ExpectSameOutcome(several, one, Describe(table) + ", curve " + std::to_string(round % 3));
    }
}

TEST(SampleThreads, ReplotsAndDragsAsOneThreadDrawsThem)
{
    ExpectSameReplots(5150, 48, 40, {true, kOneThread}, {true, kSeveralThreads});
}

}  // namespace
