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
#include <functional>
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
        {"sigma only, one no number (marked as the replot marks it)", {{"0.5", "", "x", "1", "2"}, {}},
         {1, 2, 3, 4, 5}, {0, 1, 2, 3, 4}, {"0.5", "", "x ??", "1", "2"}, {}, ""},
        {"first and middle excluded", {{}, {0, 2}}, {2, 4, 5}, {1, 3, 4}, {"", "", ""}, {0, 2}, ""},
        {"last excluded, sigma kept with its row", {{"0.1", "0.2", "0.3", "0.4", "0.5"}, {4}}, {1, 2, 3, 4},
         {0, 1, 2, 3}, {"0.1", "0.2", "0.3", "0.4"}, {4}, ""},
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

TEST(TraceDashDotted, DrawsEachValueBrokenWhereThereIsNone)
{
    SetAside t(Table{});
    RecordingCanvas canvas;
    ScaleGraph(t.s, t.grid, canvas.Width(), canvas.Height());
    Plotter plot(t.s, canvas);
    struct Case {
        const char* what;
        std::function<std::optional<Real>(Real)> value;
        Color pen;
        int moves, lines;
    };
    // Box columns 0..538 span X from 0.4977 to 5.5023.
    const std::vector<Case> cases = {
        {"y = 10 x", [](Real X) { return std::optional<Real>(10 * X); }, colors::Red, 1, 538},
        {"none below x = 3", [](Real X) { return X < 3 ? std::nullopt : std::optional<Real>(30); }, colors::Gray, 1,
         538 - Round(plot.XToPixel(3))},
        {"a gap between 2 and 4",
         [](Real X) { return X > 2 && X < 4 ? std::nullopt : std::optional<Real>(30); }, colors::Blue, 2, 0},
        {"far beyond the box", [](Real) { return std::optional<Real>(1e9L); }, colors::Purple, 0, 0},
        {"no value", [](Real) { return std::optional<Real>(); }, colors::Purple, 0, 0},
    };
    for (const Case& c : cases) {
        canvas.ops.clear();
        TraceDashDotted(plot, c.pen, c.value);
        EXPECT_EQ(canvas.Count(CanvasOp::Move), c.moves) << c.what;
        if (c.lines > 0) {
            EXPECT_EQ(canvas.Count(CanvasOp::Line), c.lines) << c.what;
        }
        for (const CanvasOp& op : canvas.ops) {
            EXPECT_EQ(op.pen, c.pen) << c.what;
            EXPECT_EQ(op.penStyle, PenStyle::DashDot) << c.what;
        }
        EXPECT_EQ(canvas.GetPenStyle(), PenStyle::Solid) << c.what;
        EXPECT_EQ(canvas.PenColor(), colors::Black) << c.what;
    }
    canvas.ops.clear();
    TraceDashDotted(plot, colors::Red, [](Real X) { return std::optional<Real>(10 * X); });
    EXPECT_EQ(canvas.ops.front().b, Round(plot.YToPixel(10 * plot.PixelToX(0))));
}

}  // namespace
