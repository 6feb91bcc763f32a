#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/solver.h"
#include "fit/spline.h"
#include "fit/transformed.h"

using namespace quilvex;

namespace {

const std::string kSingular = " * Can't solve : matrix singular!";
const std::string kImpossible = " * Cubic spline impossible!";

RealArray ArrayOf(const std::vector<Real>& values)
{
    ClearFpu();
    RealArray a;
    for (std::size_t i = 0; i < values.size(); ++i)
        a[static_cast<int>(i) + 1] = values[i];
    return a;
}

std::string Repeat(const std::string& text, int times)
{
    std::string all;
    for (int k = 0; k < times; ++k)
        all += text;
    return all;
}

void ExpectFault(const std::function<void()>& action, const char* fault)
{
    try {
        action();
        ADD_FAILURE() << "no fault, expected " << fault;
    } catch (const QuilvexError& e) {
        EXPECT_STREQ(e.what(), fault);
    }
    ClearFpu();
}

TEST(SolveLinearSystem, SolvesInPlaceWithoutReorderingRows)
{
    struct Case {
        std::vector<std::vector<Real>> rows;  // coefficients then right-hand side
        std::vector<Real> solution;
        int singular;
    };
    const Case cases[] = {
        {{{2, 1, -1, 8}, {-3, -1, 2, -11}, {-2, 1, 2, -3}}, {2, 3, -1}, 0},
        {{{3, 0, 7}, {0, 0, 0}}, {7.0L / 3, 0}, 1},
        {{{0, 1, 2}, {1, 0, 3}}, {3, -1}, 1},  // zero first pivot taken as 1, rows kept
        {{{1e-20L, 0, 1e-20L}, {0, 1, 5}}, {1, 5}, 0},  // the threshold itself is usable
        {{{9e-21L, 0, 0}, {0, 1, 5}}, {0, 5}, 1},
        {{{0, 0, 4}, {0, 0, 6}}, {4, 6}, 2},
        {{}, {}, 0},
    };
    for (const Case& c : cases) {
        ClearFpu();
        const int N = static_cast<int>(c.rows.size());
        auto A = NewAugmentedMatrix();
        for (int r = 1; r <= N + 1; ++r)
            for (int col = 1; col <= N + 2; ++col)
                (*A)[r][col] = r <= N && col <= N + 1 ? c.rows[r - 1][col - 1] : 99;
        MessageText messages;
        SolveLinearSystem(N, *A, messages);
        EXPECT_EQ(messages.Text(), Repeat(kSingular, c.singular)) << N;
        for (int k = 1; k <= N; ++k)
            EXPECT_NEAR(double((*A)[k][N + 1]), double(c.solution[k - 1]), 1e-15) << k;
        EXPECT_EQ((*A)[1][N + 2], 99);  // beyond the system: untouched
        EXPECT_EQ((*A)[N + 1][1], 99);
    }
}

TEST(SolveLinearSystem, OverflowStoresNothingFurther)
{
    auto A = NewAugmentedMatrix();
    (*A)[1][1] = 1e-10L;
    (*A)[1][2] = 1e4930L;
    MessageText messages;
    ExpectFault([&] { SolveLinearSystem(1, *A, messages); }, kOverflowText);
    EXPECT_EQ((*A)[1][2], 1e4930L);
}

TEST(FitRegression, KnownFits)
{
    struct Case {
        std::vector<Real> x, y;
        int order;
        std::vector<Real> coef;
        int singular;
    };
    const Case cases[] = {
        {{0, 1, 2, 3}, {1, 2, 2, 4}, 1, {0.9L, 0.9L}, 0},  // least-squares line
        {{0, 1, 2}, {1, 3, 7}, 2, {1, 1, 1}, 0},
        {{0, 0, 0}, {1, 2, 6}, 1, {3, 0}, 1},  // all x equal: the mean, flat
    };
    for (const Case& c : cases) {
        const RealArray x = ArrayOf(c.x), y = ArrayOf(c.y);
        RealArray coef;
        coef[c.order + 2] = 42;
        MessageText messages;
        FitRegression(static_cast<int>(c.x.size()), c.order, x, y, coef, messages);
        EXPECT_EQ(messages.Text(), Repeat(kSingular, c.singular));
        for (int k = 1; k <= c.order + 1; ++k)
            EXPECT_NEAR(double(coef[k]), double(c.coef[k - 1]), 1e-15) << k;
        EXPECT_EQ(coef[c.order + 2], 42);
        EXPECT_EQ(EvalRegression(c.order, coef, 0), coef[1]);
    }
}

TEST(FitRegression, FullOrderIsTheLagrangePolynomial)
{
    const RealArray x = ArrayOf({-1, 0, 0.5L, 2, 3, 4.5L}), y = ArrayOf({2, -1, 0.25L, 3, -2, 1});
    RealArray coef;
    MessageText messages;
    FitRegression(6, 5, x, y, coef, messages);
    EXPECT_TRUE(messages.Empty());
    for (Real t : {-1.0L, -0.5L, 0.5L, 1.0L, 3.0L, 4.5L})
        EXPECT_NEAR(double(EvalRegression(5, coef, t)), double(EvalLagrange(6, x, y, t)), 1e-9) << double(t);
}

TEST(EvalRegression, AddsTermByTermAndReportsOverflow)
{
    const RealArray coef = ArrayOf({7, -2, 0.5L, 3});
    EXPECT_EQ(EvalRegression(3, coef, 2), 29);
    EXPECT_EQ(EvalRegression(-1, coef, 2), 7);
    // Each tiny term alone is lost against 1; Horner's rule would add them first.
    EXPECT_EQ(EvalRegression(2, ArrayOf({1, 4e-20L, 4e-20L}), 1), 1);
    ExpectFault([&] { EvalRegression(2, coef, 1e3000L); }, kOverflowText);

    const RealArray x = ArrayOf({1e2000L, 2e2000L, 3e2000L});
    RealArray fitted = ArrayOf({5, 6, 7});
    MessageText messages;
    ExpectFault([&] { FitRegression(3, 2, x, x, fitted, messages); }, kOverflowText);
    EXPECT_EQ(fitted[1], 5);
}

TEST(CubicSpline, ArchAndPassingThroughThePoints)
{
    RealArray x = ArrayOf({0, 1, 2}), y = ArrayOf({0, 1, 0}), d2;
    MessageText messages;
    SetUpSpline(3, x, y, d2, messages);
    EXPECT_EQ(d2[2], -3);
    EXPECT_EQ(EvalSpline(3, x, y, d2, 0.5L, messages), 0.6875L);

    const int n = 8;
    x = ArrayOf({0, 0.5L, 1.75L, 2, 3.5L, 5, 6.25L, 8});
    y = ArrayOf({1, -2, 0.5L, 4, 3, -1, 2, 2});
    SetUpSpline(n, x, y, d2, messages);
    EXPECT_EQ(d2[1], 0);
    EXPECT_EQ(d2[n], 0);
    auto S = [&](Real t) { return EvalSpline(n, x, y, d2, t, messages); };
    const Real e = 1e-6L;
    for (int k = 1; k <= n; ++k) {
        EXPECT_NEAR(double(S(x[k])), double(y[k]), 1e-15) << k;
        if (k == 1 || k == n)
            continue;
        EXPECT_NEAR(double((S(x[k]) - S(x[k] - e)) / e), double((S(x[k] + e) - S(x[k])) / e), 1e-4) << k;
        EXPECT_NEAR(double((S(x[k] - e) - 2 * S(x[k]) + S(x[k] + e)) / (e * e)), double(d2[k]), 1e-3) << k;
    }
    EXPECT_TRUE(messages.Empty());

    EXPECT_EQ(S(-1), S(0));
    EXPECT_EQ(S(9), S(8));
    EXPECT_EQ(messages.Text(), " * Can't calculate spline before first point! * Can't calculate spline after last point!");
}

TEST(CubicSpline, ZeroWidthIntervalsReportedPerTest)
{
    struct Case {
        std::vector<Real> x;
        int messages;  // the first and last interval are tested once, inner ones twice
    };
    const Case cases[] = {{{0, 0, 1}, 1}, {{0, 1, 1, 2}, 2}, {{0, 1, 2, 2}, 1}};
    for (const Case& c : cases) {
        const int n = static_cast<int>(c.x.size());
        RealArray x = ArrayOf(c.x), y = ArrayOf({5, 0, 2, 3}), d2;
        MessageText messages;
        SetUpSpline(n, x, y, d2, messages);
        EXPECT_EQ(messages.Text(), Repeat(kImpossible, c.messages));
    }
    RealArray x = ArrayOf({0, 0, 1}), y = ArrayOf({5, 0, 2}), d2;
    MessageText messages;
    EXPECT_EQ(EvalSpline(3, x, y, d2, 0, messages), 0);
    EXPECT_EQ(messages.Text(), kImpossible);
    EvalSpline(3, x, y, d2, 0.5L, messages);
    EXPECT_EQ(messages.Text(), kImpossible);
}

TEST(LagrangeOrd, TakesTheWindowAroundTheArgument)
{
    const RealArray x = ArrayOf({0, 1, 2, 3, 4}), y = ArrayOf({0, 1, 8, 27, 64});
    auto window = [&](int lo, int hi, Real t) {
        RealArray wx, wy;
        for (int i = lo; i <= hi; ++i) {
            wx[i - lo + 1] = x[i];
            wy[i - lo + 1] = y[i];
        }
        return EvalLagrange(hi - lo + 1, wx, wy, t);
    };
    struct Case {
        int order;
        Real t;
        int lo, hi;
        const char* message;
    };
    const Case cases[] = {
        {2, 1.5L, 2, 4, ""},  {2, 2, 2, 4, ""},      {2, 3.5L, 3, 5, ""}, {2, 0, 1, 3, ""},
        {3, 1.5L, 1, 4, ""},  {3, 3.5L, 2, 5, ""},   {9, 1.5L, 1, 5, ""}, {1, 1.5L, 2, 4, ""},
        {0, 3.5L, 3, 5, ""},
        {2, -1, 1, 3, " * Can't calculate lagrange_ord before first point!"},
        {3, 5, 2, 5, " * Can't calculate lagrange_ord after last point!"},
    };
    for (const Case& c : cases) {
        MessageText messages;
        EXPECT_EQ(lagrange_ord(c.order, 5, x, y, c.t, messages), window(c.lo, c.hi, c.t))
            << c.order << " at " << double(c.t);
        EXPECT_EQ(messages.Text(), c.message);
    }
    MessageText messages;
    EXPECT_EQ(lagrange_ord(2, 5, x, y, 1.5L, messages), 3);
    EXPECT_EQ(EvalLagrange(3, ArrayOf({0, 1, 2}), ArrayOf({1, 3, 7}), 3), 13);
}

TEST(Lagrange, BothPassThroughEveryPointExactly)
{
    const int n = 8;
    const RealArray x = ArrayOf({-3, -1.25L, 0, 0.7L, 2, 2.5L, 4, 7}), y = ArrayOf({2, -5, 0.3L, 1, 1e5L, -2, 3.25L, 0});
    MessageText messages;
    for (int k = 1; k <= n; ++k) {
        EXPECT_EQ(EvalLagrange(n, x, y, x[k]), y[k]) << k;
        for (int order = 2; order < n; ++order)
            EXPECT_EQ(lagrange_ord(order, n, x, y, x[k], messages), y[k]) << k << " order " << order;
    }
    EXPECT_TRUE(messages.Empty());
}

TEST(Lagrange, EqualXInTheWindowIsAFault)
{
    const RealArray x = ArrayOf({0, 0, 1, 2, 3}), y = ArrayOf({0, 1, 2, 3, 4});
    MessageText messages;
    ExpectFault([&] { EvalLagrange(5, x, y, 0.5L); }, kDivByZeroText);
    ExpectFault([&] { EvalLagrange(5, x, y, 0); }, kInvalidText);  // 0 / 0
    ExpectFault([&] { lagrange_ord(2, 5, x, y, 0, messages); }, kInvalidText);
    EXPECT_TRUE(std::isfinite(lagrange_ord(2, 5, x, y, 0.5L, messages)));  // window 2..4 holds one of the pair
}

QuilvexState FitState(const std::vector<Real>& x, const std::vector<Real>& y, bool exp, bool log, bool power)
{
    QuilvexState s;
    s.n = static_cast<int>(x.size());
    s.x = ArrayOf(x);
    s.y = ArrayOf(y);
    s.ShowExp = exp;
    s.ShowLog = log;
    s.ShowPower = power;
    return s;
}

TEST(TransformedFits, RecoverTheirCoefficients)
{
    struct Case {
        std::vector<Real> y;
        void (*solve)(QuilvexState&);
        Real QuilvexState::*a;
        Real QuilvexState::*b;
        Real wantA, wantB;
    };
    const Case cases[] = {
        {{2, 4, 8}, SolveExpFit, &QuilvexState::ExpA, &QuilvexState::ExpB, 1, Ln(2)},
        {{3, 3 + 2 * Ln(2), 3 + 2 * Ln(3)}, SolveLogFit, &QuilvexState::LogA, &QuilvexState::LogB, 3, 2},
        {{5, 20, 45}, SolvePowerFit, &QuilvexState::PowerA, &QuilvexState::PowerB, 5, 2},
    };
    for (const Case& c : cases) {
        QuilvexState s = FitState({1, 2, 3}, c.y, true, true, true);
        ComputeFitSums(s);
        c.solve(s);
        EXPECT_NEAR(double(s.*c.a), double(c.wantA), 1e-16);
        EXPECT_NEAR(double(s.*c.b), double(c.wantB), 1e-16);
        EXPECT_TRUE(s.MessageBuffer.Empty());
    }
}

TEST(FitSums, SkipMissingLogarithmsAndReportPointByPoint)
{
    QuilvexState s = FitState({1, 2, 3}, {-1, 4, 8}, true, false, false);
    s.Sums.SumLnY = 99;
    ComputeFitSums(s);
    EXPECT_EQ(s.MessageBuffer.Text(), " * y<=0 for exp");
    EXPECT_EQ(s.Sums.SumX, 6);
    EXPECT_EQ(s.Sums.SumXX, 14);
    EXPECT_EQ(s.Sums.SumLnY, Ln(4) + Ln(8));
    EXPECT_EQ(s.Sums.SumXLnY, 2 * Ln(4) + 3 * Ln(8));
    EXPECT_EQ(s.Sums.SumLnXLnY, Ln(2) * Ln(4) + Ln(3) * Ln(8));

    struct Case {
        std::vector<Real> x, y;
        bool exp, log, power;
        const char* messages;
    };
    const Case cases[] = {
        {{-1, 1, 2}, {-1, 1, 2}, false, false, true, " * x<=0 or y<=0 for power"},
        {{1, 0, -2}, {1, -1, 3}, true, true, false, " * y<=0 for exp * x<=0 for log * x<=0 for log"},
        {{-1, 1, 2}, {0, 1, 0}, true, true, true,
         " * y<=0 for exp * x<=0 for log * x<=0 or y<=0 for power * y<=0 for exp * x<=0 or y<=0 for power"},
        {{-1, 1, 2}, {0, 1, 0}, false, false, false, ""},
    };
    for (const Case& c : cases) {
        QuilvexState t = FitState(c.x, c.y, c.exp, c.log, c.power);
        ComputeFitSums(t);
        EXPECT_EQ(t.MessageBuffer.Text(), c.messages);
    }
}

TEST(TransformedFits, DeterminantAtOrBelowTheThresholdGivesOneOne)
{
    QuilvexState s = FitState({-2, -1, 0}, {1, 2, 3}, false, true, false);
    ComputeFitSums(s);
    SolveLogFit(s);
    EXPECT_EQ(s.MessageBuffer.Text(), " * x<=0 for log * x<=0 for log * x<=0 for log * Det zero for log!");
    EXPECT_EQ(s.LogA, 1);
    EXPECT_EQ(s.LogB, 1);

    // With n = 1 and SumX = 0 the exponential determinant is SumXX itself.
    for (Real det : {1e-20L, -1e-20L, std::nextafter(1e-20L, 1.0L)}) {
        QuilvexState t = FitState({1}, {1}, true, false, false);
        t.Sums.SumXX = det;
        t.ExpB = 7;
        SolveExpFit(t);
        const bool zero = std::fabs(det) <= 1e-20L;
        EXPECT_EQ(t.FitDet, det);
        EXPECT_EQ(t.MessageBuffer.Text(), zero ? " * Det zero for exp!" : "");
        EXPECT_EQ(t.ExpB, zero ? 1 : 0);
    }
}

TEST(TransformedFits, FaultsKeepWhatWasStoredBefore)
{
    QuilvexState s = FitState({1}, {1}, true, false, false);
    s.Sums.SumXX = 1;
    s.Sums.SumLnY = 1e5L;  // a = e^100000
    s.ExpA = 3;
    ExpectFault([&] { SolveExpFit(s); }, kOverflowText);
    EXPECT_EQ(s.FitDet, 1);
    EXPECT_EQ(s.ExpA, 3);

    s.LogA = s.PowerA = s.PowerB = s.ExpA = 1;
    s.ExpB = 1e5L;
    ExpectFault([&] { LogFitValue(s, 0); }, kInvalidText);
    ExpectFault([&] { PowerFitValue(s, -1); }, kInvalidText);
    ExpectFault([&] { ExpFitValue(s, 1); }, kOverflowText);
    EXPECT_NEAR(double(RaiseToPower(2, 10)), 1024, 1e-15);
}

}  // namespace
