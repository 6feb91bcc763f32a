// The bands of the constrained regression against lines worked out by hand:
// through (x0, y0) with slope b = sum w u r / sum w u^2 (u = x - x0,
// r = y - y0) the fit's standard error at x is s |x - x0| / sqrt(sum w u^2),
// s^2 = sum w (r - b u)^2 / (n - 1); the origin is the point (0, 0).
#include <gtest/gtest.h>

#include <cmath>

#include "stats/constrained.h"
#include "stats/constrainedbands.h"

using namespace quilvex;

namespace {

const std::vector<Real> kX{1, 2, 3, 4, 5, 7};
const std::vector<Real> kY{2.5L, 3, 5, 4, 6, 9.5L};

struct LineThroughPoint {
    Real x0, y0, b, s2, swu2, meanW;

    LineThroughPoint(Real px, Real py, const std::vector<Real>& w) : x0(px), y0(py)
    {
        Real swur = 0, sw = 0;
        swu2 = 0;
        for (std::size_t i = 0; i < kX.size(); ++i) {
            const Real wi = w.empty() ? 1 : w[i], u = kX[i] - x0;
            swur += wi * u * (kY[i] - y0);
            swu2 += wi * u * u;
            sw += wi;
        }
        b = swur / swu2;
        s2 = 0;
        for (std::size_t i = 0; i < kX.size(); ++i) {
            const Real r = kY[i] - y0 - b * (kX[i] - x0);
            s2 += (w.empty() ? 1 : w[i]) * r * r / static_cast<Real>(kX.size() - 1);
        }
        meanW = sw / static_cast<Real>(kX.size());
    }
    Real Half(Real x, bool prediction) const
    {
        const Real q = (x - x0) * (x - x0) / swu2;
        return StudentT975(static_cast<int>(kX.size()) - 1) * std::sqrt(s2 * (q + (prediction ? 1 / meanW : 0)));
    }
};

void ExpectNear(Real got, Real want, const std::string& what)
{
    EXPECT_NEAR(static_cast<double>(got), static_cast<double>(want), 1e-11 * (1 + std::fabs(static_cast<double>(want))))
        << what;
}

}  // namespace

TEST(ConstrainedBands, LinesThroughAPointMatchTheClosedForm)
{
    const std::vector<Real> weights{4, 1, 2, 0.5L, 1, 0.25L};
    const struct {
        const char* what;
        bool origin;
        Real x0, y0;
        bool weighted;
    } cases[] = {{"through the origin", true, 0, 0, false},
                 {"through (3, 4)", false, 3, 4, false},
                 {"through (-1.5, 0.25)", false, -1.5L, 0.25L, false},
                 {"through the origin, weighted", true, 0, 0, true},
                 {"through (3, 4), weighted", false, 3, 4, true}};
    const std::vector<Real> at{-2, 0, 0.5L, 3, 6.25L, 10};
    for (const auto& c : cases) {
        Constraints constraints;
        constraints.throughOrigin = c.origin;
        if (!c.origin)
            constraints.through = std::pair<Real, Real>{c.x0, c.y0};
        const std::vector<Real> w = c.weighted ? weights : std::vector<Real>{};
        const LineThroughPoint line(c.x0, c.y0, w);
        MethodFigures row = ConstrainedRegressionRow(kX, kY, 1, constraints, {});
        if (c.weighted)  // the fit itself is the core's: here only its chi2_reduced is taken
            row.chi2Reduced = Figure::Of(line.s2);
        const auto band = ComputeConstrainedBand(row, kX, w, 1, constraints, at);
        ASSERT_TRUE(band) << c.what;
        for (std::size_t i = 0; i < at.size(); ++i) {
            const std::string what = std::string(c.what) + " at " + std::to_string(static_cast<double>(at[i]));
            if (!c.weighted)
                ExpectNear(band->fit[i], line.y0 + line.b * (at[i] - line.x0), what);
            ExpectNear(band->confidence[i], line.Half(at[i], false), what + " (confidence)");
            ExpectNear(band->prediction[i], line.Half(at[i], true), what + " (prediction)");
        }
    }
}

TEST(ConstrainedBands, NoneWhereNoCoefficientIsFreeOrForTheTrueLeastSquaresFits)
{
    Constraints everyCoefficient, heldB;
    everyCoefficient.held = {{"a0", 1}, {"a1", 2}};
    heldB.held = {{"b", 0.25L}};
    const struct {
        const char* what;
        MethodFigures row;
        Constraints constraints;
    } cases[] = {{"every coefficient held", ConstrainedRegressionRow(kX, kY, 1, everyCoefficient, {}), everyCoefficient},
                 {"exponential-nls with b held",
                  ConstrainedNlsRow(StatsMethod::ExponentialNlsConstrained, kX, kY, heldB, {}), heldB}};
    for (const auto& c : cases)
        EXPECT_FALSE(ComputeConstrainedBand(c.row, kX, {}, 1, c.constraints, {1, 2})) << c.what;
}
