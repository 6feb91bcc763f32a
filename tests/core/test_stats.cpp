// The fit statistics against references computed elsewhere (the NIST StRD
// certified values), hand-checked true least-squares fits, the stability
// warnings, and the designed figures taken over bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/point_table.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"
#include "report/core/fitquality.h"
#include "stats/statistics.h"
#include "stats/table.h"

using namespace quilvex;

namespace {

MethodFigures Only(QuilvexState& s, StatsMethod method, int order = 3)
{
    StatsRequest request;
    request.methods = {method};
    request.regressionOrder = order;
    return ComputeStatistics(s, request, {}).front();
}

bool Warns(const MethodFigures& f, const std::string& text)
{
    for (const std::string& w : f.warnings)
        if (w.find(text) != std::string::npos)
            return true;
    return false;
}

// A NIST StRD file: "#   B<k> = <value>   sd = <sd>" and the certified
// residual standard deviation and R-squared in the header, then x y lines.
struct Certified {
    std::vector<Real> x, y, b, sd;
    Real residualSd = 0, r2 = 0;
};

Certified ReadNist(const std::string& name)
{
    std::ifstream in(std::string(QUILVEX_NIST_DIR) + "/" + name);
    Certified c;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string word;
        if (line.rfind("#   B", 0) == 0) {
            std::string eq, sdWord, eq2;
            Real b = 0, sd = 0;
            words >> word >> word >> eq >> b >> sdWord >> eq2 >> sd;
            c.b.push_back(b);
            c.sd.push_back(sd);
        } else if (line.rfind("# Certified residual standard deviation:", 0) == 0) {
            std::sscanf(line.c_str(), "# Certified residual standard deviation: %Lf R-squared: %Lf", &c.residualSd, &c.r2);
        } else if (!line.empty() && line[0] != '#') {
            Real x = 0, y = 0;
            words >> x >> y;
            c.x.push_back(x);
            c.y.push_back(y);
        }
    }
    return c;
}

void ExpectSignificant(Real got, Real want, Real digits, const std::string& what)
{
    EXPECT_LE(std::fabs(got - want), std::fabs(want) * 0.5L * std::pow(10.0L, 1 - digits)) << what << ": " << static_cast<double>(got);
}

TEST(Statistics, RegressionMatchesTheNistCertifiedValues)
{
    for (const char* name : {"Norris.txt", "Pontius.txt"}) {
        const Certified c = ReadNist(name);
        ASSERT_TRUE(!c.x.empty() && c.b.size() >= 2) << name;
        const int order = static_cast<int>(c.b.size()) - 1;
        QuilvexState s = Points(c.x, c.y);
        const MethodFigures f = Only(s, StatsMethod::Regression, order);
        ASSERT_EQ(f.coefficients.size(), c.b.size()) << name;
        for (std::size_t k = 0; k < c.b.size(); ++k) {
            ExpectSignificant(f.coefficients[k].value, c.b[k], 9, std::string(name) + " B" + std::to_string(k));
            ASSERT_TRUE(f.coefficients[k].se) << name;
            ExpectSignificant(*f.coefficients[k].se, c.sd[k], 9, std::string(name) + " sd" + std::to_string(k));
        }
        ExpectSignificant(*f.residualSe.value, c.residualSd, 9, std::string(name) + " residual sd");
        ExpectSignificant(*f.r2.value, c.r2, 9, std::string(name) + " R^2");
        EXPECT_TRUE(f.warnings.empty()) << name << ": " << f.warnings.front();
    }
}

// 300 points of y = 1 + 2x - 0.5x^2 with a fixed pseudo-random noise.
QuilvexState NoisyParabola()
{
    std::vector<Real> xs, ys;
    unsigned state = 12345;
    for (int i = 0; i < 300; ++i) {
        state = state * 1103515245u + 12345u;
        const Real noise = static_cast<Real>((state >> 8) % 2001) / 1000 - 1;
        const Real x = i / 30.0L;
        xs.push_back(x);
        ys.push_back(1 + 2 * x - 0.5L * x * x + noise);
    }
    return Points(xs, ys);
}

TEST(Statistics, StabilityWarningsFireOnlyWhereTheRegressionIsUnreliable)
{
    QuilvexState parabola = NoisyParabola();
    const MethodFigures wellPosed = Only(parabola, StatsMethod::Regression, 2);
    EXPECT_TRUE(wellPosed.warnings.empty());
    EXPECT_LT(*wellPosed.condition.value, 100);

    const MethodFigures broken = Only(parabola, StatsMethod::Regression, 250);
    EXPECT_TRUE(Warns(broken, "numerically unreliable at this order: SSR ")) << broken.warnings.size();
    EXPECT_TRUE(Warns(broken, "ill-conditioned at this order"));
    EXPECT_LE(*broken.stableSsr.value, *wellPosed.ssr.value);  // order 250 can do no worse than order 2

    std::vector<Real> xs, ys;
    for (int i = 1; i <= 20; ++i) {
        xs.push_back(i);
        ys.push_back(i % 3);
    }
    QuilvexState few = Points(xs, ys);
    const MethodFigures tooHigh = Only(few, StatsMethod::Regression, 30);
    EXPECT_TRUE(Warns(tooHigh, "order not below the number of points: not a least-squares fit"));
    EXPECT_FALSE(tooHigh.residualSe.value);
    EXPECT_FALSE(tooHigh.coefficients.front().se);
}

// At the least-squares solution of y ~ a g(x; b) the gradient of SSR vanishes:
// sum r g = 0 and sum r a dg/db = 0.
void ExpectStationary(const MethodFigures& f, const std::vector<Real>& xs, const std::vector<Real>& ys, bool power)
{
    ASSERT_TRUE(f.failure.empty()) << f.failure;
    const Real a = f.coefficients[0].value, b = f.coefficients[1].value;
    Real da = 0, db = 0, scale = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const Real u = power ? std::log(xs[i]) : xs[i];
        const Real g = std::exp(b * u), r = ys[i] - a * g;
        da += r * g;
        db += r * a * u * g;
        scale += std::fabs(ys[i] * g) + std::fabs(ys[i] * a * u * g);
    }
    EXPECT_LT(std::fabs(da) + std::fabs(db), 1e-9L * scale);
}

TEST(Statistics, TrueLeastSquaresFitsReachTheMinimumOfSsrInY)
{
    const std::vector<Real> xs{1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<Real> noise{0.3L, -0.2L, 0.1L, -0.4L, 0.2L, 0.3L, -0.1L, -0.2L};
    std::vector<Real> growth, law, falling;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        growth.push_back(5 * std::exp(0.4L * xs[i]) + noise[i]);
        law.push_back(2 * std::pow(xs[i], 1.5L) + noise[i]);
        falling.push_back(-3 * std::exp(-0.25L * xs[i]) + noise[i] / 10);
    }
    const struct {
        const std::vector<Real>& ys;
        StatsMethod nls;
        StatsMethod designed;
    } cases[] = {{growth, StatsMethod::ExponentialNls, StatsMethod::Exponential},
                 {law, StatsMethod::PowerNls, StatsMethod::Power},
                 {falling, StatsMethod::ExponentialNls, StatsMethod::Exponential}};
    for (const auto& c : cases) {
        QuilvexState s = Points(xs, c.ys);
        const MethodFigures nls = Only(s, c.nls), designed = Only(s, c.designed);
        ExpectStationary(nls, xs, c.ys, c.nls == StatsMethod::PowerNls);
        ASSERT_TRUE(nls.coefficients[1].ci95);
        EXPECT_LT((*nls.coefficients[1].ci95)[0], nls.coefficients[1].value);
        if (designed.ssr.value) {  // all y <= 0 leave the designed fit unevaluable
            EXPECT_LE(*nls.ssr.value, *designed.ssr.value);
        }
    }
    QuilvexState negative = Points(xs, falling);
    EXPECT_NEAR(static_cast<double>(Only(negative, StatsMethod::ExponentialNls).coefficients[0].value), -3, 0.1);
    EXPECT_NE(Only(negative, StatsMethod::ExponentialNls).notes.back().find("started from a = mean y"), std::string::npos);

    QuilvexState throughZero = Points({0, 1, 2}, {1, 2, 3});
    EXPECT_EQ(Only(throughZero, StatsMethod::PowerNls).failure, "the power model needs x > 0 at every point");
}

TEST(Statistics, DerivedFiguresAreDefinedOnlyWhereTheyMeanSomething)
{
    EXPECT_NEAR(static_cast<double>(*Aicc(10, 2, 10).value), 4 + 12.0 / 7, 1e-15);
    EXPECT_NEAR(static_cast<double>(StudentT975(10)), 2.228138851986273, 1e-13);
    EXPECT_NEAR(static_cast<double>(*AdjustedR2(11, 3, Figure::Of(0.9L)).value), 1 - 0.1 * 10 / 8, 1e-15);
    EXPECT_FALSE(ResidualStandardError(3, 3, 1).value);
    EXPECT_FALSE(Aicc(4, 3, 1).value);
    EXPECT_FALSE(Aicc(10, 2, 0).value);
    EXPECT_FALSE(AdjustedR2(10, 2, Figure::Undefined("all y equal")).value);
}

// The designed figures are those of "Fit quality" after a replot, bit for bit.
TEST(Statistics, DesignedFiguresAreTheFitQualityFigures)
{
    QuilvexState drawn = Points({0.5L, 1, 2, 3, 4.5L, 6}, {1.2L, 1.9L, 3.1L, 4.2L, 6.8L, 9.9L});
    QuilvexState measured = drawn;
    drawn.ShowSpline = drawn.ShowLagr = drawn.ShowLagrO = drawn.ShowRegr = true;
    drawn.ShowExp = drawn.ShowLog = drawn.ShowPower = true;
    MessageText ignored;
    SetUpSpline(drawn.n, drawn.x, drawn.y, drawn.SplineD2, ignored);
    FitRegression(drawn.n, drawn.RegrOrd, drawn.x, drawn.y, drawn.RegrCoef, ignored);
    ComputeFitSums(drawn);
    SolveExpFit(drawn);
    SolveLogFit(drawn);
    SolvePowerFit(drawn);
    const std::vector<FitQuality> quality = MeasureFitQuality(drawn);
    StatsRequest request;
    request.methods = {StatsMethod::Spline,     StatsMethod::Lagrange,    StatsMethod::LagrangeOrder,
                       StatsMethod::Regression, StatsMethod::Exponential, StatsMethod::Logarithmic,
                       StatsMethod::Power};
    const std::vector<MethodFigures> figures = ComputeStatistics(measured, request, {});
    ASSERT_EQ(quality.size(), figures.size());
    for (std::size_t k = 0; k < figures.size(); ++k) {
        EXPECT_EQ(std::memcmp(&quality[k].ssr, &*figures[k].ssr.value, 10), 0) << k;
        EXPECT_EQ(std::memcmp(&quality[k].r2, &*figures[k].r2.value, 10), 0) << k;
        EXPECT_EQ(std::memcmp(&quality[k].maxResidual, &*figures[k].maxAbsResidual.value, 10), 0) << k;
    }
    EXPECT_EQ(std::memcmp(&drawn.ExpA, &measured.ExpA, 10), 0);
    EXPECT_EQ(std::memcmp(&drawn.RegrCoef[4], &figures[3].coefficients[3].value, 10), 0);
}

TEST(Statistics, TheTableIsTheOneAReplotFits)
{
    const struct {
        const char* bytes;
        const char* error;
        std::size_t adjusted;
    } cases[] = {
        {"1 1\r\n2 4\r\n3 9\r\n", "", 0},
        {"; comment\n1 1\n3 4\n2 9\n", "", 1},
        {"1 1\n2 4\nx 9\n", "Invalid data in file f.dta, line 3", 0},
        {"1 1\n2 4\n", "Too few X,Y values, must be at least 3!", 0},
        // The adjustment numbers points as the table's rows, an excluded row among them.
        {"; excluded: 2\n1 1\n2 2\n2 3\n4 4\n5 5\n", "", 1},
        {"; excluded: 1 2 3\n1 1\n2 2\n3 3\n4 4\n5 5\n", "excluding rows 1, 2, 3 leaves 2 points", 0},
    };
    for (const auto& c : cases) {
        QuilvexState s;
        const TableLoad load = LoadPointTable(c.bytes, "f.dta", s);
        EXPECT_EQ(load.error.substr(0, std::strlen(c.error)), c.error) << c.bytes;
        EXPECT_EQ(load.error.empty(), *c.error == 0) << c.bytes;
        EXPECT_EQ(load.warnings.size(), c.adjusted) << c.bytes;
        if (c.adjusted) {
            EXPECT_EQ(AdjustmentWarnings(s), load.warnings) << "after the excluded points are set aside";
        }
    }
    std::string many;
    for (int i = 1; i <= 301; ++i)
        many += std::to_string(i) + " 1\n";
    QuilvexState s;
    EXPECT_EQ(LoadPointTable(many, "f.dta", s).error, "Too many X,Y values! (max 300)");
}

// A designed message repeated past the 255 characters of the message line is
// listed once and whole, and a message after the full buffer is not lost.
TEST(Statistics, DesignedMessagesAreListedOnceAndWhole)
{
    std::vector<Real> tiny, negative, ones;
    for (int i = 1; i <= 12; ++i) {
        tiny.push_back(1e-6L * i);  // the regression's powers of x fall below its pivot bound
        negative.push_back(i - 13);
        ones.push_back(1);
    }
    const struct {
        std::vector<Real> x;
        StatsMethod method;
        std::vector<std::string> messages;
    } cases[] = {
        {tiny, StatsMethod::Regression, {"Can't solve : matrix singular!"}},
        {negative, StatsMethod::Power, {"x<=0 or y<=0 for power", "Det zero for power!"}},
    };
    for (const auto& c : cases) {
        QuilvexState s = Points(c.x, ones);
        const MethodFigures f = Only(s, c.method, 10);
        for (const std::string& message : c.messages)
            EXPECT_EQ(std::count(f.warnings.begin(), f.warnings.end(), message), 1) << message;
        for (const std::string& w : f.warnings)
            for (const std::string& message : c.messages)
                EXPECT_TRUE(w == message || message.rfind(w, 0) != 0) << "cut short: " << w;
    }
}

// The lowest AICc of the fits that are least squares in y is marked only where
// each of them that fitted the table has an AICc.
TEST(Statistics, LowestAiccOnlyWhereEveryLeastSquaresFitHasOne)
{
    std::vector<Real> xs, line, sine, parabola, fromZero;
    for (int i = 1; i <= 8; ++i) {
        xs.push_back(i);
        fromZero.push_back(i - 1);
        line.push_back(2 * i + 1);
        sine.push_back(2 + std::sin(static_cast<Real>(i)));
        parabola.push_back(i * i - 5 * i + 7 + (i % 2 ? 0.1L : -0.1L));
    }
    const std::vector<StatsMethod> compared = {StatsMethod::Spline, StatsMethod::Regression,
                                               StatsMethod::Logarithmic, StatsMethod::ExponentialNls};
    const std::optional<std::size_t> none;
    const struct {
        const char* what;
        std::vector<Real> x, y;
        int order;
        std::vector<StatsMethod> methods;
        std::optional<std::size_t> best, withoutAicc;
    } cases[] = {
        {"exact regression: SSR 0", xs, line, 1, compared, none, 1},
        {"exponential to a sine beside a regression through every point", xs, sine, 7, compared, none, 1},
        {"all defined, the parabola best", xs, parabola, 2, compared, 1, none},
        {"a failed fit does not count", fromZero, parabola, 2, {StatsMethod::PowerNls, StatsMethod::Regression}, 1, none},
    };
    for (const auto& c : cases) {
        QuilvexState s = Points(c.x, c.y);
        StatsRequest request;
        request.methods = c.methods;
        request.regressionOrder = c.order;
        const AiccMark mark = LowestAicc(ComputeStatistics(s, request, {}));
        EXPECT_EQ(mark.best, c.best) << c.what;
        EXPECT_EQ(mark.withoutAicc, c.withoutAicc) << c.what;
    }
}

}  // namespace
