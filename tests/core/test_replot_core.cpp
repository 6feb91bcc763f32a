// Grid import, scaling, mapping and the drawing primitives of a replot.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "data/numtext.h"
#include "data/pointimport.h"
#include "graph/core/plotter.h"
#include "graph/core/scaling.h"
#include "graph/core/scene.h"
#include "support/recording_canvas.h"
#include "support/vector_grid.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

std::vector<std::string> warnings;
void Warn(const std::string& text) { warnings.push_back(text); }

QuilvexState Import(VectorGrid& grid)
{
    warnings.clear();
    QuilvexState s;
    ReadPointTable(s, grid, Warn);
    return s;
}

TEST(ReadPointTable, StopsAtTheFirstEmptyXCell)
{
    VectorGrid empty{{"", "1"}, {"2", "3"}};
    EXPECT_EQ(Import(empty).n, 0);
    VectorGrid gap{{"1", "1"}, {"", "2"}, {"3", "3"}};
    EXPECT_EQ(Import(gap).n, 1);
    VectorGrid blanks{{" ", "1"}};
    EXPECT_EQ(Import(blanks).n, 1);  // a text of blanks is not empty
    EXPECT_EQ(blanks.Cell(0, 0), "  ??");
}

TEST(ReadPointTable, MarksUnreadableCellsOnce)
{
    VectorGrid grid{{"abc", "2"}, {" 5", ""}, {"7 ??", "1 "}};
    QuilvexState s = Import(grid);
    EXPECT_EQ(s.n, 3);
    EXPECT_EQ(grid.Cell(0, 0), "abc ??");
    EXPECT_EQ(grid.Cell(0, 1), " 5");
    EXPECT_EQ(grid.Cell(1, 1), " ??");
    EXPECT_EQ(grid.Cell(0, 2), "7 ??");  // already marked
    EXPECT_EQ(grid.Cell(1, 2), "1  ??");
    EXPECT_EQ(s.x[1], 0);
    EXPECT_EQ(s.x[2], 5);
    EXPECT_EQ(s.y[2], 0);
    EXPECT_EQ(s.x[3], 7);  // the failure value: digits read so far
    EXPECT_EQ(s.y[3], 1);
    ReadPointTable(s, grid, Warn);
    EXPECT_EQ(grid.Cell(0, 0), "abc ??");
    EXPECT_TRUE(warnings.empty());
}

TEST(ReadPointTable, CapacityOf300Points)
{
    VectorGrid full(300);
    for (int r = 0; r < 300; ++r)
        full.SetCell(0, r, std::to_string(r)), full.SetCell(1, r, "1");
    EXPECT_EQ(Import(full).n, 300);
    EXPECT_TRUE(warnings.empty());

    full.SetRowCount(302);
    full.SetCell(0, 300, "300"), full.SetCell(0, 301, "301");
    EXPECT_EQ(Import(full).n, 300);
    EXPECT_EQ(warnings, std::vector<std::string>{"Too many X,Y values! (max 300)"});
    EXPECT_EQ(full.RowCount(), 300);
}

TEST(RowsHoldingText, CountsToTheLastRowWithText)
{
    VectorGrid grid{{"1", "1"}, {"", ""}, {"", "5"}, {"", ""}};
    EXPECT_EQ(RowsHoldingText(grid), 3);
    VectorGrid empty(4);
    EXPECT_EQ(RowsHoldingText(empty), 0);
}

struct Scaled {
    QuilvexState s;
    VectorGrid grid;
    ScaleResult result;
};

Scaled Scale(const std::vector<std::pair<Real, Real>>& points, int w = 538, int h = 402, Real cover = 80)
{
    Scaled r{{}, VectorGrid(static_cast<int>(points.size())), ScaleResult::Scaled};
    r.s.n = static_cast<int>(points.size());
    for (int i = 1; i <= r.s.n; ++i) {
        r.s.x[i] = points[static_cast<std::size_t>(i - 1)].first;
        r.s.y[i] = points[static_cast<std::size_t>(i - 1)].second;
    }
    r.s.Cover = cover;
    r.result = ScaleGraph(r.s, r.grid, w, h);
    return r;
}

TEST(ScaleGraph, MakesXAscendingInTableAndGrid)
{
    struct Case {
        std::vector<Real> in;
        std::vector<std::string> cells;  // X cells written by the adjustment ("" = untouched)
        int messages;
    };
    const Case cases[] = {
        {{1, 2, 2, 4}, {"", "", "2.2", ""}, 1},
        {{5, 0, 6}, {"", "0.1", ""}, 1},
        {{3, -1, 4}, {"", "2.7272727", ""}, 1},
        {{-2, -3, 4}, {"", "-1.8181818", ""}, 1},
        {{1, 5, 2, 3, 4}, {"", "", "5.5", "6.05", "6.655"}, 3},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<Real, Real>> points;
        for (std::size_t i = 0; i < c.in.size(); ++i)
            points.emplace_back(c.in[i], static_cast<Real>(i));
        Scaled r = Scale(points);
        std::string expected;
        for (int m = 0; m < c.messages; ++m)
            expected += " * x values not ascending!! Adjusted.";
        EXPECT_EQ(r.s.MessageBuffer.Text(), expected);
        for (std::size_t i = 0; i < c.cells.size(); ++i)
            EXPECT_EQ(r.grid.Cell(0, static_cast<int>(i)), c.cells[i]) << "row " << i;
    }
    Scaled neg = Scale({{3, 0}, {-1, 1}, {4, 2}});
    EXPECT_EQ(neg.s.x[2], 3 * 0.90909090909090909L);
    EXPECT_NE(0.90909090909090909L, 10.0L / 11);  // the decimal as written, not 10/11
}

TEST(ScaleGraph, MarginsScalesAndMappings)
{
    Scaled r = Scale({{1, -2}, {4, 7}, {9, 3}});
    QuilvexState& s = r.s;
    EXPECT_EQ(s.MarginX, 108);
    EXPECT_EQ(s.MarginY, 80);
    EXPECT_EQ(s.YMin, -2);
    EXPECT_EQ(s.YMax, 7);
    RecordingCanvas canvas(538, 402);
    Plotter plot(s, canvas);
    EXPECT_EQ(plot.XToPixel(1), 54);
    EXPECT_EQ(plot.XToPixel(9), 484);
    EXPECT_EQ(plot.YToPixel(-2), 362);
    EXPECT_EQ(plot.YToPixel(7), 40);
    for (Real v : {-1e6L, -3.25L, 0.0L, 1.0L / 3, 7.5L, 1e9L}) {
        EXPECT_NEAR(static_cast<double>(plot.PixelToX(plot.XToPixel(v))), static_cast<double>(v),
                    1e-12 * (1 + std::fabs(static_cast<double>(v))));
        EXPECT_NEAR(static_cast<double>(plot.PixelToY(plot.YToPixel(v))), static_cast<double>(v),
                    1e-12 * (1 + std::fabs(static_cast<double>(v))));
    }
    Scaled full = Scale({{0, 0}, {1, 1}, {2, 2}}, 538, 402, 100);
    RecordingCanvas c2;
    Plotter p2(full.s, c2);
    EXPECT_EQ(p2.XToPixel(2), 538);
    EXPECT_EQ(p2.YToPixel(0), 402);
}

TEST(ScaleGraph, CannotScaleFlatData)
{
    Scaled flat = Scale({{1, 5}, {2, 5}, {3, 5}});
    EXPECT_EQ(flat.s.MessageBuffer.Text(), " * !! cannot scale !!");
    EXPECT_EQ(flat.s.XScale, 1);
    EXPECT_EQ(flat.s.YScale, 1);
    Scaled wide = Scale({{0, 0}, {1e30L, 1}, {2e30L, 2}});
    EXPECT_EQ(wide.s.MessageBuffer.Text(), " * !! cannot scale !!");
    EXPECT_EQ(wide.s.XScale, 1);
}

TEST(ScaleGraph, SkippedDuringADragAndNoticesANewFile)
{
    QuilvexState s;
    VectorGrid grid(3);
    s.n = 3;
    s.x[1] = 1, s.x[2] = 2, s.x[3] = 3;
    s.MouseIsDown = s.PointPicked = true;
    s.XScale = 42;
    s.NewFileLoaded = true;
    EXPECT_EQ(ScaleGraph(s, grid, 538, 402), ScaleResult::Skipped);
    EXPECT_EQ(s.XScale, 42);
    EXPECT_TRUE(s.NewFileLoaded);
    s.PointPicked = false;
    s.SelectedPoint = 3;
    EXPECT_EQ(ScaleGraph(s, grid, 538, 402), ScaleResult::ScaledNewFile);
    EXPECT_EQ(s.SelectedPoint, 1);
    EXPECT_FALSE(s.NewFileLoaded);
    EXPECT_EQ(ScaleGraph(s, grid, 538, 402), ScaleResult::Scaled);
}

TEST(Plotter, RejectsFarPixelsAndDrawsEachPixelOnce)
{
    Scaled r = Scale({{0, 0}, {1, 1}, {2, 2}});
    RecordingCanvas canvas;
    Plotter plot(r.s, canvas);
    r.s.MessageBuffer.Clear();
    plot.MoveToValue(1, 1);
    plot.LineToValue(1, 1);         // the first line after a move always draws
    plot.LineToValue(1.0001L, 1);   // same pixel: nothing
    plot.LineToValue(2, 2);
    plot.LineToValue(1, 1e30L);     // far beyond 2e9 pixels
    plot.MoveToValue(1e30L, 1);
    EXPECT_EQ(canvas.Count(CanvasOp::Move), 1);
    EXPECT_EQ(canvas.Count(CanvasOp::Line), 2);
    EXPECT_EQ(r.s.MessageBuffer.Text(), " * plot value too large * plot value too large");
    EXPECT_EQ(r.s.LastPixel, (Pixel{Round(plot.XToPixel(2)), Round(plot.YToPixel(2))}));
}

// The text of the fault that ends action, "" when none does.
std::string FaultOf(const std::function<void()>& action)
{
    ClearFpu();
    std::string text;
    try {
        action();
    } catch (const QuilvexError& e) {
        text = e.what();
    }
    ClearFpu();
    return text;
}

// A fault ends the routine where a trapping unit would stop: what was stored
// before it stays, and of two faults the one formed first is reported.
TEST(FirstFault, InWrittenOrder)
{
    QuilvexState s;
    VectorGrid grid(2);
    s.n = 2;
    s.x[1] = 0, s.x[2] = 1;
    s.y[1] = 1e4932L, s.y[2] = -1e4932L;
    EXPECT_EQ(FaultOf([&] { ScaleGraph(s, grid, 538, 402); }), kOverflowText);  // YMax - YMin
    EXPECT_EQ(s.XScale, 430);

    const Real infinity = std::numeric_limits<Real>::infinity();
    Scaled r = Scale({{-infinity, 0}, {1, 1e-10L}});
    RecordingCanvas canvas(538, 402);
    Plotter plot(r.s, canvas);
    // X: -inf - -inf is invalid; Y: 1e4925 * YScale overflows.
    EXPECT_EQ(FaultOf([&] { plot.MoveToValue(-infinity, 1e4925L); }), kInvalidText);
    EXPECT_EQ(FaultOf([&] { plot.LineToValue(-infinity, 1e4925L); }), kInvalidText);
    EXPECT_EQ(FaultOf([&] { plot.LineToValue(1, 1e4925L); }), kOverflowText);
}

TEST(MessageText, HoldsAtMost255Characters)
{
    MessageText m;
    const std::string message = " * x values not ascending!! Adjusted.";  // 37 characters
    for (int i = 0; i < 10; ++i)
        m.Append(message);
    EXPECT_EQ(m.Text().size(), 255u);
    EXPECT_EQ(m.Text().substr(222), message.substr(0, 33));
    m.Append(" * more");
    EXPECT_EQ(m.Text().size(), 255u);
}

TEST(Scene, AxesOnlyWhereTheyAreInReach)
{
    Scaled r = Scale({{1000, -1}, {1005, 0}, {1010, 1}});
    RecordingCanvas canvas;
    Plotter plot(r.s, canvas);
    canvas.SetPenColor(colors::Green);
    DrawAxes(plot);
    ASSERT_EQ(canvas.ops.size(), 2u);  // y = 0 only: x = 0 lies some 43000 pixels left
    EXPECT_EQ(canvas.ops[1].kind, CanvasOp::Line);
    EXPECT_EQ(canvas.ops[0].b, canvas.ops[1].b);
    EXPECT_EQ(canvas.ops[1].pen, colors::Blue);
    EXPECT_EQ(canvas.ops[1].penStyle, PenStyle::Dash);
    EXPECT_EQ(canvas.PenColor(), colors::Green);
    EXPECT_EQ(canvas.GetPenStyle(), PenStyle::Solid);
}

TEST(Scene, PointsWithTheSelectedOneInRed)
{
    Scaled r = Scale({{1, 1}, {2, 4}, {3, 9}, {4, 16}, {5, 25}});
    r.s.SelectedPoint = 2;
    RecordingCanvas canvas;
    Plotter plot(r.s, canvas);
    DrawPoints(plot);
    ASSERT_EQ(canvas.Count(CanvasOp::Ellipse), 6);
    int red = 0, blue = 0;
    for (const CanvasOp& op : canvas.ops) {
        const int radius = (op.c - op.a) / 2;
        if (op.pen == colors::Red) {
            ++red;
            EXPECT_EQ(op.a + radius, Round(plot.XToPixel(2)));
            EXPECT_TRUE(radius == 4 || radius == 5);
        } else {
            ++blue;
            EXPECT_EQ(op.pen, colors::Blue);
            EXPECT_EQ(radius, 4);
        }
    }
    EXPECT_EQ(red, 2);
    EXPECT_EQ(blue, 4);
    EXPECT_EQ(canvas.PenColor(), colors::Black);
    EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
}

}  // namespace
