// The weighted true least-squares fits against answers computed elsewhere at
// 50 digits (tests/reference/nls/, written by make_nls_weighted_reference.py):
// a, b, chi2 and the unit standard errors to 10 significant digits, the
// residuals unweighted, the verdict where there is no optimum.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "stats/nls.h"

using namespace quilvex;

namespace {

struct WeightedSet {
    std::string name, weighting;
    NlsModel model = NlsModel::Exponential;
    std::vector<Real> x, y, weights;
    std::string verdict, direction;
    std::map<std::string, Real> known;  // a, b, chi2, unit_se_a, unit_se_b
};

Real WeightOf(const std::string& weighting, Real y, Real sigma)
{
    if (weighting == "sigma")
        return 1 / (sigma * sigma);
    return weighting == "y" ? 1 / y : 1 / (y * y);
}

std::vector<WeightedSet> ReadReference()
{
    std::ifstream in(std::string(QUILVEX_NIST_DIR) + "/../nls/nls_weighted_reference.txt");
    std::vector<WeightedSet> sets;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string key, first, second, third;
        words >> key >> first >> second >> third;
        if (key == "set") {
            sets.push_back({first, third, second == "power" ? NlsModel::Power : NlsModel::Exponential});
        } else if (key == "point") {
            WeightedSet& set = sets.back();
            set.x.push_back(std::strtold(first.c_str(), nullptr));
            set.y.push_back(std::strtold(second.c_str(), nullptr));
            set.weights.push_back(WeightOf(set.weighting, set.y.back(), std::strtold(third.c_str(), nullptr)));
        } else if (key == "verdict") {
            sets.back().verdict = first;
            sets.back().direction = second;
        } else if (!sets.empty() && key != "end" && key != "#") {
            sets.back().known[key] = std::strtold(first.c_str(), nullptr);
        }
    }
    return sets;
}

Real RelativeError(Real value, Real reference) { return std::fabs(value - reference) / std::fabs(reference); }

void ExpectOptimum(const WeightedSet& set, const NlsFit& fit)
{
    ASSERT_TRUE(fit.converged) << fit.whyNot;
    const std::map<std::string, Real>& known = set.known;
    ASSERT_EQ(fit.unitStandardErrors.size(), 2u);
    const std::map<std::string, Real> got{{"a", fit.a}, {"b", fit.b}, {"chi2", fit.ssr},
                                          {"unit_se_a", fit.unitStandardErrors[0]},
                                          {"unit_se_b", fit.unitStandardErrors[1]}};
    for (const auto& [name, value] : got)
        EXPECT_LT(RelativeError(value, known.at(name)), 1e-10L) << name << " " << value;
    ASSERT_EQ(fit.residuals.size(), set.y.size());
    for (std::size_t i = 0; i < set.y.size(); ++i) {
        const Real u = set.model == NlsModel::Power ? std::log(set.x[i]) : set.x[i];
        const Real unweighted = set.y[i] - known.at("a") * std::exp(known.at("b") * u);
        EXPECT_NEAR(fit.residuals[i] / std::fabs(set.y[i]), unweighted / std::fabs(set.y[i]), 1e-9L) << i;
    }
}

}  // namespace

TEST(WeightedTrueLeastSquares, MatchTheFiftyDigitReferences)
{
    const std::vector<WeightedSet> sets = ReadReference();
    ASSERT_GE(sets.size(), 8u);
    for (const WeightedSet& set : sets) {
        SCOPED_TRACE(set.name);
        const NlsFit fit = FitNls(set.model, set.x, set.y, {0}, set.weights);
        if (set.verdict == "fit") {
            ExpectOptimum(set, fit);
            continue;
        }
        EXPECT_FALSE(fit.converged);
        EXPECT_EQ(fit.whyNot.rfind("no finite optimum: the chi2 keeps falling as b grows towards " + set.direction +
                                       "infinity",
                                   0),
                  0u)
            << fit.whyNot;
    }
}

TEST(WeightedTrueLeastSquares, RefusesWeightsThatAreNotFiniteAndAboveZero)
{
    const std::vector<Real> x{1, 2, 3, 4}, y{2, 4, 8, 16};
    const Real inf = std::numeric_limits<Real>::infinity();
    const std::vector<std::pair<std::vector<Real>, std::string>> cases{
        {{1, 1, 0, 1}, "did not converge: every weight must be a finite number above 0"},
        {{1, -2, 1, 1}, "did not converge: every weight must be a finite number above 0"},
        {{1, 1, 1, inf}, "did not converge: every weight must be a finite number above 0"},
        {{1, 1, 1}, "did not converge: there must be one weight for each point"},
    };
    for (const auto& [weights, why] : cases) {
        const NlsFit fit = FitNls(NlsModel::Exponential, x, y, {0}, weights);
        EXPECT_FALSE(fit.converged);
        EXPECT_EQ(fit.whyNot, why);
    }
}
