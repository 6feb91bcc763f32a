// The status window's two reports through the real windows: the status report,
// the interpolation view of the menu, the X value button and the Clear button.
#include <QImage>
#include <algorithm>
#include <QTextBlock>

#include "graph/core/plotter.h"
#include "support/app_fixture.h"
#include "ui/look.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

const TextStyle kPlain{colors::Black, false, false, 8};
TextStyle Heading(Color c) { return TextStyle{c, true, true, 12}; }

class ReportsTest : public AppTest {
protected:
    // y = x^2 at x = 1..5, with the regression (order 3) drawn.
    void ParabolaWithRegression()
    {
        SetGrid({{"1", "1"}, {"2", "4"}, {"3", "9"}, {"4", "16"}, {"5", "25"}});
        Doc().SetMethodChecked(Method::Regression, true);  // replots
    }
    RichTextArea& Text() { return *Find<RichTextArea>(Status(), "StatusRichEdit"); }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < Text().LineCount(); ++i)
            lines.push_back(Text().LineText(i).toStdString());
        return lines;
    }
    QString FontOfLine(int line) { return Text().document()->findBlockByNumber(line).charFormat().fontFamilies().toStringList().value(0); }
    void Press(const char* xText)
    {
        Find<QLineEdit>(Status(), "XvalueEdit")->setText(xText);
        Find<QPushButton>(Status(), "ExtrapButton")->click();
    }
    QColor At(int x, int y) { return quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Image().pixelColor(x, y); }
};

TEST_F(ReportsTest, StatusWithoutDataShowsOnlyThatNoDataIsLoaded)
{
    Find<QAction>(Main(), "Status1")->trigger();
    EXPECT_TRUE(Status().isVisible());
    EXPECT_EQ(Find<QLabel>(Status(), "Panel1")->text(), "Current status of graphs");
    EXPECT_EQ(Lines(), std::vector<std::string>{"**** No data yet loaded"});
    EXPECT_EQ(Text().LineStyle(0), kPlain);
}

TEST_F(ReportsTest, StatusReportReplacesTheTextWithStyledLines)
{
    ParabolaWithRegression();
    Doc().SetMethodChecked(Method::Spline, true);
    Text().AppendLine("older text");
    Find<QAction>(Main(), "Status1")->trigger();

    EXPECT_TRUE(Status().isVisible());
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[0], "      Graph types with their colours (* = currently active):");
    EXPECT_EQ(FontOfLine(0), "MS Sans Serif");
    EXPECT_EQ(Text().LineStyle(1), kPlain);
    EXPECT_EQ(lines[2], "*  Black: Cubic Spline");
    EXPECT_EQ(Text().LineStyle(2), Heading(colors::Black));
    EXPECT_EQ(lines[5], "   Yellow: Lagrange Interpolating Polynomial");
    EXPECT_EQ(Text().LineStyle(5), Heading(colors::Yellow));
    EXPECT_EQ(Text().LineStyle(6), kPlain);
    EXPECT_EQ(lines[13], "*  Red: Least Squares Regression Polynomial");
    EXPECT_EQ(Text().LineStyle(13), Heading(colors::Red));
    EXPECT_EQ(lines[17].rfind("            a,b,c...: ", 0), 0u);
    EXPECT_EQ(std::count(lines[17].begin(), lines[17].end(), ','), 2 + 3);  // two in the label, three between four values
    EXPECT_EQ(lines[21], "            (not active)");
    EXPECT_EQ(Text().LineStyle(27), Heading(colors::Blue));
    EXPECT_EQ(lines[31], "      Currently using data from file: \"\"");
    EXPECT_EQ(lines[32], "        (unchanged)");
    EXPECT_EQ(lines[33], "      Current range of 5 \"x\" values: from min 1 to max 5");
    EXPECT_EQ(lines[34], "      Current range of 5 \"y\" values: from min 1 to max 25");
    EXPECT_EQ(Text().LineStyle(34), kPlain);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(ReportsTest, StatusNamesTheFileAndAModification)
{
    ParabolaWithRegression();
    Doc().SetFileName("/data/parabola.dta");
    S().DataModified = true;
    Main().Status1Click();
    EXPECT_EQ(Lines()[31], "      Currently using data from file: \"/data/parabola.dta\"");
    EXPECT_EQ(Lines()[32], "        (**** MODIFIED since loading!!!!)");
}

TEST_F(ReportsTest, ExtrapolateMenuOpensAnEmptyInterpolationView)
{
    ParabolaWithRegression();
    Main().Status1Click();
    Status().hide();
    Find<QAction>(Main(), "Extrapolate1")->trigger();
    EXPECT_TRUE(Status().isVisible());
    EXPECT_EQ(Find<QLabel>(Status(), "Panel1")->text(), "Data interpolate / extrapolate");
    EXPECT_EQ(Text().LineCount(), 0);
}

TEST_F(ReportsTest, PressAppendsABlockInCourierThenMarksTheCurve)
{
    ParabolaWithRegression();
    Plotter plot(S(), quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas());
    const int column = static_cast<int>(plot.XToPixel(2.5L) + 0.5L);
    const int bottom = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Height() - 3;
    const QColor background = ToQColor(colors::Background);
    EXPECT_EQ(At(column, bottom), background);

    Press("2.5");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Input \"x\" value of 2.5 gives a \"y\" value of :",
                                                 "  Regression order 3 polynomial : 6.25"}));
    EXPECT_EQ(FontOfLine(1), "Courier");
    EXPECT_NE(At(column, bottom), background);  // the replot drew the mark from the bottom row

    Find<QPushButton>(Status(), "ClearButton")->click();
    EXPECT_EQ(Text().LineCount(), 0);
    EXPECT_EQ(Find<QLineEdit>(Status(), "XvalueEdit")->text(), "");
    EXPECT_EQ(At(column, bottom), background);
}

TEST_F(ReportsTest, EachPressAddsItsBlockBelowTheLast)
{
    ParabolaWithRegression();
    Main().Status1Click();
    const int reportLines = Text().LineCount();
    Press("1");
    Press("2");
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(reportLines + 4));
    EXPECT_EQ(lines[static_cast<std::size_t>(reportLines)], "Input \"x\" value of 1 gives a \"y\" value of :");
    EXPECT_EQ(lines[static_cast<std::size_t>(reportLines + 2)], "Input \"x\" value of 2 gives a \"y\" value of :");
    EXPECT_EQ(lines.back(), "  Regression order 3 polynomial : 4");
}

TEST_F(ReportsTest, OnlyAWholeNumberTextIsEvaluated)
{
    ParabolaWithRegression();
    struct Case {
        const char* typed;
        const char* firstLine;  // nullptr: nothing appended
    };
    const Case cases[] = {
        {"", nullptr},
        {"abc", nullptr},
        {"5.", nullptr},
        {"5 ", nullptr},
        {" 5", "Input \"x\" value of 5 gives a \"y\" value of :"},
        {"5.e1", "Input \"x\" value of 50 gives a \"y\" value of :"},
    };
    for (const Case& c : cases) {
        Status().ClearButtonClick();
        Press(c.typed);
        if (c.firstLine)
            EXPECT_EQ(Lines().at(0), c.firstLine) << c.typed;
        else
            EXPECT_EQ(Text().LineCount(), 0) << c.typed;
        EXPECT_EQ(Msg(), "") << c.typed;
    }
}

TEST_F(ReportsTest, AnErrorEndsTheBlockAndGoesToTheMessageLabel)
{
    SetGrid({{"1", "2"}, {"2", "4"}, {"3", "8"}});
    Doc().SetMethodChecked(Method::Exponential, true);
    Doc().SetMethodChecked(Method::Logarithmic, true);
    Find<QLineEdit>(Status(), "XvalueEdit")->setText("1e5");  // e^(ln 2 * 1e5) overflows
    const std::string error = " ***1 Exception: \"Floating point overflow\", suggest you review graph values! ****";

    quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->setText("short");
    Status().ExtrapolateReport();
    EXPECT_EQ(Msg(), "short" + error);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Input \"x\" value of 100000 gives a \"y\" value of :"});

    quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->setText(QString(25, 'm'));
    Status().ExtrapolateReport();
    EXPECT_EQ(Msg(), error);
    EXPECT_EQ(Text().LineCount(), 2);
}

TEST_F(ReportsTest, AnEmptyTableWithTheSplineStillOnIsARangeError)
{
    SetGrid({{"1", "1"}, {"2", "4"}, {"3", "9"}});
    Doc().SetMethodChecked(Method::Spline, true);
    SetGrid({{"", ""}});
    Main().DrawGraph();
    ASSERT_EQ(S().n, 0);
    ASSERT_TRUE(S().ShowSpline);
    Press("3");  // the replot after it finds no points and leaves the label alone
    EXPECT_EQ(Msg(), " ***1 Exception: \"Range check error\", suggest you review graph values! ****");
    EXPECT_EQ(Lines(), std::vector<std::string>{"Input \"x\" value of 3 gives a \"y\" value of :"});
}

}  // namespace
