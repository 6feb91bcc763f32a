// The weighted rows against references computed elsewhere at 50 digits
// (tests/reference/weighted/, written by make_weighted_reference.py), the
// weights that cannot be formed, where the weighted rows go and which AICc
// mark they take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/point_table.h"
#include "stats/bands.h"
#include "stats/statistics.h"
#include "stats/weighted.h"

using namespace quilvex;

namespace {

struct WeightedSet {
    std::string name;
    StatsMethod method = StatsMethod::Regression;
    int order = 1;
    Weighting weighting = Weighting::Sigma;
    StatsTable table;
    std::vector<std::array<Real, 3>> coefficients;  // value, se, se_absolute
    std::map<std::string, Real> known;              // chi2, p_value, aicc, r2
};

StatsMethod DesignedNamed(const std::string& model)
{
    return model == "exponential" ? StatsMethod::Exponential
           : model == "power"     ? StatsMethod::Power
           : model == "logarithmic" ? StatsMethod::Logarithmic
                                    : StatsMethod::Regression;
}

std::vector<WeightedSet> ReadReference()
{
    std::ifstream in(std::string(QUILVEX_NIST_DIR) + "/../weighted/weighted_reference.txt");
    std::vector<WeightedSet> sets;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string key, a, b, c;
        words >> key >> a >> b >> c;
        const auto number = [](const std::string& text) { return std::strtold(text.c_str(), nullptr); };
        if (key == "set") {
            std::string weighting;
            words >> weighting;
            sets.push_back({a, DesignedNamed(b), std::stoi(c), *WeightingNamed(weighting), {}, {}, {}});
        } else if (key == "point") {
            sets.back().table.x.push_back(number(a));
            sets.back().table.y.push_back(number(b));
            sets.back().table.sigma.push_back(c);
        } else if (key == "coef") {
            sets.back().coefficients.push_back({number(a), number(b), number(c)});
        } else if (!sets.empty() && key != "end" && key != "#") {
            sets.back().known[key] = number(a);
        }
    }
    return sets;
}

std::vector<MethodFigures> Rows(const StatsTable& table, std::vector<StatsMethod> methods, Weighting weighting,
                                int order = 1)
{
    StatsRequest request;
    request.methods = std::move(methods);
    request.regressionOrder = order;
    request.weighting = weighting;
    return ComputeStatistics(table, request, {});
}

void ExpectClose(std::optional<Real> value, Real reference, const std::string& what)
{
    ASSERT_TRUE(value) << what;
    EXPECT_LE(std::fabs(*value - reference), 1e-10L * std::fabs(reference)) << what << ": " << double(*value)
                                                                             << " against " << double(reference);
}

StatsTable Table(std::vector<Real> x, std::vector<Real> y, std::vector<std::string> sigma = {})
{
    StatsTable table;
    table.x = std::move(x);
    table.y = std::move(y);
    table.sigma = std::move(sigma);
    return table;
}

}  // namespace

TEST(WeightedFits, MatchTheReferencesToTenDigits)
{
    const std::vector<WeightedSet> sets = ReadReference();
    ASSERT_GE(sets.size(), 10u);
    for (const WeightedSet& set : sets) {
        SCOPED_TRACE(set.name);
        const std::vector<MethodFigures> rows = Rows(set.table, {set.method}, set.weighting, set.order);
        ASSERT_EQ(rows.size(), 2u);
        const MethodFigures& f = rows[1];
        ASSERT_EQ(f.method, *WeightedOf(set.method));
        ASSERT_EQ(f.failure, "");
        ASSERT_EQ(f.coefficients.size(), set.coefficients.size());
        for (std::size_t j = 0; j < set.coefficients.size(); ++j) {
            const Coefficient& c = f.coefficients[j];
            ExpectClose(c.value, set.coefficients[j][0], c.name);
            ExpectClose(c.se, set.coefficients[j][1], c.name + " se");
            if (set.weighting == Weighting::Sigma)
                ExpectClose(c.seAbsolute, set.coefficients[j][2], c.name + " se_absolute");
            else
                EXPECT_FALSE(c.seAbsolute) << c.name;
        }
        ExpectClose(f.chi2.value, set.known.at("chi2"), "chi2");
        ExpectClose(f.pValue.value, set.known.at("p_value"), "p_value");
        ExpectClose(f.aicc.value, set.known.at("aicc"), "aicc");
        ExpectClose(f.r2.value, set.known.at("r2"), "r2");
        EXPECT_EQ(f.dof, static_cast<int>(set.table.x.size()) - set.order - 1);
    }
}

TEST(WeightedFits, WeightsThatCannotBeFormedNameTheirRow)
{
    struct Case {
        Weighting weighting;
        std::vector<std::string> sigma;
        std::vector<Real> y;
        std::string whyNot;
    };
    const std::vector<Case> cases = {
        {Weighting::Sigma, {"1", "", "1"}, {1, 2, 3}, "row 2: σ is empty"},
        {Weighting::Sigma, {"1", "1", "x1"}, {1, 2, 3}, "row 3: σ is not a number ('x1')"},
        {Weighting::Sigma, {"0", "1", "1"}, {1, 2, 3}, "row 1: σ must be above 0 ('0')"},
        {Weighting::Sigma, {"1", "-0.5", "1"}, {1, 2, 3}, "row 2: σ must be above 0 ('-0.5')"},
        {Weighting::Sigma, {}, {1, 2, 3}, "the table gives no σ"},
        {Weighting::Y, {}, {1, 0, 3}, "row 2: y must be above 0 for weights 1/y"},
        {Weighting::Y, {}, {1, 2, -3}, "row 3: y must be above 0 for weights 1/y"},
        {Weighting::Y2, {}, {0, 2, 3}, "row 1: y must not be 0 for weights 1/y²"},
        {Weighting::Y2, {}, {-1, 2, 3}, ""},
    };
    for (const Case& c : cases) {
        StatsTable table = Table({1, 2, 3}, c.y, c.sigma);
        table.rows = {1, 2, 3};
        EXPECT_EQ(WeightsOf(c.weighting, table).whyNot, c.whyNot);
    }
    // The rows of the table, not the points, are named.
    StatsTable table = Table({1, 2, 3, 4}, {1, 2, 3, 4}, {"1", "1", "0", "1"});
    table.rows = {1, 2, 5, 6};
    table.excludedRows = {3, 4};
    const std::vector<MethodFigures> rows = Rows(table, {StatsMethod::Regression}, Weighting::Sigma);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].failure, "");
    EXPECT_EQ(rows[1].failure, "row 5: σ must be above 0 ('0')");
}

TEST(WeightedFits, FollowTheirRowsWithNotesOnTheOthers)
{
    StatsTable table = Table({1, 2, 3, 4, 5}, {2.1L, 3.9L, 6.2L, 7.8L, 10.1L}, {"0.1", "0.2", "0.1", "0.2", "0.1"});
    table.excludedRows = {3, 7};
    const std::vector<StatsMethod> asked = {StatsMethod::Spline, StatsMethod::Regression, StatsMethod::Exponential,
                                            StatsMethod::PowerNls};
    const std::vector<MethodFigures> rows = Rows(table, asked, Weighting::Sigma);
    const std::vector<StatsMethod> expected = {StatsMethod::Spline,      StatsMethod::Regression,
                                               StatsMethod::RegressionWeighted, StatsMethod::Exponential,
                                               StatsMethod::ExponentialWeighted, StatsMethod::PowerNls,
                                               StatsMethod::PowerNlsWeighted};
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(StatsMethodName(rows[r].method), StatsMethodName(expected[r]));
        EXPECT_EQ(rows[r].notes.back(), "excluded: rows 3, 7");
    }
    const auto& splineNotes = rows[0].notes;
    EXPECT_NE(std::find(splineNotes.begin(), splineNotes.end(),
                        "weights do not apply: the curve passes through every point"),
              splineNotes.end());
    // Asked for in its own place, the weighted row is not repeated; without a
    // weighting the designed rows stand alone, their figures untouched.
    EXPECT_EQ(Rows(table, {StatsMethod::RegressionWeighted, StatsMethod::Regression}, Weighting::Sigma).size(), 2u);
    const std::vector<MethodFigures> plain = Rows(table, asked, Weighting::None);
    ASSERT_EQ(plain.size(), asked.size());
    EXPECT_EQ(*plain[1].ssr.value, *rows[1].ssr.value);
    EXPECT_EQ(plain[1].coefficients[1].se, rows[1].coefficients[1].se);
}

TEST(WeightedFits, AiccFromChi2EqualsThePlainAiccForUnitWeights)
{
    const Real chi2 = 0.75L;
    for (const int n : {4, 6, 11}) {
        MethodFigures f;
        SetChi2Figures(f, 2, chi2, Weighting::Y, std::vector<Real>(static_cast<std::size_t>(n), 1));
        EXPECT_EQ(*f.aicc.value, *Aicc(n, 2, chi2).value) << n;
        SetChi2Figures(f, 2, chi2, Weighting::Sigma, std::vector<Real>(static_cast<std::size_t>(n), 1));
        EXPECT_EQ(*f.aicc.value, chi2 + 4 + 12.0L / (n - 3)) << n;
    }
}

TEST(WeightedFits, MarkTheirLowestAiccApartFromTheDesignedMark)
{
    const StatsTable table =
        Table({1, 2, 3, 4, 5, 6}, {1.1L, 3.9L, 9.2L, 15.8L, 25.3L, 35.9L}, {"0.1", "0.1", "0.2", "0.2", "0.3", "0.3"});
    const std::vector<StatsMethod> asked = {StatsMethod::Regression, StatsMethod::Logarithmic};
    const AiccMark plain = LowestAicc(Rows(table, asked, Weighting::None, 2));
    const std::vector<MethodFigures> rows = Rows(table, asked, Weighting::Sigma, 2);
    const AiccMark mark = LowestAicc(rows);
    ASSERT_TRUE(plain.best && mark.best && mark.bestWeighted);
    EXPECT_EQ(rows[*mark.best].method, StatsMethod::Regression);
    EXPECT_EQ(rows[*mark.bestWeighted].method, StatsMethod::RegressionWeighted);
}

TEST(WeightedFits, EqualWeightsGiveTheTrueLeastSquaresFitWithChi2ScaledByTheWeight)
{
    const StatsTable table = Table({1, 2, 3, 4, 5, 6}, {2.7L, 7.5L, 20.3L, 54.1L, 148.9L, 402.1L},
                                   {"2", "2", "2", "2", "2", "2"});
    const std::vector<MethodFigures> rows = Rows(table, {StatsMethod::ExponentialNls}, Weighting::Sigma);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(rows[1].failure, "");
    ExpectClose(rows[1].chi2.value, *rows[0].ssr.value / 4, "chi2");
    for (std::size_t j = 0; j < 2; ++j) {
        ExpectClose(rows[1].coefficients[j].se, *rows[0].coefficients[j].se, "se");
        ExpectClose(rows[1].coefficients[j].seAbsolute, 2 * *rows[0].coefficients[j].se / *rows[0].residualSe.value,
                    "se_absolute");
    }
}

TEST(WeightedFits, BandsOfEqualWeightsAreTheDesignedBandsWhateverTheWeight)
{
    const std::vector<Real> x = {1, 2, 3, 4, 5, 6}, y = {1.1L, 3.9L, 9.2L, 15.8L, 25.3L, 35.9L}, xs = {0.5L, 3.3L, 7};
    QuilvexState s = Points(x, y);
    StatsRequest request;
    request.methods = {StatsMethod::Regression};
    request.regressionOrder = 2;
    ComputeStatistics(s, request, {});
    const std::optional<FitBand> designed = ComputeBand(s, Method::Regression, xs);
    ASSERT_TRUE(designed);
    for (const char* sigma : {"1", "0.25", "3"}) {
        SCOPED_TRACE(sigma);
        const StatsTable table = Table(x, y, std::vector<std::string>(x.size(), sigma));
        const std::vector<MethodFigures> rows = Rows(table, {StatsMethod::Regression}, Weighting::Sigma, 2);
        const PointWeights weights = WeightsOf(Weighting::Sigma, table);
        const auto band = ComputeWeightedBand(rows.at(1), {x, y, weights.w, Weighting::Sigma}, xs);
        ASSERT_TRUE(band);
        for (std::size_t c = 0; c < xs.size(); ++c) {
            ExpectClose(band->confidence[c], designed->confidence[c], "confidence");
            ExpectClose(band->prediction[c], designed->prediction[c], "prediction");
            ExpectClose(band->fit[c], designed->fit[c], "curve");
        }
    }
}

TEST(WeightedFits, DataOnTheModelAreAnExactFitUnderEveryWeighting)
{
    const std::vector<Real> x = {1, 2, 3, 4, 5};
    const std::vector<std::string> sigma = {"0.1", "2", "0.3", "5", "1"};
    struct Case {
        StatsMethod method;
        Real (*model)(Real);
    };
    const std::vector<Case> cases = {
        {StatsMethod::Regression, [](Real v) { return 3 + 2 * v; }},
        {StatsMethod::Logarithmic, [](Real v) { return 1 + 2 * std::log(v); }},
        {StatsMethod::Exponential, [](Real v) { return 2 * std::exp(v / 2); }},
        {StatsMethod::Power, [](Real v) { return 3 * std::pow(v, 1.5L); }},
    };
    for (const Case& c : cases)
        for (const Weighting weighting : {Weighting::Sigma, Weighting::Y, Weighting::Y2}) {
            SCOPED_TRACE(StatsMethodName(c.method) + " " + WeightingName(weighting));
            std::vector<Real> y;
            for (const Real v : x)
                y.push_back(c.model(v));
            const MethodFigures f = Rows(Table(x, y, sigma), {c.method}, weighting).at(1);
            EXPECT_TRUE(f.exactFit);
            EXPECT_FALSE(f.coefficients.at(0).se);
            EXPECT_FALSE(f.aicc.value);
            EXPECT_EQ(f.aicc.whyUndefined, "exact fit");
        }
    // One point off the line is no exact fit.
    const MethodFigures off = Rows(Table(x, {5, 7, 9.001L, 11, 13}, sigma), {StatsMethod::Regression},
                                   Weighting::Sigma).at(1);
    EXPECT_FALSE(off.exactFit);
    EXPECT_TRUE(off.coefficients.at(0).se);
}

TEST(WeightedFits, StraightLineBandsMatchTheClosedForm)
{
    // Var(a + b x0) = s^2 (1 / sum w + (x0 - x_w)^2 / sum w (x - x_w)^2), x_w the weighted mean of x.
    const std::vector<Real> x = {1, 2, 4, 5, 7}, y = {2.2L, 2.9L, 5.3L, 5.8L, 8.4L}, xs = {0, 3, 9};
    const StatsTable table = Table(x, y, {"0.1", "0.4", "0.2", "1", "0.3"});
    const MethodFigures row = Rows(table, {StatsMethod::Regression}, Weighting::Sigma).at(1);
    const std::vector<Real> w = WeightsOf(Weighting::Sigma, table).w;
    const auto band = ComputeWeightedBand(row, {x, y, w, Weighting::Sigma}, xs);
    ASSERT_TRUE(band);
    Real sumW = 0, sumWx = 0, spread = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sumW += w[i];
        sumWx += w[i] * x[i];
    }
    for (std::size_t i = 0; i < x.size(); ++i)
        spread += w[i] * (x[i] - sumWx / sumW) * (x[i] - sumWx / sumW);
    const Real ts = StudentT975(3) * std::sqrt(*row.chi2Reduced.value);
    for (std::size_t c = 0; c < xs.size(); ++c) {
        const Real q = 1 / sumW + (xs[c] - sumWx / sumW) * (xs[c] - sumWx / sumW) / spread;
        ExpectClose(band->confidence[c], ts * std::sqrt(q), "confidence");
        ExpectClose(band->prediction[c], ts * std::sqrt(q + x.size() / sumW), "prediction");
    }
}
