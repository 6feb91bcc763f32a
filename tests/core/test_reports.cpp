// The texts of the status report and of the interpolation / extrapolation block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/numtext.h"
#include "report/core/extrapreport.h"
#include "report/core/resultstext.h"
#include "report/core/statusreport.h"

using namespace quilvex;

namespace {

using Style = ReportLine::Style;

void SetPoints(QuilvexState& s, const std::vector<Real>& xs, const std::vector<Real>& ys)
{
    s.n = static_cast<std::int32_t>(xs.size());
    for (int i = 1; i <= s.n; ++i) {
        s.x[i] = xs[static_cast<std::size_t>(i - 1)];
        s.y[i] = ys[static_cast<std::size_t>(i - 1)];
    }
}

void EnableAll(QuilvexState& s)
{
    s.ShowSpline = s.ShowLagr = s.ShowLagrO = s.ShowRegr = s.ShowExp = s.ShowLog = s.ShowPower = true;
}

// Five points, X from 1 to 9, Y from -2 to 7, with coefficients in every fit.
QuilvexState ReportedState()
{
    ClearFpu();
    QuilvexState s;
    SetPoints(s, {1, 2, 4, 7, 9}, {3, -2, 7, 0, 1});
    s.YMin = -2;
    s.YMax = 7;
    s.LagrOrd = 2;
    s.RegrOrd = 3;
    s.RegrCoef[1] = 1;
    s.RegrCoef[2] = 2.5L;
    s.RegrCoef[3] = -0.125L;
    s.RegrCoef[4] = 0.00003L;
    s.ExpA = 1;
    s.ExpB = Ln(2);
    s.LogA = 3;
    s.LogB = -0.5L;
    s.PowerA = 5;
    s.PowerB = 2;
    return s;
}

std::vector<std::string> Texts(const std::vector<ReportLine>& lines)
{
    std::vector<std::string> texts;
    for (const ReportLine& line : lines)
        texts.push_back(line.text);
    return texts;
}

TEST(StatusReport, WithoutPointsSaysSoAndNothingElse)
{
    QuilvexState s = ReportedState();
    EnableAll(s);
    s.n = 0;
    EXPECT_EQ(StatusReportLines(s, "a.dta"),
              (std::vector<ReportLine>{{"**** No data yet loaded", Style::Plain, colors::Black}}));
}

TEST(StatusReport, ListsEveryActiveMethodWithItsColourAndValues)
{
    QuilvexState s = ReportedState();
    EnableAll(s);
    s.MessageBuffer.Append(" * y<=0 for exp");
    const std::vector<ReportLine> lines = StatusReportLines(s, "/home/u/decay.dta");
    const std::vector<std::string> expected = {
        "      Graph types with their colours (* = currently active):",
        " ",
        "*  Black: Cubic Spline",
        "      Exactly fits data values. No extrapolation. Very smooth fit for exact data.",
        " ",
        "*  Yellow: Lagrange Interpolating Polynomial",
        "      Exactly fits data values. No extrapolation. Builds an n-1 order polynomial.",
        "      If data values in middle are inaccurate, can get very wavy at ends of graph.",
        " ",
        "*  Green: Lagrange Polynomial",
        "      With user-defined Order n (currently 2). Uses closest n+1 data points.",
        "      Exactly fits data, but may be non-continuous.",
        " ",
        "*  Red: Least Squares Regression Polynomial",
        "      With user-defined order n (currently 3). Order 1 is \"linear regression\".",
        "      Order 3 seems to provide the best all-round fit for many types of data! Formula is:",
        "            y = a + bx + cx^2 + dx^3 ...  Current values are:",
        "            a,b,c...: 1, 2.5, -0.125, 3E-5",
        " ",
        "*  Purple: Exponential",
        "      Least squares regression using formula: y=ae^bx",
        "            a=1, b=0.69314718",
        " ",
        "*  Gray: Logarithmic",
        "      Least squares regression using formula: y=a + b ln x",
        "            a=3, b=-0.5",
        " ",
        "*  Blue: Power",
        "      Least squares regression using formula: y=ax^b",
        "            a=5, b=2",
        " ",
        "      Currently using data from file: \"/home/u/decay.dta\"",
        "        (unchanged)",
        "      Current range of 5 \"x\" values: from min 1 to max 9",
        "      Current range of 5 \"y\" values: from min -2 to max 7",
        "      Most recent message(s): \" * y<=0 for exp\"",
    };
    EXPECT_EQ(Texts(lines), expected);

    const std::vector<std::pair<std::size_t, Color>> headings = {
        {2, colors::Black},  {5, colors::Yellow}, {9, colors::Green}, {13, colors::Red},
        {19, colors::Purple}, {23, colors::Gray},  {27, colors::Blue}};
    std::size_t next = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i].text);
        if (next < headings.size() && headings[next].first == i) {
            EXPECT_EQ(lines[i].style, Style::Heading);
            EXPECT_EQ(lines[i].color, headings[next++].second);
        } else {
            EXPECT_EQ(lines[i].style, Style::Plain);
            EXPECT_EQ(lines[i].color, colors::Black);
        }
    }
}

TEST(StatusReport, MethodsSwitchedOffKeepTheirHeadingButHideOldCoefficients)
{
    QuilvexState s = ReportedState();  // coefficients of an earlier replot stay in the state
    const std::vector<std::string> texts = Texts(StatusReportLines(s, ""));
    for (std::size_t line : {2u, 5u, 9u, 13u, 19u, 23u, 27u})
        EXPECT_EQ(texts[line][0], ' ') << texts[line];
    EXPECT_EQ(texts[2], "   Black: Cubic Spline");
    for (std::size_t line : {17u, 21u, 25u, 29u})
        EXPECT_EQ(texts[line], "            (not active)");
}

TEST(StatusReport, FileLineAndModifiedMark)
{
    QuilvexState s = ReportedState();
    s.DataModified = true;
    const std::vector<std::string> texts = Texts(StatusReportLines(s, ""));
    ASSERT_EQ(texts.size(), 35u);  // no message line for an empty buffer
    EXPECT_EQ(texts[31], "      Currently using data from file: \"\"");
    EXPECT_EQ(texts[32], "        (**** MODIFIED since loading!!!!)");
}

TEST(StatusReport, ExcludedRowsFollowTheRangesInBothReports)
{
    QuilvexState s = ReportedState();
    s.Excluded = {{2, 3, 30, ""}};
    EXPECT_EQ(Texts(StatusReportLines(s, "")).at(35), "      Excluded from every fit: row 3");
    s.Excluded.push_back({6, 7, 70, ""});
    EXPECT_NE(ResultsText(s, "f.dta").find("\nExcluded from every fit: rows 3, 7"), std::string::npos);
}

TEST(StatusReport, MessageLineIsCutAt255Characters)
{
    // The line is 32 characters plus the buffer: 223 characters keep the quote.
    struct Case {
        std::size_t bufferLength;
        std::size_t lineLength;
        bool closingQuote;
    };
    for (const Case c : {Case{223, 255, true}, Case{224, 255, false}, Case{255, 255, false}}) {
        QuilvexState s = ReportedState();
        s.MessageBuffer.Append(std::string(c.bufferLength, 'm'));
        const std::string last = StatusReportLines(s, "f.dta").back().text;
        EXPECT_EQ(last.size(), c.lineLength) << c.bufferLength;
        EXPECT_EQ(last.back() == '"', c.closingQuote) << c.bufferLength;
        EXPECT_EQ(last.rfind("      Most recent message(s): \"mmm", 0), 0u);
    }
}

TEST(StatusReport, NumbersUseTheSystemDecimalSeparator)
{
    QuilvexState s = ReportedState();
    s.ShowExp = true;
    SetDecimalSeparator(',');
    const std::vector<std::string> texts = Texts(StatusReportLines(s, ""));
    SetDecimalSeparator('.');
    EXPECT_EQ(texts[21], "            a=1, b=0,69314718");
}

// Points on y = x^2; the spline's second derivatives are left at 0, so it
// interpolates linearly between points.
QuilvexState Parabola()
{
    ClearFpu();
    QuilvexState s;
    SetPoints(s, {1, 2, 3, 4, 5}, {1, 4, 9, 16, 25});
    s.LagrOrd = 2;
    s.RegrOrd = 1;
    s.RegrCoef[1] = 1;
    s.RegrCoef[2] = 2;
    s.ExpA = 1;
    s.ExpB = Ln(2);
    s.LogA = 3;
    s.LogB = 2;
    s.PowerA = 5;
    s.PowerB = 2;
    return s;
}

std::vector<std::string> Block(QuilvexState& s, Real X)
{
    std::vector<std::string> lines;
    AppendInterpolationLines(s, X, [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

TEST(InterpolationBlock, EveryEnabledMethodInOrder)
{
    struct Case {
        Real X;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {2.5L,
         {"Input \"x\" value of 2.5 gives a \"y\" value of :", "  Cubic Spline                  : 6.5",
          "  Lagrange order 4 polynomial   : 6.25", "  Lagrange order 2 polynomial   : 6.25",
          "  Regression order 1 polynomial : 6", "  Exponential                   : 5.6568542",
          "  Logarithmic                   : 4.8325815", "  Power                         : 31.25"}},
        {1,  // the first point is inside the data
         {"Input \"x\" value of 1 gives a \"y\" value of :", "  Cubic Spline                  : 1",
          "  Lagrange order 4 polynomial   : 1", "  Lagrange order 2 polynomial   : 1",
          "  Regression order 1 polynomial : 3", "  Exponential                   : 2",
          "  Logarithmic                   : 3", "  Power                         : 5"}},
        {5,  // and so is the last
         {"Input \"x\" value of 5 gives a \"y\" value of :", "  Cubic Spline                  : 25",
          "  Lagrange order 4 polynomial   : 25", "  Lagrange order 2 polynomial   : 25",
          "  Regression order 1 polynomial : 11", "  Exponential                   : 32",
          "  Logarithmic                   : 6.2188758", "  Power                         : 125"}},
        {10,
         {"Input \"x\" value of 10 gives a \"y\" value of :", "  Cubic Spline : \"x\" value out of range!",
          "  Lagrange : \"x\" value out of range!", "  Lagrange : \"x\" value out of range!",
          "  Regression order 1 polynomial : 21", "  Exponential                   : 1024",
          "  Logarithmic                   : 7.6051702", "  Power                         : 500"}},
        {0,
         {"Input \"x\" value of 0 gives a \"y\" value of :", "  Cubic Spline : \"x\" value out of range!",
          "  Lagrange : \"x\" value out of range!", "  Lagrange : \"x\" value out of range!",
          "  Regression order 1 polynomial : 1", "  Exponential                   : 1",
          "  Logarithmic : \"x\" value zero or negative!", "  Power : \"x\" value zero or negative!"}},
        {-0.5L,
         {"Input \"x\" value of -0.5 gives a \"y\" value of :", "  Cubic Spline : \"x\" value out of range!",
          "  Lagrange : \"x\" value out of range!", "  Lagrange : \"x\" value out of range!",
          "  Regression order 1 polynomial : 0", "  Exponential                   : 0.70710678",
          "  Logarithmic : \"x\" value zero or negative!", "  Power : \"x\" value zero or negative!"}},
    };
    for (const Case& c : cases) {
        QuilvexState s = Parabola();
        EnableAll(s);
        EXPECT_EQ(Block(s, c.X), c.lines);
    }
}

TEST(InterpolationBlock, OnlyEnabledMethodsAppear)
{
    QuilvexState s = Parabola();
    s.ShowExp = true;
    EXPECT_EQ(Block(s, 2.5L), (std::vector<std::string>{"Input \"x\" value of 2.5 gives a \"y\" value of :",
                                                        "  Exponential                   : 5.6568542"}));
    s.ShowExp = false;
    EXPECT_EQ(Block(s, 2.5L).size(), 1u);
}

TEST(InterpolationBlock, LagrangeThroughAllPointsNamesOrderNMinusOne)
{
    QuilvexState s = Parabola();
    s.n = 4;
    s.ShowLagr = true;
    EXPECT_EQ(Block(s, 3.5L).back(), "  Lagrange order 3 polynomial   : 12.25");
}

TEST(InterpolationBlock, AnOverflowEndsTheBlockAndKeepsTheLinesBeforeIt)
{
    QuilvexState s = Parabola();
    s.ShowRegr = s.ShowExp = s.ShowLog = true;
    std::vector<std::string> lines;
    try {
        AppendInterpolationLines(s, 1e5L, [&](const std::string& line) { lines.push_back(line); });
        ADD_FAILURE() << "2^100000 did not overflow";
    } catch (const QuilvexError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    ClearFpu();
    EXPECT_EQ(lines, (std::vector<std::string>{"Input \"x\" value of 100000 gives a \"y\" value of :",
                                               "  Regression order 1 polynomial : 200001"}));
}

TEST(InterpolationBlock, EmptyTableFailsTheRangeTestOnlyWhenItReadsTheLastPoint)
{
    QuilvexState s = Parabola();
    s.n = 0;  // the flags of the last replot that had points stay
    s.ShowSpline = true;
    std::vector<std::string> lines;
    try {
        AppendInterpolationLines(s, 1, [&](const std::string& line) { lines.push_back(line); });
        ADD_FAILURE() << "x[0] was read";
    } catch (const QuilvexError& e) {
        EXPECT_STREQ(e.what(), "Range check error");
    }
    EXPECT_EQ(lines, std::vector<std::string>{"Input \"x\" value of 1 gives a \"y\" value of :"});
    // Below x[1] the test stops before x[n].
    EXPECT_EQ(Block(s, 0.5L).back(), "  Cubic Spline : \"x\" value out of range!");
}

}  // namespace
