// Picking and dragging points in the graph window.
#include <QCloseEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "data/numtext.h"
#include "support/app_fixture.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class DragTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // At 538 x 402 and cover 80: x = 1..5 on columns 54, 162, 269, 376, 484;
        // y = 1 on row 362, y = 4 on row 322.
        SetGrid({{"1", "1"}, {"2", "4"}, {"3", "9"}, {"4", "16"}, {"5", "25"}});
        Main().DrawGraph();
    }
    void Press(int x, int y) { Plot().PlotPaintBoxMouseDown(x, y); }
    void Move(int x, int y) { Plot().PlotPaintBoxMouseMove(x, y); }
    void Release(int x, int y) { Plot().PlotPaintBoxMouseUp(x, y); }
    void Send(QEvent::Type type, Qt::MouseButton button, QPoint at)
    {
        QMouseEvent event(type, at, quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox"), &event);
    }
    std::string Label(QLabel* label) { return label->text().toStdString(); }
};

TEST_F(DragTest, PressPicksWithinFivePixels)
{
    Press(54 + 5, 362 - 5);
    EXPECT_TRUE(S().MouseIsDown);
    EXPECT_TRUE(S().PointPicked);
    EXPECT_EQ(S().SelectedPoint, 1);
    Release(54, 362);
    EXPECT_FALSE(S().MouseIsDown);
    EXPECT_FALSE(S().PointPicked);
    EXPECT_EQ(S().SelectedPoint, 1);  // stays marked

    S().SelectedPoint = 3;
    Press(54 + 6, 362);
    EXPECT_TRUE(S().MouseIsDown);
    EXPECT_FALSE(S().PointPicked);
    EXPECT_EQ(S().SelectedPoint, 3);
    Move(100, 100);  // pressed, nothing picked: nothing moves
    EXPECT_EQ(Cell(0, 0), "1");
    Release(0, 0);
}

TEST_F(DragTest, TheLowerIndexWinsWhereSquaresOverlap)
{
    SetGrid({{"1", "1"}, {"1.01", "1.01"}, {"3", "9"}});
    Main().DrawGraph();
    Press(Round(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->width() * 0.1L) + 3, 362);
    EXPECT_EQ(S().SelectedPoint, 1);
    Release(0, 0);
}

TEST_F(DragTest, DraggingMovesThePointWithinItsNeighbours)
{
    Press(162, 322);
    ASSERT_EQ(S().SelectedPoint, 2);
    const std::string left = Label(quilvex::testing::Find<QLabel>(Plot(), "LeftXLabel")), top = Label(quilvex::testing::Find<QLabel>(Plot(), "TopYLabel"));
    Move(200, 300);
    const Real nx = (200.0L - 54) / (430.0L / 4) + 1;
    EXPECT_EQ(Cell(0, 1), FormatCell(nx));
    EXPECT_EQ(S().x[2], TextToFloat(FormatCell(nx)).value);  // the replot read it back from the grid
    EXPECT_TRUE(S().DataModified);
    EXPECT_EQ(Label(quilvex::testing::Find<QLabel>(Plot(), "LeftXLabel")), left);  // the scale stays during the drag
    EXPECT_EQ(Label(quilvex::testing::Find<QLabel>(Plot(), "TopYLabel")), top);

    Move(269, 300);  // at x[3]: not allowed, the point stays where it was
    EXPECT_EQ(Cell(0, 1), FormatCell(nx));
    Move(40, 300);   // left of x[1]
    EXPECT_EQ(Cell(0, 1), FormatCell(nx));
    Move(250, 300);  // back in range: moves again
    EXPECT_EQ(Cell(0, 1), FormatCell((250.0L - 54) / (430.0L / 4) + 1));

    Move(250, -200);  // above the box: a Y beyond the visible range
    Release(250, -200);
    EXPECT_NE(Label(quilvex::testing::Find<QLabel>(Plot(), "TopYLabel")), top);  // rescaled to include it
}

TEST_F(DragTest, TheLastPointHasNoRightLimit)
{
    Press(484, Round(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->height() - 40.0L - 24 * 322.0L / 24));
    ASSERT_EQ(S().SelectedPoint, 5);
    Move(5000, 40);
    EXPECT_EQ(Cell(0, 4), FormatCell((5000.0L - 54) / (430.0L / 4) + 1));
    Release(5000, 40);
}

TEST_F(DragTest, TheFirstPointFollowsThePointer)
{
    Press(54, 362);
    ASSERT_EQ(S().SelectedPoint, 1);
    Move(60, 362);
    const std::string once = Cell(0, 0);
    EXPECT_EQ(once, FormatCell(6 / (430.0L / 4) + 1));
    Move(60, 362);
    Move(60, 362);
    EXPECT_EQ(Cell(0, 0), once);  // the same pointer position keeps the same value
    Release(60, 362);
}

TEST_F(DragTest, RightButtonOpensThePointMenuAndAReleaseOutsideEndsTheDrag)
{
    std::vector<QString> menus;
    Plot().ShowPointMenu = [&](QMenu& menu) {
        for (const QAction* entry : menu.actions())
            menus.push_back(entry->text());
        return nullptr;  // closed without a choice
    };
    const std::uint64_t before = Grid().Generation();
    Send(QEvent::MouseButtonPress, Qt::RightButton, QPoint(162, 322));  // point 2
    EXPECT_FALSE(S().PointPicked) << "the right button picks no point";
    EXPECT_FALSE(S().MouseIsDown);
    Send(QEvent::MouseMove, Qt::RightButton, QPoint(200, 322));
    Send(QEvent::MouseButtonRelease, Qt::RightButton, QPoint(200, 322));
    QCoreApplication::processEvents();
    EXPECT_EQ(S().SelectedPoint, 1);
    EXPECT_EQ(Grid().Generation(), before);
    Send(QEvent::MouseButtonPress, Qt::RightButton, QPoint(100, 100));  // no point there: no menu
    Send(QEvent::MouseButtonRelease, Qt::RightButton, QPoint(100, 100));
    EXPECT_EQ(menus, std::vector<QString>{"Exclude point"});

    Send(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(162, 322));
    EXPECT_TRUE(S().PointPicked);
    Send(QEvent::MouseMove, Qt::LeftButton, QPoint(200, 322));
    QCoreApplication::processEvents();
    EXPECT_EQ(Cell(0, 1), FormatCell((200.0L - 54) / (430.0L / 4) + 1));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(-30, 900));
    EXPECT_FALSE(S().MouseIsDown);
    EXPECT_FALSE(S().PointPicked);
    Send(QEvent::MouseMove, Qt::NoButton, QPoint(100, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(Cell(0, 1), FormatCell((200.0L - 54) / (430.0L / 4) + 1));
}

TEST_F(DragTest, MovesWaitingTogetherAreMergedIntoTheLatest)
{
    Send(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(162, 322));
    const std::uint64_t before = Grid().Generation();
    Send(QEvent::MouseMove, Qt::LeftButton, QPoint(170, 322));
    Send(QEvent::MouseMove, Qt::LeftButton, QPoint(180, 322));
    Send(QEvent::MouseMove, Qt::LeftButton, QPoint(190, 322));
    QCoreApplication::processEvents();
    EXPECT_EQ(Grid().Generation(), before + 2);  // one move wrote X and Y once
    EXPECT_EQ(Cell(0, 1), FormatCell((190.0L - 54) / (430.0L / 4) + 1));

    // A release hands on the move still waiting first, so the drop lands where the pointer was.
    Send(QEvent::MouseMove, Qt::LeftButton, QPoint(200, 322));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(200, 322));
    EXPECT_EQ(Cell(0, 1), FormatCell((200.0L - 54) / (430.0L / 4) + 1));
    EXPECT_FALSE(S().PointPicked);
}

TEST_F(DragTest, DraggedValuesUseAPointInAnyLocale)
{
    SetDecimalSeparator(',');
    Press(162, 322);
    Move(200, 300);
    Release(200, 300);
    SetDecimalSeparator('.');
    EXPECT_EQ(Cell(0, 1).find(','), std::string::npos);
    EXPECT_EQ(Cell(0, 1).find("??"), std::string::npos);
}

// The step of a drag ends at the release, but the point has moved already:
// closing in the middle asks, and "Save" writes the moved point.
TEST_F(DragTest, ADragUnderWayIsAChangeClosingAsksAbout)
{
    const auto close = [this](BoxAnswer answer) {
        dialogs.boxes.clear();
        dialogs.answers = {answer};
        QCloseEvent event;
        QCoreApplication::sendEvent(&Main(), &event);
        return event.isAccepted();
    };
    QTemporaryDir dir;
    Main().RecordTableStep("typing");
    dialogs.saveNames.push_back((dir.path() + "/typed.dta").toStdString());
    Main().Saveas1Click();
    Press(162, 322);
    EXPECT_TRUE(close(BoxAnswer::Cancel)) << "picked, not moved: nothing to ask";
    EXPECT_TRUE(dialogs.boxes.empty());
    Move(200, 300);
    EXPECT_FALSE(close(BoxAnswer::Cancel));
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    Move(210, 300);
    Release(210, 300);
    EXPECT_EQ(Find<QAction>(Main(), "UndoAction")->text(), "Undo drag");
    Find<QAction>(Main(), "UndoAction")->trigger();
    EXPECT_EQ(Cell(0, 1), "2");
    EXPECT_EQ(Find<QAction>(Main(), "UndoAction")->text(), "Undo typing") << "the whole drag is one step";

    const std::string path = (dir.path() + "/moved.dta").toStdString();
    Press(162, 322);
    Move(200, 300);
    dialogs.saveNames.push_back(path);
    EXPECT_TRUE(close(BoxAnswer::Save));
    std::ifstream saved(path, std::ios::binary);
    const std::string moved = Cell(0, 1) + " " + Cell(1, 1);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(saved), {}).find("\r\n" + moved + "\r\n"), std::string::npos);
    Release(200, 300);
    EXPECT_TRUE(close(BoxAnswer::Cancel)) << "saved with the moved point";
}

}  // namespace
