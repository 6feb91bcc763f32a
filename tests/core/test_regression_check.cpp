// The stability check of the regression and the exact-fit verdicts, against
// least-squares fits computed independently at 50 digits
// (tests/reference/regression/make_reference.py, whose output is read here).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/point_table.h"
#include "fit/regression.h"
#include "stats/statistics.h"

using namespace quilvex;

namespace {

struct Reference {
    std::string method;
    int order = 0;
    std::vector<Real> x, y, coef, se;
};

std::vector<Real> Numbers(std::istringstream& words)
{
    std::vector<Real> values;
    for (std::string word; words >> word;)
        if (word != "-")
            values.push_back(std::strtold(word.c_str(), nullptr));
    return values;
}

const std::map<std::string, Reference>& References()
{
    static const std::map<std::string, Reference> sets = [] {
        std::map<std::string, Reference> read;
        std::ifstream in(std::string(QUILVEX_NIST_DIR) + "/../regression/reference.txt");
        std::string name;
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string key;
            words >> key;
            Reference& r = read[name];
            if (key == "set")
                words >> name;
            else if (key == "fit")
                words >> r.method >> r.order;
            else if (key == "x")
                r.x = Numbers(words);
            else if (key == "y")
                r.y = Numbers(words);
            else if (key == "coef")
                r.coef = Numbers(words);
            else if (key == "se")
                r.se = Numbers(words);
        }
        read.erase("");
        return read;
    }();
    return sets;
}

std::vector<MethodFigures> Figures(const Reference& r, std::vector<StatsMethod> methods)
{
    QuilvexState s = Points(r.x, r.y);
    StatsRequest request;
    request.methods = std::move(methods);
    request.regressionOrder = std::max(r.order, 1);
    return ComputeStatistics(s, request, {});
}

bool Warns(const MethodFigures& f, const std::string& text)
{
    for (const std::string& w : f.warnings)
        if (w.find(text) != std::string::npos)
            return true;
    return false;
}

// Within half a unit of the digits-th significant digit of want, or of a
// millionth of the largest coefficient where want is smaller.
void ExpectDigits(Real got, Real want, Real scale, int digits, const std::string& what)
{
    const Real size = std::max(std::fabs(want), scale * 1e-6L);
    EXPECT_LE(std::fabs(got - want), size * 0.5L * std::pow(10.0L, 1 - digits))
        << what << ": " << static_cast<double>(got) << " against " << static_cast<double>(want);
}

void ExpectReference(const MethodFigures& f, const Reference& r, int digits, int seDigits, const std::string& set)
{
    ASSERT_EQ(f.coefficients.size(), r.coef.size()) << set;
    Real scale = 0;
    for (const Real c : r.coef)
        scale = std::max(scale, std::fabs(c));
    for (std::size_t j = 0; j < r.coef.size(); ++j) {
        ExpectDigits(f.coefficients[j].value, r.coef[j], scale, digits, set + " coefficient " + std::to_string(j));
        if (r.se.empty())
            continue;
        ASSERT_TRUE(f.coefficients[j].se) << set;
        ExpectDigits(*f.coefficients[j].se, r.se[j], 0, seDigits, set + " se " + std::to_string(j));
    }
}

StatsMethod MethodNamed(const std::string& name) { return *StatsMethodNamed(name); }

TEST(RegressionCheck, StableFitsMatchTheReferencesAndTheCheckFlagsOnlyUnreliableFits)
{
    const struct {
        const char* set;
        int digits, seDigits;         // of the stable coefficients and of their standard errors
        bool flagged;                 // the stable row follows the regression
        Real fewestAgreed, mostAgreed;  // the band of agreement_digits
        bool exact;
    } cases[] = {
        {"line", 15, 15, false, 15, 19, false},
        {"cubic", 14, 14, false, 12, 19, false},
        {"parabola30", 14, 14, false, 12, 19, false},
        {"near-1000", 6, 6, true, 0, 6, false},  // condition about 1E11: the stable fit itself keeps fewer digits
        {"tiny-x", 13, 13, true, 0, 1, false},
        {"tiny-x-smooth", 13, 9, true, 0, 1, false},  // the SSR itself only to 10 digits: residuals of 1E-9
        {"symmetric", 9, 9, false, 12, 19, false},  // a zero coefficient agrees where both are near zero
        {"exact-cubic", 15, 0, false, 12, 19, true},
        {"exact-far", 9, 0, false, 0, 19, true},
        {"interpolating", 12, 0, false, 9, 19, true},
    };
    for (const auto& c : cases) {
        const Reference& r = References().at(c.set);
        const std::vector<MethodFigures> rows = Figures(r, {StatsMethod::Regression});
        ASSERT_EQ(rows.size(), c.flagged ? 2u : 1u) << c.set;
        const MethodFigures& designed = rows.front();
        const MethodFigures stable = c.flagged ? rows.back() : Figures(r, {StatsMethod::RegressionStable}).front();
        EXPECT_EQ(stable.method, StatsMethod::RegressionStable) << c.set;
        ExpectReference(stable, r, c.digits, c.seDigits, c.set);
        ASSERT_TRUE(designed.agreementDigits.value) << c.set;
        EXPECT_GE(*designed.agreementDigits.value, c.fewestAgreed) << c.set;
        EXPECT_LE(*designed.agreementDigits.value, c.mostAgreed) << c.set;
        EXPECT_EQ(stable.exactFit, c.exact) << c.set;
        EXPECT_EQ(designed.warnings.empty(), !c.flagged) << c.set;
        EXPECT_EQ(!designed.coefficients.front().se, c.flagged || c.exact) << c.set;
        if (c.flagged) {
            EXPECT_TRUE(Warns(designed, "numerically unreliable") || Warns(designed, "agree with a stable solver's"));
            EXPECT_NE(designed.notes.back().find("regression-stable gives"), std::string::npos) << c.set;
        }
        if (c.exact && r.x.size() > r.coef.size() + 1) {
            EXPECT_EQ(stable.aicc.whyUndefined, "exact fit") << c.set;
        }
    }
}

// The designed row keeps the designed coefficients and SSR where the stable
// row follows it, and the stable one is the better least-squares fit.
TEST(RegressionCheck, AFlaggedFitKeepsItsDesignedNumbers)
{
    const Reference& r = References().at("tiny-x-smooth");
    QuilvexState drawn = Points(r.x, r.y);
    drawn.RegrOrd = r.order;
    MessageText ignored;
    FitRegression(drawn.n, drawn.RegrOrd, drawn.x, drawn.y, drawn.RegrCoef, ignored);
    const std::vector<MethodFigures> rows = Figures(r, {StatsMethod::Regression});
    ASSERT_EQ(rows.size(), 2u);
    for (int j = 0; j <= r.order; ++j)
        EXPECT_EQ(std::memcmp(&drawn.RegrCoef[j + 1], &rows[0].coefficients[static_cast<std::size_t>(j)].value, 10), 0);
    EXPECT_GT(*rows[0].ssr.value, 1e4L * *rows[1].ssr.value);
    EXPECT_TRUE(rows[0].aicc.value && rows[1].aicc.value);
    EXPECT_EQ(StatsMethodName(rows[1].method), "regression-stable");
}

// An SSR at rounding level leaves residual SE, AICc, standard errors and
// intervals undefined (exact fit), for every least-squares model alike.
TEST(RegressionCheck, ExactFitsHaveNoAiccNorStandardErrors)
{
    const struct {
        const char* set;
        std::vector<StatsMethod> methods;
        bool exact;
        int digits;  // of the designed coefficients and standard errors against the reference
    } cases[] = {
        {"flat-exponential", {StatsMethod::Exponential, StatsMethod::ExponentialNls}, true, 12},
        {"flat-logarithmic", {StatsMethod::Logarithmic}, true, 12},
        {"flat-power", {StatsMethod::Power, StatsMethod::PowerNls}, true, 12},
        {"growth", {StatsMethod::Exponential}, false, 14},
        {"law", {StatsMethod::Power}, false, 14},
        {"logs", {StatsMethod::Logarithmic}, false, 14},
    };
    for (const auto& c : cases) {
        const Reference& r = References().at(c.set);
        EXPECT_EQ(MethodNamed(r.method), c.methods.front()) << c.set;
        for (const MethodFigures& f : Figures(r, c.methods)) {
            const std::string what = c.set + (" " + StatsMethodName(f.method));
            ASSERT_TRUE(f.failure.empty()) << what << ": " << f.failure;
            EXPECT_EQ(f.exactFit, c.exact) << what;
            EXPECT_EQ(!f.aicc.value && f.aicc.whyUndefined == "exact fit", c.exact) << what;
            EXPECT_EQ(!f.residualSe.value, c.exact) << what;
            EXPECT_EQ(!f.coefficients[1].se && !f.coefficients[1].ci95, c.exact) << what;
            if (f.method == c.methods.front())
                ExpectReference(f, r, c.digits, c.digits, what);
        }
    }
}

}  // namespace
