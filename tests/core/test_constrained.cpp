// The constrained fits against answers computed elsewhere at 50 digits
// (tests/reference/constrained/, written by make_constrained_reference.py) and
// against the closed forms of a line through the origin and through a point;
// weighted, against the weighted rows; the constraints that cannot be set, and
// the rows that follow the free ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/point_table.h"
#include "stats/constrained.h"
#include "stats/statistics.h"

using namespace quilvex;

namespace {

struct ReferenceSet {
    std::string name, model;
    int order = 0;
    Constraints constraints;
    std::vector<Real> x, y;
    std::map<std::string, Real> coef, se, seAbsolute;
    Real ssr = 0, r2 = 0;
    Weighting weighting = Weighting::None;
    std::vector<std::string> sigma;
    std::optional<Real> chi2;
};

std::vector<ReferenceSet> ReadReference()
{
    std::ifstream in(std::string(QUILVEX_NIST_DIR) + "/../constrained/constrained_reference.txt");
    std::vector<ReferenceSet> sets;
    const auto number = [](const std::string& t) { return std::strtold(t.c_str(), nullptr); };
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string key, a, b, c;
        words >> key >> a >> b >> c;
        if (key == "set") {
            sets.push_back({a, b, b == "regression" ? std::stoi(c) : 0, {}, {}, {}, {}, {}, {}, 0, 0, {}, {}, {}});
        } else if (key == "constraint" && a == "through") {
            sets.back().constraints.through = std::pair<Real, Real>{number(b), number(c)};
        } else if (key == "constraint") {
            sets.back().constraints.held.push_back(*ParseHeld(a));
        } else if (key == "point") {
            sets.back().x.push_back(number(a));
            sets.back().y.push_back(number(b));
            if (!c.empty())
                sets.back().sigma.push_back(c);
        } else if (key == "weights") {
            sets.back().weighting = *WeightingNamed(a);
        } else if (key == "chi2") {
            sets.back().chi2 = number(a);
        } else if (key == "coef" || key == "se" || key == "se_absolute") {
            (key == "coef" ? sets.back().coef : key == "se" ? sets.back().se : sets.back().seAbsolute)[a] = number(b);
        } else if (key == "ssr" || key == "r2") {
            (key == "ssr" ? sets.back().ssr : sets.back().r2) = number(a);
        }
    }
    return sets;
}

MethodFigures Constrained(const ReferenceSet& set)
{
    FitWeights weights{set.weighting, {}};
    if (set.weighting != Weighting::None)
        weights.w = WeightsOf(set.weighting, {set.x, set.y, set.sigma, {}, {}}).w;
    if (set.model == "regression")
        return ConstrainedRegressionRow(set.x, set.y, set.order, set.constraints, {}, weights);
    return ConstrainedNlsRow(set.model == "power" ? StatsMethod::PowerNlsConstrained
                                                  : StatsMethod::ExponentialNlsConstrained,
                             set.x, set.y, set.constraints, {}, weights);
}

void ExpectDigits(Real actual, Real expected, const std::string& what)
{
    EXPECT_LE(std::fabs(actual - expected), 1e-12L * std::fabs(expected) + 1e-30L)
        << what << ": " << static_cast<double>(actual) << " vs " << static_cast<double>(expected);
}

TEST(ConstrainedFits, AgreeWithTheReferenceToTwelveDigits)
{
    const std::vector<ReferenceSet> sets = ReadReference();
    ASSERT_GE(sets.size(), 13u);
    for (const ReferenceSet& set : sets) {
        SCOPED_TRACE(set.name);
        const MethodFigures f = Constrained(set);
        ASSERT_TRUE(f.failure.empty()) << f.failure;
        for (const Coefficient& c : f.coefficients) {
            ExpectDigits(c.value, set.coef.at(c.name), c.name);
            if (set.se.count(c.name)) {
                ASSERT_TRUE(c.se.has_value()) << c.name;
                ExpectDigits(*c.se, set.se.at(c.name), "se " + c.name);
                EXPECT_EQ(c.seAbsolute.has_value(), set.seAbsolute.count(c.name) == 1) << c.name;
                if (c.seAbsolute && set.seAbsolute.count(c.name))
                    ExpectDigits(*c.seAbsolute, set.seAbsolute.at(c.name), "se_absolute " + c.name);
            } else if (c.name != "a0" || !set.constraints.through) {
                EXPECT_FALSE(c.se.has_value()) << "held " << c.name << " has a standard error";
            }
        }
        ExpectDigits(*f.ssr.value, set.ssr, "ssr");
        ExpectDigits(*f.r2.value, set.r2, "r2");
        ASSERT_EQ(f.chi2.value.has_value(), set.chi2.has_value());
        if (set.chi2)
            ExpectDigits(*f.chi2.value, *set.chi2, "chi2");
    }
}

// Lines whose answers are fractions: x = 1, 2, 3 and y = 2, 4, 7.
TEST(ConstrainedFits, LinesMatchTheirClosedForms)
{
    const std::vector<Real> x{1, 2, 3}, y{2, 4, 7};
    Constraints origin;
    origin.throughOrigin = true;
    // slope sum xy / sum x^2, SSR sum y^2 - (sum xy)^2 / sum x^2, se sqrt(SSR / (n - 1) / sum x^2)
    const MethodFigures o = ConstrainedRegressionRow(x, y, 1, origin, {});
    ExpectDigits(o.coefficients[1].value, 31.0L / 14, "slope through the origin");
    ExpectDigits(*o.ssr.value, 5.0L / 14, "ssr through the origin");
    ExpectDigits(*o.coefficients[1].se, std::sqrt(5.0L / 14 / 2 / 14), "se through the origin");
    ExpectDigits(*o.r2.value, 1 - (5.0L / 14) / 69, "uncentred r2");
    ExpectDigits(*o.adjR2.value, 1 - (5.0L / 14) / 69 * 3 / 2, "uncentred adjusted r2");
    ExpectDigits(*o.residualSe.value, std::sqrt(5.0L / 14 / 2), "residual se with n - 1 dof");
    EXPECT_NE(std::find(o.notes.begin(), o.notes.end(), kUncentredR2Note), o.notes.end());

    Constraints point;
    point.through = std::pair<Real, Real>{1, 1};
    // slope sum (x-1)(y-1) / sum (x-1)^2 = (3 + 12) / 5 = 3, a0 = 1 - 3 = -2, SSR 0 + 1 + 0
    const MethodFigures p = ConstrainedRegressionRow(x, y, 1, point, {});
    ExpectDigits(p.coefficients[1].value, 3, "slope through a point");
    ExpectDigits(p.coefficients[0].value, -2, "intercept through a point");
    ExpectDigits(*p.ssr.value, 1, "ssr through a point");
    ExpectDigits(*p.coefficients[1].se, std::sqrt(1.0L / 2 / 5), "se through a point");
    ExpectDigits(*p.aicc.value, 3 * std::log(1.0L / 3) + 2 + 4.0L / 1, "AICc with one free parameter");
}

const MethodFigures& RowOf(const std::vector<MethodFigures>& rows, StatsMethod method)
{
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const MethodFigures& f) { return f.method == method; });
    EXPECT_NE(row, rows.end()) << StatsMethodName(method);
    return *row;
}

// Held at the weighted row's own value, a fit under the same weights finds that
// row's other coefficient and chi2 with one parameter fewer; where a weight
// cannot be formed it fails as the weighted row does.
TEST(ConstrainedFits, UnderAWeightingAgreeWithTheWeightedRows)
{
    StatsTable table{{1, 2, 3, 4, 5, 6}, {2.1L, 3.9L, 6.2L, 7.8L, 10.1L, 12.3L},
                     {"0.1", "0.3", "0.2", "0.5", "0.1", "0.4"}, {}, {}};
    StatsRequest request;
    request.regressionOrder = 1;
    request.weighting = Weighting::Sigma;
    const struct {
        StatsMethod method;
        const char* held;
        std::size_t free;
    } cases[] = {
        {StatsMethod::Regression, "a0", 1},
        {StatsMethod::ExponentialNls, "b", 0},
        {StatsMethod::PowerNls, "a", 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(StatsMethodName(k.method));
        request.methods = {k.method};
        request.constraints = {};
        const MethodFigures weighted = RowOf(ComputeStatistics(table, request, {}), *WeightedOf(k.method));
        Constraints held;
        held.held.push_back({k.held, weighted.coefficients[1 - k.free].value});
        request.constraints = MethodConstraints::Shared(held);
        const MethodFigures c = RowOf(ComputeStatistics(table, request, {}), *ConstrainedOf(k.method));
        ASSERT_TRUE(c.failure.empty()) << c.failure;
        ExpectDigits(c.coefficients[k.free].value, weighted.coefficients[k.free].value, "free coefficient");
        ExpectDigits(*c.chi2.value, *weighted.chi2.value, "chi2");
        EXPECT_EQ(*c.dof, 5);
        ExpectDigits(*c.aicc.value, *c.chi2.value + 2 + 1, "AICc under sigma with one free parameter");
        EXPECT_FALSE(c.coefficients[1 - k.free].se.has_value());
    }
    table.sigma[2] = "0";
    const std::vector<MethodFigures> rows = ComputeStatistics(table, request, {});
    EXPECT_EQ(RowOf(rows, StatsMethod::PowerNlsConstrained).failure, RowOf(rows, StatsMethod::PowerNlsWeighted).failure);
    EXPECT_NE(RowOf(rows, StatsMethod::PowerNlsConstrained).failure.find("row 3"), std::string::npos);
    EXPECT_TRUE(MeasuredByChi2(RowOf(rows, StatsMethod::PowerNlsConstrained)));  // its output keeps the chi2 keys
}

TEST(ConstrainedFits, RefuseWhatCannotBeSet)
{
    const auto held = [](std::vector<std::string> texts) {
        Constraints c;
        for (const std::string& t : texts)
            c.held.push_back(*ParseHeld(t));
        return c;
    };
    Constraints originAndA0 = held({"a0=1"});
    originAndA0.throughOrigin = true;
    Constraints twoPoints;
    twoPoints.throughOrigin = true;
    twoPoints.through = std::pair<Real, Real>{1, 1};
    const struct {
        Constraints c;
        StatsMethod method;
        int order;
        std::string reason;
    } cases[] = {
        {held({"a0=1", "a1=2", "a2=3"}), StatsMethod::Regression, 1, "no coefficient a2"},
        {held({"a0=1", "a0=2"}), StatsMethod::Regression, 2, "held twice"},
        {held({"c=1"}), StatsMethod::Regression, 2, "no method has a coefficient named 'c'"},
        {held({"a=1", "b=2"}), StatsMethod::PowerNls, 0, "nothing to fit"},
        {originAndA0, StatsMethod::Regression, 2, "a0 is held and also set"},
        {twoPoints, StatsMethod::Regression, 2, "give one point"},
    };
    for (const auto& k : cases) {
        const auto why = WhyConstraintsInvalid(k.c, k.method, k.order);
        ASSERT_TRUE(why.has_value()) << k.reason;
        EXPECT_NE(why->find(k.reason), std::string::npos) << *why;
    }
    EXPECT_FALSE(WhyConstraintsInvalid(held({"a0=1", "a1=2"}), StatsMethod::Regression, 1));
    EXPECT_FALSE(ParseHeld("a1"));
    EXPECT_FALSE(ParseHeld("a1=2x"));
}

TEST(ConstrainedFits, FollowTheirFreeRowsOnlyWhereTheyApply)
{
    const std::vector<Real> x{1, 2, 3, 4, 5}, y{2.1L, 3.9L, 6.2L, 7.8L, 10.1L};
    QuilvexState s = Points(x, y);
    StatsRequest request;
    request.methods = AllStatsMethods();
    request.regressionOrder = 1;
    Constraints shared;
    shared.throughOrigin = true;
    shared.held.push_back({"b", 0.5L});
    request.constraints = MethodConstraints::Shared(shared);
    std::vector<std::string> names;
    for (const MethodFigures& f : ComputeStatistics(s, request, {}))
        names.push_back(StatsMethodName(f.method));
    const std::vector<std::string> expected{"spline", "lagrange", "lagrange-order", "regression",
                                            "regression-constrained", "exponential", "logarithmic", "power",
                                            "exponential-nls", "exponential-nls-constrained", "power-nls",
                                            "power-nls-constrained"};
    EXPECT_EQ(names, expected);

    request.methods = {StatsMethod::Regression};
    request.weighting = Weighting::Y;
    names.clear();
    for (const MethodFigures& f : ComputeStatistics(s, request, {}))
        names.push_back(StatsMethodName(f.method));
    EXPECT_EQ(names, (std::vector<std::string>{"regression", "regression-weighted", "regression-constrained"}));
    for (const char* name : {"regression-constrained", "exponential-nls-constrained", "power-nls-constrained"})
        EXPECT_EQ(StatsMethodName(*StatsMethodNamed(name)), name);
}

TEST(ConstraintLines, ReadBackWhatWasWrittenAndSkipWhatCannotBeRead)
{
    MethodConstraints c;
    c.regression.throughOrigin = true;
    c.regression.held.push_back({"a2", 0.1L});
    c.powerNls.held.push_back({"b", -1.0L / 3});
    const auto texts = ConstraintLineTexts(c);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].rfind("power-nls b=-0.333333333333333333", 0), 0u) << texts[1];
    EXPECT_EQ(ReadConstraintLines(texts), c);

    c = {};
    c.regression.through = std::pair<Real, Real>{-1.5L, 2e-300L};
    EXPECT_EQ(ConstraintLineTexts(c), std::vector<std::string>{"regression through=(-1.5,2e-300)"});
    EXPECT_EQ(ReadConstraintLines(ConstraintLineTexts(c)), c);

    const std::vector<std::string> unreadable{"spline a0=1",        "regression b=1 a1=x a1=1,5 through=(1)",
                                              "exponential-nls a0=1", "power-nls-weighted b=1", "regression-"};
    EXPECT_TRUE(ReadConstraintLines(unreadable).Empty());
}

}  // namespace
