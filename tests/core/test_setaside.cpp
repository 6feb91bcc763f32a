// Setting excluded points aside after scaling: which points are fitted, which
// grid row each one is, and the picture's extra marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/pointimport.h"
#include "graph/core/plotter.h"
#include "graph/core/scaling.h"
#include "graph/core/setaside.h"
#include "graph/core/weightedcurves.h"
#include "support/recording_canvas.h"
#include "support/vector_grid.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

struct Table {
    std::vector<std::string> sigma;  // one per row, or none
    std::vector<int> excluded;
};

struct SetAside {
    QuilvexState s;
    VectorGrid grid{{"1", "10"}, {"2", "20"}, {"3", "30"}, {"4", "40"}, {"5", "50"}};

    explicit SetAside(const Table& table)
    {
        for (std::size_t row = 0; row < table.sigma.size(); ++row)
            grid.SetCell(2, static_cast<int>(row), table.sigma[row]);
        for (const int row : table.excluded)
            grid.SetExcluded(row, true);
        ReadPointTable(s, grid, [](const std::string&) {});
        SetExcludedAside(s, grid);
    }
    std::vector<Real> Xs() const
    {
        std::vector<Real> xs;
        for (int i = 1; i <= s.n; ++i)
            xs.push_back(s.x[i]);
        return xs;
    }
    std::vector<int> ExcludedRows() const
    {
        std::vector<int> rows;
        for (const SetAsidePoint& p : s.Excluded)
            rows.push_back(p.row);
        return rows;
    }
};

TEST(SetExcludedAside, KeepsTheFittedPointsInOrderAndTheirGridRows)
{
    struct Case {
        const char* what;
        Table table;
        std::vector<Real> fitted;
        std::vector<std::int32_t> rows;
        std::vector<std::string> sigmas;
        std::vector<int> excluded;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"nothing set aside", {}, {1, 2, 3, 4, 5}, {}, {}, {}, ""},
        {"sigma only", {{"0.5", "", "x", "1", "2"}, {}}, {1, 2, 3, 4, 5}, {0, 1, 2, 3, 4},
         {"0.5", "", "x", "1", "2"}, {}, ""},
        {"first and middle excluded", {{}, {0, 2}}, {2, 4, 5}, {1, 3, 4}, {"", "", ""}, {0, 2}, ""},
        {"last excluded, sigma kept with its row", {{"a", "b", "c", "d", "e"}, {4}}, {1, 2, 3, 4}, {0, 1, 2, 3},
         {"a", "b", "c", "d"}, {4}, ""},
        {"two left: every point fitted", {{}, {0, 1, 2}}, {1, 2, 3, 4, 5}, {0, 1, 2, 3, 4}, {"", "", "", "", ""}, {},
         kExclusionsIgnored},
        {"an excluded row beyond the table is no point", {{}, {7}}, {1, 2, 3, 4, 5}, {}, {}, {}, ""},
    };
    for (const Case& c : cases) {
        const SetAside t(c.table);
        EXPECT_EQ(t.Xs(), c.fitted) << c.what;
        EXPECT_EQ(t.s.PointRows, c.rows) << c.what;
        EXPECT_EQ(t.s.SigmaTexts, c.sigmas) << c.what;
        EXPECT_EQ(t.ExcludedRows(), c.excluded) << c.what;
        EXPECT_EQ(t.s.MessageBuffer.Text(), c.message) << c.what;
    }
}

TEST(SetExcludedAside, MapsPointsBackToTheirRowsAndKeepsTheOrigin)
{
    const SetAside t(Table{{}, {0, 3}});
    ASSERT_EQ(t.s.n, 3);
    EXPECT_EQ(t.s.y[1], 20);
    const int rows[] = {GridRowOf(t.s, 1), GridRowOf(t.s, 2), GridRowOf(t.s, 3)};
    EXPECT_EQ(std::vector<int>(std::begin(rows), std::end(rows)), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(ShownXOrigin(t.s), 1);  // the excluded first point still starts the X axis
    std::vector<int> shownRows;
    for (const ShownPoint& p : ShownPoints(t.s))
        shownRows.push_back(p.row * (p.excluded ? -1 : 1));
    EXPECT_EQ(shownRows, (std::vector<int>{0, 1, 2, -3, 4}));

    const SetAside none(Table{});
    EXPECT_EQ(GridRowOf(none.s, 4), 3);
    EXPECT_EQ(ShownXOrigin(none.s), 1);
}

TEST(SetExcludedAside, DrawsBarsForPositiveSigmasAndGreyMarksForExcludedPoints)
{
    SetAside t(Table{{"2", "0", "-1", "oops", "1"}, {4}});
    RecordingCanvas canvas;
    ReadPointTable(t.s, t.grid, [](const std::string&) {});  // as a replot: read, scale, set aside
    ScaleGraph(t.s, t.grid, canvas.Width(), canvas.Height());
    SetExcludedAside(t.s, t.grid);
    Plotter plot(t.s, canvas);
    DrawErrorBars(plot);
    DrawSetAsidePoints(plot);
    // Two bars (rows 0 and 4): a vertical line and two caps each.
    ASSERT_EQ(canvas.Count(CanvasOp::Line), 6);
    EXPECT_EQ(canvas.ops[0].pen, colors::Blue);
    EXPECT_EQ(canvas.ops[0].b, Round(plot.YToPixel(12)));
    EXPECT_EQ(canvas.ops[1].b, Round(plot.YToPixel(8)));
    EXPECT_EQ(canvas.ops[6].pen, colors::Gray);  // the excluded point's bar
    ASSERT_EQ(canvas.Count(CanvasOp::Ellipse), 1);
    const CanvasOp& mark = canvas.ops.back();
    EXPECT_EQ(mark.pen, colors::Gray);
    EXPECT_EQ(mark.c - mark.a, 8);  // the radius of a fitted point's mark
    EXPECT_EQ((mark.a + mark.c) / 2, Round(plot.XToPixel(5)));
    EXPECT_EQ(canvas.PenColor(), colors::Black);
}

TEST(WeightedRowsShown, FollowTheTickedLeastSquaresMethodsInDrawingOrder)
{
    struct Case {
        std::vector<bool QuilvexState::*> ticked;
        std::vector<StatsMethod> rows;
    };
    const std::vector<Case> cases = {
        {{&QuilvexState::ShowSpline, &QuilvexState::ShowLagr, &QuilvexState::ShowLagrO}, {}},
        {{&QuilvexState::ShowSpline, &QuilvexState::ShowRegr}, {StatsMethod::RegressionWeighted}},
        {{&QuilvexState::ShowPower, &QuilvexState::ShowExp, &QuilvexState::ShowLog, &QuilvexState::ShowRegr},
         {StatsMethod::RegressionWeighted, StatsMethod::ExponentialWeighted, StatsMethod::ExponentialNlsWeighted,
          StatsMethod::LogarithmicWeighted, StatsMethod::PowerWeighted, StatsMethod::PowerNlsWeighted}},
    };
    for (const Case& c : cases) {
        QuilvexState s;
        for (bool QuilvexState::*show : c.ticked)
            s.*show = true;
        const std::vector<StatsMethod> rows = WeightedRowsShown(s);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (std::size_t k = 0; k < rows.size(); ++k)
            EXPECT_EQ(StatsMethodName(rows[k]), StatsMethodName(c.rows[k]));
    }
}

TEST(DrawWeightedCurves, TraceEachWeightedRowDashDottedInItsMethodsColour)
{
    SetAside t(Table{});
    RecordingCanvas canvas;
    ScaleGraph(t.s, t.grid, canvas.Width(), canvas.Height());
    t.s.ShowRegr = true;
    Plotter plot(t.s, canvas);
    DrawWeightedCurves(plot, Weighting::None);
    EXPECT_TRUE(canvas.ops.empty()) << "no weighting, no curve";

    struct Case {
        StatsMethod method;
        std::vector<Real> coefficients;
        Color pen;
        int moves, lines;
    };
    // Box columns 0..538 span X from 0.4977 to 5.5023: ln x is defined on all of them, y = 10 x too.
    const std::vector<Case> cases = {
        {StatsMethod::RegressionWeighted, {0, 10}, colors::Red, 1, 538},
        {StatsMethod::LogarithmicWeighted, {10, 5}, colors::Gray, 1, 538},
        {StatsMethod::PowerNlsWeighted, {}, colors::Blue, 0, 0},  // no coefficients: nothing drawn
    };
    for (const Case& c : cases) {
        canvas.ops.clear();
        MethodFigures row;
        row.method = c.method;
        for (const Real value : c.coefficients)
            row.coefficients.push_back(Coefficient{.value = value});
        TraceWeightedRow(plot, row);
        EXPECT_EQ(canvas.Count(CanvasOp::Move), c.moves) << StatsMethodName(c.method);
        EXPECT_EQ(canvas.Count(CanvasOp::Line), c.lines) << StatsMethodName(c.method);
        for (const CanvasOp& op : canvas.ops) {
            EXPECT_EQ(op.pen, c.pen);
            EXPECT_EQ(op.penStyle, PenStyle::DashDot);
        }
        EXPECT_EQ(canvas.GetPenStyle(), PenStyle::Solid);
        EXPECT_EQ(canvas.PenColor(), colors::Black);
    }
    canvas.ops.clear();
    MethodFigures line;
    line.method = StatsMethod::RegressionWeighted;
    line.coefficients = {Coefficient{.value = 0}, Coefficient{.value = 10}};
    TraceWeightedRow(plot, line);
    EXPECT_EQ(canvas.ops.front().b, Round(plot.YToPixel(10 * plot.PixelToX(0))));
}

}  // namespace
