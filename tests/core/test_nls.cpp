// The true least-squares fits against answers computed elsewhere at 50 digits
// (tests/reference/nls/, written by make_nls_reference.py): a and b to 12
// significant digits, the SSR and the standard errors where an optimum
// exists, the verdict where none does or it lies beyond the range of numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/point_table.h"
#include "stats/statistics.h"

using namespace quilvex;

namespace {

struct ReferenceSet {
    std::string name;
    StatsMethod method = StatsMethod::ExponentialNls;
    std::vector<Real> x, y;
    std::string verdict;                // fit, none or beyond
    std::map<std::string, Real> known;  // a, b, ssr, se_a, se_b, minima
    std::string direction;              // of b, where there is no optimum
};

std::vector<ReferenceSet> ReadReference()
{
    std::ifstream in(std::string(QUILVEX_NIST_DIR) + "/../nls/nls_reference.txt");
    std::vector<ReferenceSet> sets;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string key, value, second;
        words >> key >> value >> second;
        if (key == "set") {
            sets.push_back({});
            sets.back().name = value;
            sets.back().method = second == "power" ? StatsMethod::PowerNls : StatsMethod::ExponentialNls;
        } else if (key == "point") {
            sets.back().x.push_back(std::strtold(value.c_str(), nullptr));
            sets.back().y.push_back(std::strtold(second.c_str(), nullptr));
        } else if (key == "verdict") {
            sets.back().verdict = value;
            sets.back().direction = second;
        } else if (!sets.empty() && key != "end" && key != "#") {
            sets.back().known[key] = std::strtold(value.c_str(), nullptr);
        }
    }
    return sets;
}

MethodFigures Fit(const ReferenceSet& set)
{
    QuilvexState s = Points(set.x, set.y);
    StatsRequest request;
    request.methods = {set.method};
    return ComputeStatistics(s, request, {}).front();
}

bool Notes(const MethodFigures& f, const std::string& text)
{
    for (const std::string& note : f.notes)
        if (note.find(text) != std::string::npos)
            return true;
    return false;
}

// The logarithm of a in "did not converge: the optimum has a = e^N, beyond the range of numbers".
double LnAOfBeyond(const std::string& failure)
{
    const std::string lead = "did not converge: the optimum has a = e^", tail = ", beyond the range of numbers";
    if (failure.rfind(lead, 0) != 0 || failure.size() < lead.size() + tail.size() ||
        failure.substr(failure.size() - tail.size()) != tail)
        return NAN;
    return std::stod(failure.substr(lead.size(), failure.size() - lead.size() - tail.size()));
}

Real RelativeError(Real value, Real reference) { return std::fabs(value - reference) / std::fabs(reference); }

void ExpectOptimum(const ReferenceSet& set, const MethodFigures& f)
{
    ASSERT_TRUE(f.failure.empty()) << f.failure;
    const std::map<std::string, Real>& known = set.known;
    EXPECT_LT(RelativeError(f.coefficients[0].value, known.at("a")), 1e-12L) << f.coefficients[0].value;
    EXPECT_LT(RelativeError(f.coefficients[1].value, known.at("b")), 1e-12L) << f.coefficients[1].value;
    // Exact data leave an SSR of rounding alone: there it need only be as small.
    Real sumY2 = 0;
    for (Real v : set.y)
        sumY2 += v * v;
    EXPECT_LE(std::fabs(*f.ssr.value - known.at("ssr")), 1e-12L * known.at("ssr") + 1e-33L * sumY2) << *f.ssr.value;
    if (known.at("ssr") <= 1e-30L * sumY2) {  // exact data: no errors to give
        EXPECT_FALSE(f.coefficients[0].se || f.coefficients[1].se);
        EXPECT_EQ(f.aicc.whyUndefined, "exact fit");
    } else {
        ASSERT_TRUE(f.coefficients[0].se && f.coefficients[1].se);
        EXPECT_LT(RelativeError(*f.coefficients[0].se, known.at("se_a")), 1e-8L) << *f.coefficients[0].se;
        EXPECT_LT(RelativeError(*f.coefficients[1].se, known.at("se_b")), 1e-8L) << *f.coefficients[1].se;
    }
    EXPECT_EQ(Notes(f, "the starts ended at 2 different minima"), known.at("minima") == 2);
}

}  // namespace

TEST(TrueLeastSquares, MatchTheFiftyDigitReferences)
{
    const std::vector<ReferenceSet> sets = ReadReference();
    ASSERT_GE(sets.size(), 10u);
    for (const ReferenceSet& set : sets) {
        SCOPED_TRACE(set.name);
        const MethodFigures f = Fit(set);
        if (set.verdict == "fit") {
            ExpectOptimum(set, f);
            continue;
        }
        EXPECT_TRUE(f.coefficients.empty());
        EXPECT_FALSE(f.ssr.value);
        if (set.verdict == "none")
            EXPECT_EQ(f.failure.rfind("no finite optimum: the SSR keeps falling as b grows towards " +
                                          std::string(set.direction == "+" ? "+" : "-") + "infinity",
                                      0),
                      0u)
                << f.failure;
        else
            EXPECT_NEAR(LnAOfBeyond(f.failure), static_cast<double>(set.known.at("ln_abs_a")), 1e-3) << f.failure;
    }
}
