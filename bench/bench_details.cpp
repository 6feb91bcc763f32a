// The "Fit details" window: its update after a replot, and drags with the
// window open, its figures computed on their own thread while the replots go on.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "bench/program.h"

namespace quilvex::bench {

namespace {

const std::vector<Method> kAllMethods = {Spline, Lagrange, LagrangeOrd, Regression, Exponential, Logarithmic, Power};
constexpr int kMouseIntervalMs = 17;  // 60 movements per second

// The event loop runs, idle between events, until the next movement is due;
// unpaced it only takes the events waiting.
void WaitForTheNextMovement(bool paced, const QElapsedTimer& sinceMovement)
{
    const qint64 left = kMouseIntervalMs - sinceMovement.elapsed();
    if (!paced || left <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(left), &loop, &QEventLoop::quit);
    loop.exec();
}

// The window shown, then each iteration one update after a replot, until shown.
void MeasureUpdates(benchmark::State& state, TFitDetailsForm& details)
{
    details.ShowAndRaise();
    details.FinishUpdate();
    for (auto _ : state) {
        details.FollowReplot();
        details.FinishUpdate();
        quilvex::testing::Find<ResidualPlot>(details, "Residuals")->repaint();
    }
}

// After a replot of n points with the regression of the given order: the
// statistics, the residuals, the table and the residual plot, until shown.
void DetailsUpdate(benchmark::State& state)
{
    Program program;
    quilvex::testing::Find<QLineEdit>(program.Main(), "RegrOrdEdit")->setText(QString::number(state.range(1)));
    const bool all = state.range(2) == 1;
    program.Show(SmoothTable(static_cast<int>(state.range(0))), all ? kAllMethods : std::vector<Method>{Regression});
    TFitDetailsForm& details = program.Details();
    MeasureUpdates(state, details);
    state.SetLabel(all ? "all seven methods" : "regression only");
}

// Rows 30, 90, ..., 270 of the table of 300 points are left out of the fits.
bool LeftOut(int row) { return row % 60 == 30; }

// The 295 points fitted.
PointTable FittedPoints()
{
    const PointTable all = SmoothTable(300);
    PointTable fitted = all;
    fitted.n = 0;
    for (int i = 1; i <= all.n; ++i)
        if (!LeftOut(i)) {
            ++fitted.n;
            fitted.x[fitted.n] = all.x[i];
            fitted.y[fitted.n] = all.y[i];
        }
    return fitted;
}

// What a replot of the 300 rows notes beside the points it fitted: the sigma
// and row of each, and the five points left out.
void NoteSigmaAndLeftOut(QuilvexState& s)
{
    const PointTable all = SmoothTable(300);
    for (int i = 1; i <= all.n; ++i) {
        const std::string sigma = i % 2 ? "0.01" : "0.02";
        if (LeftOut(i)) {
            s.Excluded.push_back({i - 1, all.x[i], all.y[i], sigma});
            continue;
        }
        s.PointRows.push_back(i - 1);
        s.SigmaTexts.push_back(sigma);
    }
}

// DetailsUpdate of every method at 300 points, under the weighting 1/sigma^2
// with five points left out: the weighted rows come beside the designed ones.
void WeightedDetailsUpdate(benchmark::State& state)
{
    Program program;
    quilvex::testing::Find<QLineEdit>(program.Main(), "RegrOrdEdit")->setText(QString::number(state.range(0)));
    program.Show(FittedPoints(), kAllMethods);
    program.Document().SetWeighting(Weighting::Sigma);
    NoteSigmaAndLeftOut(program.State());
    TFitDetailsForm& details = program.Details();
    MeasureUpdates(state, details);
    state.SetLabel("all seven methods, weighted, five left out");
}

// Movements of the middle point with the window open, the event loop run
// after each as between mouse events: at once, or until the next movement
// comes at 60 per second. Up and down, or with a third argument of 1 zigzag
// between two columns as `Drag/300/3` does. lag_max: how many movements the
// figures shown were behind at most.
void DragWithDetails(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const bool paced = state.range(1) == 1;
    const bool zigzag = state.range(2) == 1;
    constexpr int kMovements = 40;
    QElapsedTimer clock;
    Program program;
    program.Show(SmoothTable(n), kAllMethods);
    TFitDetailsForm& details = program.Details();
    details.ShowAndRaise();
    details.FinishUpdate();
    TPlotForm& plot = program.Plot();
    QuilvexState& s = program.State();
    std::size_t lagMax = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto [ax, ay] = program.PixelOf((n + 1) / 2);
        plot.PlotPaintBoxMouseDown(ax, ay);
        const int k = s.SelectedPoint;  // a lower neighbour within reach wins
        const auto [px, py] = program.PixelOf(k);
        if (!s.PointPicked) {
            state.SkipWithError("the press picked no point");
            return;
        }
        const std::vector<int> columns = zigzag ? program.ColumnsBetweenNeighbours(k, px) : std::vector<int>{px};
        if (zigzag && columns.size() < 2) {
            state.SkipWithError("no two columns between the neighbours");
            return;
        }
        std::vector<Real> moved;
        state.ResumeTiming();
        for (int m = 0; m < kMovements; ++m) {
            clock.start();
            plot.PlotPaintBoxMouseMove(columns[static_cast<std::size_t>(m) % columns.size()], py + (m % 41) - 20);
            if (!moved.empty() && SameBits(moved.back(), s.y[k])) {
                state.SkipWithError("a movement left the point where it was");
                return;
            }
            moved.push_back(s.y[k]);
            WaitForTheNextMovement(paced, clock);
            if (!s.MouseIsDown || !s.PointPicked) {
                state.SkipWithError(s.MouseIsDown ? "unpicked by events" : "released by events");
                return;
            }
            const auto& shown = quilvex::testing::Find<DetailsModel>(details, "Model")->Result().input.table.y;
            const auto at = std::find(moved.rbegin(), moved.rend(), shown.at(static_cast<std::size_t>(k - 1)));
            lagMax = std::max(lagMax, static_cast<std::size_t>(at - moved.rbegin()));
        }
        state.PauseTiming();
        plot.PlotPaintBoxMouseUp(px, py);
        details.FinishUpdate();
        state.ResumeTiming();
    }
    state.counters["per_event_ms"] =
        benchmark::Counter(kMovements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["lag_max"] = static_cast<double>(lagMax);
}

}  // namespace

BENCHMARK(DetailsUpdate)
    ->Args({300, 299, 0})
    ->Args({300, 299, 1})
    ->Args({100, 3, 1})
    ->Args({300, 3, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(WeightedDetailsUpdate)->Arg(294)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DragWithDetails)
    ->Args({100, 0, 0})
    ->Args({300, 0, 0})
    ->Args({100, 1, 0})
    ->Args({300, 1, 0})
    ->Args({300, 0, 1})
    ->Args({300, 1, 1})
    ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace quilvex::bench
