// The three windows as the program builds them: captions, controls, limits,
// colours, menu, start-up and closing.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

#include "support/app_fixture.h"
#include "ui/look.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

using WindowsTest = AppTest;

QColor TextColor(QWidget* w) { return w->palette().color(QPalette::WindowText); }

TEST_F(WindowsTest, StartUpShowsMainAndGraphAndHidesStatus)
{
    EXPECT_EQ(Main().windowTitle().toStdString(), "Quilvex 0.9 (Beta) by Quilvex Team");
    EXPECT_EQ(Find<QLabel>(Main(), "TopPanel")->text(), Main().windowTitle());
    EXPECT_EQ(Plot().windowTitle(), "Graph");
    EXPECT_EQ(Status().windowTitle(), "Status");
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(Plot().isVisible());
    EXPECT_FALSE(Status().isVisible());
    EXPECT_EQ(S().SelectedPoint, 1);
    EXPECT_EQ(S().n, 0);
}

TEST_F(WindowsTest, ParameterEditsAndSpinnersStartAsDesigned)
{
    struct Expect {
        QLineEdit* edit;
        UpDown* upDown;
        const char* text;
        int min, max, step, position;
    };
    const Expect expected[] = {
        {Find<QLineEdit>(Main(), "PlotPointsEdit"), Find<UpDown>(Main(), "PlotPointsUpDown"), "512", 5, 2000, 10, 512},
        {Find<QLineEdit>(Main(), "CoverEdit"), Find<UpDown>(Main(), "CoverUpDown"), "80", 1, 100, 1, 80},
        {Find<QLineEdit>(Main(), "LagrOrdEdit"), Find<UpDown>(Main(), "LagrOrdUpDown"), "3", 2, 100, 1, 3},
        {Find<QLineEdit>(Main(), "RegrOrdEdit"), Find<UpDown>(Main(), "RegrOrdUpDown"), "3", 1, 100, 1, 3},
    };
    for (const Expect& e : expected) {
        EXPECT_EQ(e.edit->text(), e.text);
        EXPECT_EQ(e.upDown->Min(), e.min);
        EXPECT_EQ(e.upDown->Max(), e.max);
        EXPECT_EQ(e.upDown->Increment(), e.step);
        EXPECT_EQ(e.upDown->Position(), e.position);
    }
    EXPECT_EQ(Find<QLineEdit>(Main(), "PlotPointsEdit")->toolTip(),
              "Number of points to calculate & plot. More is slower.");
    EXPECT_EQ(Find<QLineEdit>(Main(), "RegrOrdEdit")->toolTip(),
              "The order of the regression graph. 1 is linear regression");
}

TEST_F(WindowsTest, SpinnersStepWithoutWrapping)
{
    Doc().SetGraphingEnabled(false);
    UpDown* cover = Find<UpDown>(Main(), "CoverUpDown");
    cover->StepUp();
    EXPECT_EQ(Find<QLineEdit>(Main(), "CoverEdit")->text(), "81");
    Find<QLineEdit>(Main(), "CoverEdit")->setText("100");
    cover->StepUp();
    EXPECT_EQ(Find<QLineEdit>(Main(), "CoverEdit")->text(), "100");
    Find<QLineEdit>(Main(), "PlotPointsEdit")->setText("1995");
    Find<UpDown>(Main(), "PlotPointsUpDown")->StepUp();
    EXPECT_EQ(Find<QLineEdit>(Main(), "PlotPointsEdit")->text(), "2000");
    Find<QLineEdit>(Main(), "LagrOrdEdit")->setText("2");
    Find<UpDown>(Main(), "LagrOrdUpDown")->StepDown();
    EXPECT_EQ(Find<QLineEdit>(Main(), "LagrOrdEdit")->text(), "2");
}

TEST_F(WindowsTest, PlotPointsTypingIsLimitedToFourCharactersButTextIsFree)
{
    QLineEdit* edit = Find<QLineEdit>(Main(), "PlotPointsEdit");
    Doc().SetGraphingEnabled(false);
    edit->clear();
    for (const char* key : {"a", "b", "c", "1", "2"})
        edit->insert(key);
    EXPECT_EQ(edit->text(), "abc1");
    edit->setText("10000");  // the program may write what the user may not type
    EXPECT_EQ(edit->text(), "10000");
}

TEST_F(WindowsTest, MethodBoxesCarryTheirCurveColours)
{
    struct Expect {
        QCheckBox* box;
        const char* caption;
        Color color;
    };
    const Expect expected[] = {
        {Find<QCheckBox>(Main(), "SplineCheckBox"), "Cubic Spline", colors::Black},
        {Find<QCheckBox>(Main(), "LagrCheckBox"), "\"n-1\" Order Lagrange Polynomial", colors::Yellow},
        {Find<QCheckBox>(Main(), "LagrOCheckBox"), "User Order Lagrange Polynomial", colors::Green},
        {Find<QCheckBox>(Main(), "RegrCheckBox"), "User Order Regression", colors::Red},
        {Find<QCheckBox>(Main(), "ExpCheckBox"), "Exponential: y=ae^bx", colors::Purple},
        {Find<QCheckBox>(Main(), "LogCheckBox"), "Logarithmic: y=a + b ln x", colors::Gray},
        {Find<QCheckBox>(Main(), "PowerCheckBox"), "Power:  y=ax^b", colors::Blue},
    };
    for (const Expect& e : expected) {
        EXPECT_EQ(e.box->text(), e.caption);
        EXPECT_EQ(TextColor(e.box), ToQColor(e.color)) << e.caption;
        EXPECT_FALSE(e.box->isChecked());
    }
    EXPECT_TRUE(Find<QCheckBox>(Main(), "GraphEnableCheckBox")->isChecked());
    EXPECT_EQ(Find<QCheckBox>(Main(), "LagrOCheckBox")->toolTip(),
              "Exact fit polynomial through \"n\" closest points, may be discontinuous");
    EXPECT_EQ(TextColor(Find<ClickLabel>(Main(), "Label4")), ToQColor(colors::Green));
    EXPECT_EQ(TextColor(Find<ClickLabel>(Main(), "Label5")), ToQColor(colors::Red));
}

// The boxes and the document hold one state: a click reaches the document, and
// what the document is told the box shows.
TEST_F(WindowsTest, BoxesAndDocumentStayInStep)
{
    const std::pair<const char*, Method> boxes[] = {{"SplineCheckBox", Method::Spline},
                                                    {"PowerCheckBox", Method::Power}};
    for (const auto& [name, method] : boxes) {
        Find<QCheckBox>(Main(), name)->click();
        EXPECT_TRUE(Doc().MethodChecked(method)) << name;
        Doc().SetMethodChecked(method, false);
        EXPECT_FALSE(Find<QCheckBox>(Main(), name)->isChecked()) << name;
    }
    QCheckBox* graphing = Find<QCheckBox>(Main(), "GraphEnableCheckBox");
    graphing->click();
    EXPECT_FALSE(Doc().GraphingEnabled());
    Doc().SetGraphingEnabled(true);
    EXPECT_TRUE(graphing->isChecked());
}

TEST_F(WindowsTest, GridStartsWithFourEmptyRowsAndButtons)
{
    EXPECT_EQ(Grid().RowCount(), 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(Cell(0, r) + Cell(1, r), "");
    EXPECT_EQ(Find<QPushButton>(Main(), "AddRowButton")->text(), "Add Row");
    EXPECT_EQ(Find<QPushButton>(Main(), "DeleteRowButton")->text(), "Delete Row");
    EXPECT_EQ(Find<QPushButton>(Main(), "DeleteRowButton")->toolTip(), "Deletes the last X, Y value. CAUTION!");
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text(), "");
}

TEST_F(WindowsTest, MenuHoldsItsItems)
{
    QStringList bar;
    for (QAction* a : Main().menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Edit", "&Status", "Extrapolate", "&Help"}));
    QStringList file;
    for (QAction* a : Main().menuBar()->actions().first()->menu()->actions())
        file << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(file, QStringList({"&Open", "&Save as", "&Export graph…", "&Copy graph", "-", "E&xit"}));
}

TEST_F(WindowsTest, GraphWindowLayoutAndInitialCaptions)
{
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "LeftXLabel")->text(), "LX");
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "RightXLabel")->text(), "RX");
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "TopYLabel")->text(), "TY");
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "BottomYLabel")->text(), "BY");
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->text(), "");
    EXPECT_EQ(quilvex::testing::Find<QPushButton>(Plot(), "ControlButton")->text(), "Control");
    EXPECT_EQ(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->width(), 538);
    EXPECT_EQ(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->height(), 402);
    EXPECT_EQ(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->mapTo(&Plot(), QPoint(0, 0)).x(), 49);
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->palette().color(QPalette::Window), ToQColor(colors::Lime));
    EXPECT_EQ(quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->width(), 0);
}

TEST_F(WindowsTest, GraphRefusesToCloseAndStatusOnlyHides)
{
    Plot().close();
    EXPECT_TRUE(Plot().isVisible());
    Status().show();
    Status().close();
    EXPECT_FALSE(Status().isVisible());
    Status().show();
    EXPECT_TRUE(Status().isVisible());
}

TEST_F(WindowsTest, StatusWindowComponents)
{
    EXPECT_EQ(Find<QLabel>(Status(), "Label1")->text(), "Enter X value:");
    EXPECT_EQ(Find<QPushButton>(Status(), "ExtrapButton")->text(), "Interpolate/Extrapolate");
    EXPECT_EQ(Find<QPushButton>(Status(), "ClearButton")->text(), "Clear");
    EXPECT_EQ(Find<QLineEdit>(Status(), "XvalueEdit")->text(), "");
    EXPECT_EQ(Find<QLabel>(Status(), "Panel1")->text(), "");
    EXPECT_TRUE(Find<RichTextArea>(Status(), "StatusRichEdit")->isReadOnly());
}

TEST_F(WindowsTest, LabelClickFocusesItsEdit)
{
    Main().activateWindow();
    QCoreApplication::processEvents();
    const std::pair<const char*, const char*> expected[] = {
        {"Label2", "PlotPointsEdit"}, {"Label1", "CoverEdit"}, {"Label4", "LagrOrdEdit"}, {"Label5", "RegrOrdEdit"}};
    for (const auto& [labelName, editName] : expected) {
        ClickLabel* label = Find<ClickLabel>(Main(), labelName);
        emit label->clicked();
        EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>(Main(), editName)) << label->text().toStdString();
    }
}

TEST_F(WindowsTest, ErrorsThatEndAHandlerShowTheApplicationErrorBox)
{
    dialogs.openNames.push_back("/nonexistent/folder/file.dta");
    Main().MenuOpenClick();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "File not found");
}

}  // namespace
