// The sigma column and the excluded rows of the grid: shown and hidden, kept
// with their rows through paste, copy, rows added and deleted, undo and the
// file, and the exclusion that would leave too few points refused.
#include <QAction>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <fstream>

#include "support/app_fixture.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class SigmaGridTest : public AppTest {
protected:
    TextGrid& View() { return *Find<TextGrid>(Main(), "DataStringGrid"); }
    QAction& ColumnAction() { return *Find<QAction>(Main(), "SigmaColumnAction"); }
    void Paste(int row, int col, const std::string& text)
    {
        View().setCurrentIndex(Grid().index(row, col));
        View().PasteBlock(text);
    }
    void Undo() { Find<QAction>(Main(), "UndoAction")->trigger(); }
    std::string UndoText() { return Find<QAction>(Main(), "UndoAction")->text().toStdString(); }
    QTemporaryDir dir;
};

TEST_F(SigmaGridTest, TheColumnShowsOnRequestOrWithSigmaAndFollowsTheMenuEntry)
{
    struct Step {
        const char* what;
        std::function<void()> act;
        int columns;
    };
    const std::vector<Step> steps{
        {"designed start", [] {}, 2},
        {"turned on", [this] { ColumnAction().trigger(); }, 3},
        {"turned off", [this] { ColumnAction().trigger(); }, 2},
        {"table with sigma", [this] { Grid().SetRows({{"1", "2", "0.1"}}); }, 3},
        {"another table with sigma", [this] { Grid().SetRows({{"1", "2", "0.2"}}); }, 3},
        {"cannot be turned off while sigma is there", [this] { ColumnAction().trigger(); }, 3},
        {"table without sigma", [this] { Grid().SetRows({{"1", "2"}}); }, 2},
        {"three-column paste", [this] { Paste(0, 0, "1\t2\t0.3\n"); }, 3},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(Grid().columnCount(), step.columns) << step.what;
        EXPECT_EQ(View().columnWidth(0), step.columns == 3 ? 44 : 64) << step.what;
        EXPECT_EQ(ColumnAction().isChecked(), step.columns == 3) << step.what;
    }
}

TEST_F(SigmaGridTest, SigmaAndMarksStayWithTheirRows)
{
    SetGrid({{"0", "0"}, {"1", "1"}, {"2", "2"}, {"9", "9"}});
    Main().RecordTableStep("typing");
    Paste(1, 1, "7;8\n");  // two fields from Y on, the column hidden: the designed paste
    EXPECT_EQ(Cell(2, 1), "");
    Paste(0, 0, "1 2 0.5\n3 4\n5 6  0.25\n");
    const std::vector<DataRow> pasted{{"1", "2", "0.5"}, {"3", "4"}, {"5", "6", "0.25"}, {"9", "9"}};
    EXPECT_EQ(Grid().Rows(), pasted);
    View().selectAll();
    EXPECT_EQ(View().SelectedText(), "1\t2\t0.5\n3\t4\t\n5\t6\t0.25\n9\t9\t\n");

    ASSERT_TRUE(Doc().SetPointsExcluded({1}, true));
    EXPECT_EQ(UndoText(), "Undo exclude points");
    EXPECT_TRUE(Grid().data(Grid().index(1, 0), Qt::ForegroundRole).isValid());  // grey
    EXPECT_FALSE(Grid().data(Grid().index(0, 0), Qt::ForegroundRole).isValid());
    Main().AddRowButtonClick();
    Main().DeleteRowButtonClick();
    Main().DeleteRowButtonClick();
    std::vector<DataRow> kept(pasted.begin(), pasted.begin() + 3);
    kept[1].excluded = true;
    EXPECT_EQ(Grid().Rows(), kept);
    for (int step = 0; step < 4; ++step)
        Undo();
    EXPECT_EQ(UndoText(), "Undo paste");
    EXPECT_EQ(Grid().Rows(), pasted);
    Undo();
    EXPECT_EQ(Cell(2, 0), "");
}

TEST_F(SigmaGridTest, AnExclusionLeavingFewerThanThreePointsIsRefusedWithABox)
{
    SetGrid({{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}, {"", ""}});
    Main().RecordTableStep("typing");
    struct Case {
        std::vector<int> rows;
        bool excluded, done;
    };
    const std::vector<Case> cases{
        {{0, 1}, true, false}, {{4}, true, true}, {{3}, true, true}, {{2}, true, false}, {{3}, false, true}};
    for (const Case& c : cases)
        EXPECT_EQ(Doc().SetPointsExcluded(c.rows, c.excluded), c.done) << c.rows.front();
    EXPECT_FALSE(Grid().Excluded(3));

    dialogs.boxes.clear();
    View().setCurrentIndex(Grid().index(0, 0));
    View().selectionModel()->select(QItemSelection(Grid().index(0, 0), Grid().index(1, 1)),
                                    QItemSelectionModel::ClearAndSelect);
    QKeyEvent ctrlE(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier);
    QCoreApplication::sendEvent(&View(), &ctrlE);
    EXPECT_EQ(dialogs.BoxTexts(), std::vector<std::string>{"At least 3 points must remain in the fits"});
    EXPECT_FALSE(Grid().Excluded(0));
    ASSERT_TRUE(Doc().SetPointsExcluded({0}, true));
    View().selectionModel()->select(Grid().index(0, 0), QItemSelectionModel::ClearAndSelect);
    QCoreApplication::sendEvent(&View(), &ctrlE);  // all selected rows excluded: takes them back
    EXPECT_FALSE(Grid().Excluded(0));
}

TEST_F(SigmaGridTest, SaveAsWritesSigmaAndExclusionsAndOpenReadsThemBack)
{
    Paste(0, 0, "1\t2\t0.1\n2\t3\t\n3\t5\t0.2\n4\t4\t0.2\n");
    ASSERT_TRUE(Doc().SetPointsExcluded({2}, true));
    const std::string path = (dir.path() + "/sigma.dta").toStdString();
    dialogs.saveNames.push_back(path);
    ASSERT_TRUE(Main().SaveAs());
    std::ifstream saved(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}),
              "; columns: x y sigma\r\n; excluded: 3\r\n1 2 0.1\r\n2 3 \r\n3 5 0.2\r\n4 4 0.2\r\n");
    const std::vector<DataRow> table = Grid().Rows();
    Grid().SetRows({});
    dialogs.answers = {BoxAnswer::Discard};
    Main().OpenDataFile(path);
    EXPECT_EQ(Grid().Rows(), table);
    EXPECT_EQ(Grid().columnCount(), 3);
}

}  // namespace

TEST_F(SigmaGridTest, ConstraintsAreAStepOfTheHistoryAndKeptInTheFile)
{
    Paste(0, 0, "1\t2\n2\t3\n3\t5\n");
    MethodConstraints c;
    c.regression.throughOrigin = true;
    c.exponentialNls.held.push_back({"b", 0.1L});
    Doc().SetConstraints(c);
    EXPECT_EQ(UndoText(), "Undo constraints");
    Undo();
    EXPECT_TRUE(Doc().GetConstraints().Empty());
    Find<QAction>(Main(), "RedoAction")->trigger();
    EXPECT_EQ(Doc().GetConstraints(), c);

    const std::string path = (dir.path() + "/constrained.dta").toStdString();
    dialogs.saveNames.push_back(path);
    ASSERT_TRUE(Main().SaveAs());
    std::ifstream saved(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}),
              "; constraints: regression a0=0\r\n; constraints: exponential-nls b=0.1\r\n1 2\r\n2 3\r\n3 5\r\n");
    Doc().SetConstraints({});
    dialogs.answers = {BoxAnswer::Discard};
    Main().OpenDataFile(path);
    EXPECT_EQ(Doc().GetConstraints(), c);
    EXPECT_FALSE(Doc().Unsaved());
}
