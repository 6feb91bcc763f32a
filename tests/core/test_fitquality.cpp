// The fit quality figures against values worked out by hand, and the text of
// "Copy results" at full precision.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/point_table.h"
#include "data/numtext.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "report/core/fitquality.h"
#include "report/core/resultstext.h"

using namespace quilvex;

namespace {

void FitAsTheReplotDoes(QuilvexState& s)
{
    MessageText messages;
    if (s.ShowSpline)
        SetUpSpline(s.n, s.x, s.y, s.SplineD2, messages);
    if (s.ShowRegr)
        FitRegression(s.n, s.RegrOrd, s.x, s.y, s.RegrCoef, messages);
}

std::vector<std::string> Block(const QuilvexState& s)
{
    std::vector<std::string> lines;
    AppendFitQualityLines(s, [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

TEST(FitQuality, ExactFitsThroughALineHaveNoResidual)
{
    QuilvexState s = Points({1, 2, 3, 4}, {3, 5, 7, 9});
    s.ShowSpline = s.ShowLagr = s.ShowLagrO = s.ShowRegr = true;
    s.LagrOrd = 2;
    s.RegrOrd = 1;
    FitAsTheReplotDoes(s);
    const std::vector<FitQuality> q = MeasureFitQuality(s);
    ASSERT_EQ(q.size(), 4u);
    for (const FitQuality& f : q)
        EXPECT_TRUE(f.evaluated && f.ssr < 1e-30L && std::fabs(f.r2 - 1) < 1e-18L);
    EXPECT_EQ(q[3].method, Method::Regression);
    EXPECT_EQ(q[3].ssr, 0);  // the straight line's coefficients come out exact
    EXPECT_EQ(q[3].r2, 1);
}

TEST(FitQuality, HandWorkedRegressionAndResidualsInTheOriginalY)
{
    // Least squares line through (1, 1), (2, 3), (3, 2): y = 1 + x/2, residuals
    // -1/2, 1, -1/2; the spread of y about its mean 2 is 2.
    QuilvexState line = Points({1, 2, 3}, {1, 3, 2});
    line.ShowRegr = true;
    line.RegrOrd = 1;
    FitAsTheReplotDoes(line);
    const FitQuality regression = MeasureFitQuality(line).at(0);
    EXPECT_NEAR(static_cast<double>(regression.ssr), 1.5, 1e-17);
    EXPECT_NEAR(static_cast<double>(regression.rms), std::sqrt(0.5), 1e-17);
    EXPECT_NEAR(static_cast<double>(regression.maxResidual), 1, 1e-17);
    EXPECT_NEAR(static_cast<double>(regression.r2), 0.25, 1e-17);

    // y = 2^x and y = x^2 each miss the last point by 1 in y itself (in ln y
    // the miss would be ln(9/8) and ln(10/9)).
    QuilvexState exp = Points({1, 2, 3}, {2, 4, 9});
    exp.ShowExp = true;
    exp.ExpA = 1;
    exp.ExpB = std::log(2.0L);
    const FitQuality e = MeasureFitQuality(exp).at(0);
    EXPECT_NEAR(static_cast<double>(e.ssr), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(e.maxResidual), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(e.r2), 1 - 1.0 / 26, 1e-15);  // mean 5: 9 + 1 + 16

    QuilvexState power = Points({1, 2, 3}, {1, 4, 10});
    power.ShowPower = true;
    power.PowerA = 1;
    power.PowerB = 2;
    const FitQuality p = MeasureFitQuality(power).at(0);
    EXPECT_NEAR(static_cast<double>(p.ssr), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(p.rms), std::sqrt(1.0 / 3), 1e-15);
    EXPECT_NEAR(static_cast<double>(p.r2), 1 - 1.0 / 42, 1e-15);  // mean 5: 16 + 1 + 25
}

TEST(FitQuality, AFailingMethodSaysWhereOnItsLineAndTheOthersFollow)
{
    QuilvexState s = Points({1, 2, 3}, {1, 2, 3});
    s.ShowExp = s.ShowLog = s.ShowPower = true;
    s.ExpA = 1;
    s.ExpB = 20000;  // e^20000 is beyond the extended range
    s.LogA = 1;
    s.LogB = 0;
    s.PowerA = 1;
    s.PowerB = 0;
    const std::vector<std::string> lines = Block(s);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Fit quality at the 3 data points, residual = y - f(x):");
    EXPECT_EQ(lines[1], "  Method                          SSR             RMS             max |residual|  R^2");
    EXPECT_EQ(lines[2], "  Exponential                   : not evaluated at x = 1: Floating point overflow");
    EXPECT_EQ(lines[3], "  Logarithmic                   : 5               1.2909944       2               -1.5");
    EXPECT_EQ(lines[4], "  Power                         : 5               1.2909944       2               -1.5");

    s.ShowExp = s.ShowPower = false;
    s.x[1] = -1;
    EXPECT_EQ(Block(s).back(), "  Logarithmic                   : not evaluated at x = -1: Invalid floating point operation");
    s.y[1] = s.y[2] = s.y[3] = 4;
    s.x[1] = 1;
    EXPECT_EQ(Block(s).back(), "  Logarithmic                   : 27              3               3               undefined (all y equal)");
    EXPECT_EQ(Block(Points({}, {})), (std::vector<std::string>{"Fit quality:", "**** No data yet loaded"}));
}

TEST(ResultsText, EveryCoefficientAtEighteenDigitsWithAPoint)
{
    QuilvexState s = Points({1, 2, 4}, {1, 3, 2});
    s.ShowSpline = s.ShowLagr = s.ShowLagrO = s.ShowRegr = s.ShowExp = true;
    s.LagrOrd = 2;
    s.RegrOrd = 2;
    FitAsTheReplotDoes(s);
    s.ExpA = 1.0L / 3;
    s.ExpB = -2.5L;
    s.DataModified = true;
    SetDecimalSeparator(',');
    const std::string text = ResultsText(s, "/data/run 7.dta");
    SetDecimalSeparator('.');

    const auto has = [&text](const std::string& line) { return text.find(line + "\n") != std::string::npos; };
    EXPECT_EQ(text.substr(0, text.find("\n\n")),
              "Quilvex results\nData file: \"/data/run 7.dta\" (modified since loading)\nPoints: 3");
    EXPECT_TRUE(has("  d2[2] = " + FormatGeneral(s.SplineD2[2], 18, '.')));
    EXPECT_TRUE(has("Regression polynomial of order 2: y = c0 + c1 x + c2 x^2"));
    EXPECT_TRUE(has("  c2 = " + FormatGeneral(s.RegrCoef[3], 18, '.')));
    EXPECT_TRUE(has("  a = 0.333333333333333333")) << text;
    // The fit quality figures follow at full length: the exponential misses
    // 1, 3, 2 by 1 - e^-2.5 / 3, 3 - e^-5 / 3 and 2 - e^-10 / 3.
    const Real miss = 3 - std::exp(-5.0L) / 3;
    EXPECT_NE(text.find("  " + FormatGeneral(miss, 18, '.') + " "), std::string::npos) << text;

    s.n = 0;
    EXPECT_EQ(ResultsText(s, ""), "Quilvex results\nData file: \"\" (modified since loading)\nNo data yet loaded\n");
}

}  // namespace
