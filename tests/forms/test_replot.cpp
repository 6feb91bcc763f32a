// The replot through the real windows: grid import, settings, scaling, the
// picture, the messages and the guards.
#include <QImage>
#include <QKeyEvent>

#include "data/numtext.h"
#include "graph/weightedfits.h"
#include "support/app_fixture.h"
#include "ui/look.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class ReplotTest : public AppTest {
protected:
    QImage Picture() { return quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Image(); }
    QColor At(int x, int y) { return Picture().pixelColor(x, y); }
    void Replot() { Main().DrawGraph(); }
    // What the window system sends when the box is uncovered.
    void Expose()
    {
        Plot().RequestReplot();
        QCoreApplication::processEvents();
    }
    std::string Text(QLineEdit* edit) { return edit->text().toStdString(); }
};

TEST_F(ReplotTest, EmptyGridLeavesABlankBoxAndTheCaptions)
{
    Replot();
    EXPECT_EQ(S().n, 0);
    const QImage image = Picture();
    EXPECT_EQ(image.size(), QSize(538, 402));
    EXPECT_EQ(image.pixelColor(10, 10), ToQColor(colors::Background));
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "LeftXLabel")->text(), "LX");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ReplotTest, FivePointsAreDrawnWithAxesAndLabels)
{
    SetGrid({{"1", "1"}, {"2", "4"}, {"3", "9"}, {"4", "16"}, {"5", "25"}});
    S().SelectedPoint = 2;
    Replot();
    EXPECT_EQ(S().n, 5);
    // XScale = 430 / 4, YScale = 322 / 24, margins 54 and 40 on either side.
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "LeftXLabel")->text(), "0.497674");
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "RightXLabel")->text(), "5.50233");
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "BottomYLabel")->text(), "-1.98137");
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "TopYLabel")->text(), "27.9814");
    EXPECT_EQ(Msg(), "");
    // Point 1 at (54, 362): the blue circle of radius 4 passes through (58, 362).
    EXPECT_EQ(At(54 + 4, 362), ToQColor(colors::Blue));
    EXPECT_EQ(At(54, 362), ToQColor(colors::Background));
    // Point 2, selected, at (161.5 -> 162, 362 - 322 * 3 / 24 = 321.75 -> 322): red.
    EXPECT_EQ(At(162 + 5, 322), ToQColor(colors::Red));
    // The axis x = 0 is 54 - 1 * 107.5 pixels off the box; y = 0 is at row 402 - 40 + 13.4.
    bool blueAxisRow = false;
    for (int x = 0; x < 538; ++x)
        blueAxisRow = blueAxisRow || At(x, 375) == ToQColor(colors::Blue);
    EXPECT_TRUE(blueAxisRow);
}

TEST_F(ReplotTest, TooFewPointsWarnAndGrowTheGrid)
{
    SetGrid({{"1", "1"}, {"2", "2"}});
    Replot();
    EXPECT_EQ(dialogs.BoxTexts(), std::vector<std::string>{"Too few X,Y values, must be at least 3!"});
    EXPECT_EQ(dialogs.boxes[0].type, BoxType::Warning);
    EXPECT_EQ(S().n, 3);
    EXPECT_EQ(Grid().RowCount(), 3);
    // The third point came from the table's earlier contents (zero), then adjusted.
    EXPECT_EQ(Cell(0, 2), "0.1");
}

TEST_F(ReplotTest, TooManyPointsWarnAndCutTo300)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < 305; ++i)
        rows.emplace_back(std::to_string(i), "1");
    SetGrid(rows);
    Replot();
    EXPECT_EQ(dialogs.BoxTexts(), std::vector<std::string>{"Too many X,Y values! (max 300)"});
    EXPECT_EQ(S().n, 300);
    EXPECT_EQ(Grid().RowCount(), 300);
}

TEST_F(ReplotTest, SettingsAreClampedAndWrittenBack)
{
    struct Case {
        const char* edit;
        const char* typed;
        const char* shown;  // after the replot
    };
    SetGrid({{"1", "1"}, {"2", "3"}, {"3", "2"}});
    const Case cases[] = {
        {"LagrOrdEdit", "1", "2"},      {"LagrOrdEdit", "50", "2"},       {"RegrOrdEdit", "0", "1"},
        {"RegrOrdEdit", "1000", "299"}, {"RegrOrdEdit", "abc", "abc"},    {"CoverEdit", "3", "5"},
        {"CoverEdit", "150", "100"},    {"CoverEdit", "", ""},            {"PlotPointsEdit", "4", "5"},
        {"PlotPointsEdit", "9999", "9999"}, {"PlotPointsEdit", "2.5", "2.5"}, {"CoverEdit", " 12", " 12"},
    };
    for (const Case& c : cases) {
        QLineEdit* edit = Find<QLineEdit>(Main(), c.edit);
        edit->setText(c.typed);  // its change event replots
        EXPECT_EQ(Text(edit), c.shown) << c.typed;
    }
    EXPECT_EQ(S().LagrOrd, 2);
    EXPECT_EQ(S().RegrOrd, 3);
    EXPECT_EQ(S().PlotPoints, 512);
    EXPECT_EQ(S().Cover, 12);
    EXPECT_EQ(Find<UpDown>(Main(), "RegrOrdUpDown")->Position(), 100);  // 299 is beyond what the spinner shows
    EXPECT_EQ(Find<UpDown>(Main(), "CoverUpDown")->Position(), 100);
    Find<QLineEdit>(Main(), "PlotPointsEdit")->setText("12 ");
    EXPECT_EQ(S().PlotPoints, 512);
}

TEST_F(ReplotTest, SelectedPointIsKeptWithinTheTable)
{
    SetGrid({{"1", "1"}, {"2", "3"}, {"3", "2"}, {"4", "2"}, {"5", "2"}});
    S().SelectedPoint = 7;
    Replot();
    EXPECT_EQ(S().SelectedPoint, 1);
}

TEST_F(ReplotTest, NeverDropsRowsThatHoldText)
{
    SetGrid({{"1", "1"}, {"2", "3"}, {"3", "2"}, {"4", "5"}, {"5", "2"}});
    Grid().SetCell(0, 1, "");  // the user clears one X cell
    Replot();
    EXPECT_EQ(S().n, 3);  // row 0, then a warned minimum of three points
    EXPECT_EQ(Grid().RowCount(), 5);
    EXPECT_EQ(Cell(0, 4), "5");
    EXPECT_EQ(Cell(1, 1), "3");

    SetGrid({{"1", "1"}, {"2", "3"}, {"3", "2"}});
    Main().AddRowButtonClick();
    EXPECT_EQ(Grid().RowCount(), 4);
    Replot();
    EXPECT_EQ(Grid().RowCount(), 3);  // the new empty row goes again
}

TEST_F(ReplotTest, AdjustedXIsWrittenWithAPointWhateverTheLocale)
{
    SetDecimalSeparator(',');
    SetGrid({{"1", "1"}, {"2", "3"}, {"2", "2"}, {"4", "2"}});
    Replot();
    EXPECT_EQ(Cell(0, 2), "2.2");
    EXPECT_EQ(Msg(), " * x values not ascending!! Adjusted.");
    EXPECT_GT(quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->width(), 100);  // sized to its text
    Replot();
    EXPECT_EQ(Cell(0, 2), "2.2");  // reads back: no " ??"
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "RightXLabel")->text(), "4,37674");
    SetDecimalSeparator('.');
}

TEST_F(ReplotTest, AnErrorBecomesTheExceptionTextInMsgLabel)
{
    SetGrid({{"1", "8e4931"}, {"2", "-8e4931"}, {"3", "0"}});
    Replot();  // YMax - YMin overflows
    EXPECT_EQ(Msg(), " **** Exception: \"Floating point overflow\", suggest you review graph values! ****");
    EXPECT_EQ(S().DrawDepth, 0);

    SetGrid({{"1", "1e4900"}, {"2", "-1e4900"}, {"3", "0"}});
    Replot();  // cannot scale: a point lands beyond the pixels an integer holds
    EXPECT_EQ(Msg(), " **** Exception: \"Invalid floating point operation\", suggest you review graph values! ****");
}

TEST_F(ReplotTest, AnImportThatFailsKeepsTheSelectionWithinTheTable)
{
    SetGrid({{"1", "1"}, {"2", "3"}, {"3", "2"}, {"4", "5"}, {"5", "2"}, {"6", "1"}});
    Replot();
    S().SelectedPoint = 6;
    Grid().SetCell(1, 3, "1e5000");
    Replot();
    EXPECT_EQ(S().n, 3);
    EXPECT_EQ(S().SelectedPoint, 1);
    EXPECT_NE(Msg().find("Floating point overflow"), std::string::npos);
}

TEST_F(ReplotTest, ErrorTextIsAppendedOnlyToAShortCaption)
{
    quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->setText("short");
    Plot().ShowErrorInMsgLabel(" **** Exception: ", "Range check error");
    EXPECT_EQ(Msg(), "short **** Exception: \"Range check error\", suggest you review graph values! ****");
    quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->setText(QString(30, 'x'));
    Plot().ShowErrorInMsgLabel(" **** Exception: ", "Range check error");
    EXPECT_EQ(Msg(), " **** Exception: \"Range check error\", suggest you review graph values! ****");
}

TEST_F(ReplotTest, AReplotAskedForDuringAReplotIsDropped)
{
    SetGrid({{"1", "1"}, {"2", "2"}});
    int nestedDepth = -1;
    dialogs.whileOpen = [&] {
        Plot().Draw();  // e.g. a repaint while the warning is open
        nestedDepth = S().DrawDepth;
        Expose();
    };
    Replot();
    EXPECT_EQ(nestedDepth, 1);
    EXPECT_EQ(dialogs.boxes.size(), 1u);  // the nested replots showed no second warning
    EXPECT_EQ(S().DrawDepth, 0);
}

TEST_F(ReplotTest, GraphingEnabledGatesTheParameterReplots)
{
    SetGrid({{"1", "1"}, {"2", "2"}, {"3", "3"}});
    Doc().SetGraphingEnabled(false);
    Doc().SetMethodChecked(Method::Spline, true);
    EXPECT_EQ(S().n, 0);
    EXPECT_FALSE(S().ShowSpline);
    Doc().SetGraphingEnabled(true);  // ticking it replots at once
    EXPECT_EQ(S().n, 3);
    EXPECT_TRUE(S().ShowSpline);
}

TEST_F(ReplotTest, RepaintsOfTheGraphWindowReplot)
{
    SetGrid({{"1", "1"}, {"2", "2"}, {"3", "3"}});
    Doc().SetGraphingEnabled(false);
    Find<QLineEdit>(Main(), "CoverEdit")->setText("50");
    EXPECT_EQ(S().n, 0);
    Expose();
    EXPECT_EQ(S().n, 3);
    EXPECT_EQ(S().Cover, 50);
    Plot().resize(700, 500);
    QCoreApplication::processEvents();
    Expose();
    EXPECT_EQ(Picture().width(), quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->width());
    EXPECT_EQ(S().MarginX, Round(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->width() * 0.5L));
}

TEST_F(ReplotTest, CurvesTickedByTheFirstReplotOfAFileAreDrawnByTheNextUncover)
{
    Doc().SetGraphingEnabled(false);
    Main().OpenDataFile(QUILVEX_EXAMPLES "/line.dta");
    Expose();  // the first replot of the file reads the boxes unticked, then ticks two
    EXPECT_TRUE(Find<QCheckBox>(Main(), "SplineCheckBox")->isChecked());
    EXPECT_FALSE(S().ShowSpline);
    Expose();
    EXPECT_TRUE(S().ShowSpline);
    EXPECT_TRUE(S().ShowRegr);
    const int replotsBefore = S().n;
    S().n = -1;  // a replot would read the table again
    Expose();
    EXPECT_EQ(S().n, -1) << "the picture is current: no third replot";
    S().n = replotsBefore;
}

TEST_F(ReplotTest, RowButtonsAndCellEdits)
{
    Main().DeleteRowButtonClick();
    Main().DeleteRowButtonClick();
    Main().DeleteRowButtonClick();
    EXPECT_EQ(Grid().RowCount(), 1);
    Main().DeleteRowButtonClick();
    EXPECT_EQ(Grid().RowCount(), 1);  // the last row stays

    SetGrid({{"1", "1"}, {"2", "2"}});
    Main().DeleteRowButtonClick();
    Main().AddRowButtonClick();
    EXPECT_EQ(Grid().RowCount(), 2);
    EXPECT_EQ(Cell(0, 1), "");
    EXPECT_FALSE(S().DataModified);
    Grid().setData(Grid().index(0, 1), "7", Qt::EditRole);  // the user's edit
    EXPECT_TRUE(S().DataModified);
    EXPECT_EQ(S().n, 0);  // no replot
}

}  // namespace

namespace {

// The cell editor as the user types into it: the grid holds its text at every
// keystroke, a line break pasted into it is not kept, Escape takes the typing back.
TEST_F(ReplotTest, TheGridHoldsWhatTheCellEditorShows)
{
    SetGrid({{"1", "1"}, {"2", "2"}, {"3", "3"}});
    TextGrid* view = Find<TextGrid>(Main(), "DataStringGrid");
    view->edit(Grid().index(2, 1));
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    editor->insert("7\n8");
    EXPECT_EQ(editor->text(), "7");
    EXPECT_EQ(Cell(1, 2), "7");
    EXPECT_TRUE(S().DataModified);
    Replot();  // e.g. a spinner arrow while the editor is open
    EXPECT_EQ(S().y[3], 7);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(editor, &escape);
    EXPECT_EQ(Cell(1, 2), "3");
}

TEST_F(ReplotTest, WithoutAWeightingTheWeightedCurvesChangeNoPixel)
{
    SetGrid({{"1", "2"}, {"2", "3"}, {"3", "5"}, {"4", "4"}, {"5", "6"}});
    Doc().SetMethodChecked(Method::Regression, true);
    Doc().SetMethodChecked(Method::Exponential, true);
    Replot();
    const QImage designed = Picture();
    Doc().SetWeightedCurvesShown(true);
    Replot();
    EXPECT_EQ(Picture(), designed) << "no weighting: the designed picture, pixel for pixel";
    Doc().SetWeighting(Weighting::Y);
    Doc().SetWeightedCurvesShown(false);
    Replot();
    EXPECT_EQ(Picture(), designed) << "a weighting, weighted curves hidden";
}

TEST_F(ReplotTest, ConstraintsRedrawTheGraphWhenSetUndoneAndRedone)
{
    SetGrid({{"1", "10"}, {"2", "12"}, {"3", "14"}, {"4", "16"}, {"5", "18"}});
    Main().RecordTableStep("typing");
    Doc().SetMethodChecked(Method::Regression, true);
    Replot();
    const QImage designed = Picture();
    MethodConstraints origin;
    origin.regression.throughOrigin = true;
    Doc().SetConstraints(origin);
    const QImage constrained = Picture();
    EXPECT_NE(constrained, designed) << "set: the constrained curve is drawn";
    const struct {
        const char* action;
        const QImage& picture;
    } steps[] = {{"UndoAction", designed}, {"RedoAction", constrained}};
    for (const auto& step : steps) {
        Find<QAction>(Main(), step.action)->trigger();
        EXPECT_EQ(Picture(), step.picture) << step.action;
    }
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

}  // namespace
