// Data in and back out of the grid: pasting and copying blocks of cells, undo
// and redo of every change of the table, and the question before closing a
// table with unsaved changes.
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <fstream>

#include "support/app_fixture.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class HistoryTest : public AppTest {
protected:
    std::vector<DataRow> Table() { return Grid().Rows(); }
    void Paste(int row, int col, const std::string& text)
    {
        Find<TextGrid>(Main(), "DataStringGrid")->setCurrentIndex(Grid().index(row, col));
        Find<TextGrid>(Main(), "DataStringGrid")->PasteBlock(text);
    }
    void Undo() { Find<QAction>(Main(), "UndoAction")->trigger(); }
    void Redo() { Find<QAction>(Main(), "RedoAction")->trigger(); }
    bool Close()
    {
        QCloseEvent event;
        QCoreApplication::sendEvent(&Main(), &event);
        return event.isAccepted();
    }
    QTemporaryDir dir;
};

TEST_F(HistoryTest, APastePastTheLastRowIsOneStepAndOneReplot)
{
    SetGrid({{"0", "0"}, {"1", "1"}, {"2", "2"}});
    Main().RecordTableStep("typing");
    Paste(0, 0, "1\t3\n2\t4,5\n3\t2\n4\t1\n5\t0,5\n");
    const std::vector<DataRow> pasted{{"1", "3"}, {"2", "4.5"}, {"3", "2"}, {"4", "1"}, {"5", "0.5"}};
    EXPECT_EQ(Table(), pasted);
    EXPECT_EQ(S().n, 5);  // the paste replotted
    EXPECT_TRUE(S().DataModified);

    Paste(1, 1, "7;8\n9;10\n");  // from the Y column on: the second fields have no column
    EXPECT_EQ(Grid().Cell(1, 1), "7");
    EXPECT_EQ(Grid().Cell(1, 2), "9");
    EXPECT_EQ(Find<QAction>(Main(), "UndoAction")->text(), "Undo paste");
    Undo();
    EXPECT_EQ(Table(), pasted);
    Undo();
    EXPECT_EQ(Table(), (std::vector<DataRow>{{"0", "0"}, {"1", "1"}, {"2", "2"}}));
    Redo();
    Redo();
    EXPECT_EQ(Grid().Cell(1, 2), "9");
}

TEST_F(HistoryTest, CopyClearAndSelectAllWorkOnBlocksOfCells)
{
    SetGrid({{"1", "2"}, {"3", "4"}, {"5", "6"}});
    Main().RecordTableStep("typing");
    TextGrid* grid = Find<TextGrid>(Main(), "DataStringGrid");
    grid->selectionModel()->select(QItemSelection(Grid().index(1, 0), Grid().index(2, 1)),
                                   QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(grid->SelectedText(), "3\t4\n5\t6\n");
    grid->ClearSelection();
    EXPECT_EQ(Table(), (std::vector<DataRow>{{"1", "2"}, {"", ""}, {"", ""}}));
    EXPECT_EQ(Find<QAction>(Main(), "UndoAction")->text(), "Undo clear");
    Undo();
    EXPECT_EQ(Table()[2], (DataRow{"5", "6"}));
    grid->selectAll();
    EXPECT_EQ(grid->SelectedText(), "1\t2\n3\t4\n5\t6\n");
}

TEST_F(HistoryTest, RowsEditsDragsAndOpeningAFileAreUndone)
{
    SetGrid({{"1", "1"}, {"2", "4"}, {"3", "9"}, {"4", "16"}, {"5", "25"}});
    Main().RecordTableStep("typing");
    const std::vector<DataRow> typed = Table();
    Main().AddRowButtonClick();
    Main().DeleteRowButtonClick();
    Main().DeleteRowButtonClick();
    EXPECT_EQ(Table().size(), 4u);
    Undo();
    EXPECT_EQ(Table(), typed);
    Undo();  // the empty row comes back, and the replot of the undo drops it as any replot does
    EXPECT_EQ(Table(), typed);

    // A drag from press to release is one step, however many moves it made.
    Main().DrawGraph();
    Plot().PlotPaintBoxMouseDown(162, 322);
    Plot().PlotPaintBoxMouseMove(180, 300);
    Plot().PlotPaintBoxMouseMove(200, 280);
    Plot().PlotPaintBoxMouseUp(200, 280);
    EXPECT_NE(Table(), typed);
    EXPECT_EQ(Find<QAction>(Main(), "UndoAction")->text(), "Undo drag");
    Undo();
    EXPECT_EQ(Table(), typed);

    const std::string path = (dir.path() + "/three.dta").toStdString();
    std::ofstream(path) << "0 1\n1 2\n2 5\n";
    dialogs.openNames.push_back(path);
    dialogs.answers = {BoxAnswer::Discard};  // the typed table was never saved
    Main().MenuOpenClick();
    EXPECT_EQ(Table().size(), 3u);
    Undo();
    EXPECT_EQ(Table(), typed);
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text(), "");
    Redo();
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text(), QString::fromStdString(path));
}

TEST_F(HistoryTest, UndoAndRedoAreEnabledOnlyWithAStepAndAClickIsNone)
{
    SetGrid({{"1", "1"}, {"2", "4"}, {"3", "9"}});
    Main().DrawGraph();  // drops the grid's empty rows, outside any step
    EXPECT_FALSE(Find<QAction>(Main(), "UndoAction")->isEnabled());
    EXPECT_FALSE(Find<QAction>(Main(), "RedoAction")->isEnabled());
    Plot().PlotPaintBoxMouseDown(54, 362);  // picks point 1 and lets it go where it was
    Plot().PlotPaintBoxMouseUp(54, 362);
    EXPECT_TRUE(S().SelectedPoint == 1 && !Find<QAction>(Main(), "UndoAction")->isEnabled());
    Paste(0, 1, "5\n");
    EXPECT_TRUE(Find<QAction>(Main(), "UndoAction")->isEnabled());
    Undo();
    EXPECT_FALSE(Find<QAction>(Main(), "UndoAction")->isEnabled());
    EXPECT_EQ(Find<QAction>(Main(), "RedoAction")->text(), "Redo paste");
    EXPECT_TRUE(Find<QAction>(Main(), "RedoAction")->isEnabled());
}

TEST_F(HistoryTest, TypingNotYetEndedIsUndoneAsACellEdit)
{
    SetGrid({{"1", "1"}});
    Main().RecordTableStep("typing");
    Grid().setData(Grid().index(0, 1), "7", Qt::EditRole);  // the editor is still open
    Undo();
    EXPECT_EQ(Grid().Cell(1, 0), "1");
    Redo();
    EXPECT_EQ(Grid().Cell(1, 0), "7");
}

TEST_F(HistoryTest, ClosingAsksOnlyWhenTheTableHasUnsavedChanges)
{
    EXPECT_TRUE(Close());  // never changed
    EXPECT_TRUE(dialogs.boxes.empty());

    Paste(0, 0, "1 2\n3 4\n5 6\n");
    dialogs.answers = {BoxAnswer::Cancel};
    EXPECT_FALSE(Close());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::SaveDiscardCancel);

    dialogs.answers = {BoxAnswer::Save};  // and the save dialog is cancelled
    EXPECT_FALSE(Close());

    const std::string path = (dir.path() + "/kept.dta").toStdString();
    dialogs.answers = {BoxAnswer::Save};
    dialogs.saveNames.push_back(path);
    EXPECT_TRUE(Close());
    std::ifstream saved(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "1 2\r\n3 4\r\n5 6\r\n");
    EXPECT_TRUE(S().DataModified);  // saving keeps its meaning for the status report

    dialogs.boxes.clear();
    EXPECT_TRUE(Close());  // saved since the change
    EXPECT_TRUE(dialogs.boxes.empty());
    Grid().setData(Grid().index(0, 0), "9", Qt::EditRole);
    dialogs.answers = {BoxAnswer::Discard};
    EXPECT_TRUE(Close());
}

TEST_F(HistoryTest, AFileCutTo300PointsIsATableNotSaved)
{
    const std::string path = (dir.path() + "/long.dta").toStdString();
    std::ofstream(path, std::ios::binary) << [] {
        std::string bytes = "; a comment\r\n";
        for (int i = 1; i <= 301; ++i)
            bytes += std::to_string(i) + " 1\r\n";
        return bytes;
    }();
    for (const bool graphing : {true, false}) {
        Doc().SetGraphingEnabled(graphing);
        dialogs.answers = {BoxAnswer::Discard};  // the second time: the cut table is not saved
        Main().OpenDataFile(path);
        Doc().SetGraphingEnabled(true);  // the cut, if opening did not replot
        ASSERT_EQ(Grid().RowCount(), 300);
        dialogs.boxes.clear();
        dialogs.answers = {BoxAnswer::Cancel};
        EXPECT_FALSE(Close()) << "graphing " << graphing;
        EXPECT_EQ(dialogs.BoxTexts().back(), "The table has changes that are not saved. Save them before closing?");
    }
    dialogs.saveNames.push_back(path);
    dialogs.answers = {BoxAnswer::Yes};  // write over it
    Main().Saveas1Click();
    dialogs.boxes.clear();
    EXPECT_TRUE(Close());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(HistoryTest, UnsavedFollowsTheCleanStateOfTheHistory)
{
    const std::string opened = (dir.path() + "/opened.dta").toStdString();
    std::ofstream(opened) << "0 1\n1 2\n2 5\n";
    app->OpenAtStart(opened);
    QCoreApplication::processEvents();
    const auto asks = [this] {
        dialogs.boxes.clear();
        dialogs.answers = {BoxAnswer::Cancel};
        const bool closed = Close();
        dialogs.answers.clear();
        return !closed && dialogs.boxes.size() == 1;
    };
    EXPECT_FALSE(asks()) << "as opened";
    Undo();  // "open file": the new table the program started with
    EXPECT_FALSE(asks()) << "the opening undone";
    Redo();
    Paste(0, 1, "7\n");
    EXPECT_TRUE(asks()) << "pasted";
    Undo();
    EXPECT_FALSE(asks()) << "the paste undone";
    Redo();
    dialogs.saveNames.push_back((dir.path() + "/saved.dta").toStdString());
    Main().Saveas1Click();
    EXPECT_FALSE(asks()) << "saved";
    Undo();
    EXPECT_TRUE(asks()) << "undone past the saved table";
    Undo();
    EXPECT_FALSE(asks()) << "back at the new table";
    Redo();
    Redo();
    EXPECT_FALSE(asks()) << "redone to the saved table";
}

}  // namespace
