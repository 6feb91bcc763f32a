// The 95 % bands against closed forms worked out by hand (a straight line
// and the two-parameter fits: v^T (X^T X)^-1 v = 1/n + (u - mean u)^2 / Suu)
// and against the normal equations of a small well-posed parabola; the
// residuals of every row against the SSR the statistics report and the curve
// as the interpolation report evaluates it.
#include <gtest/gtest.h>

#include <cmath>

#include "stats/bands.h"
#include "stats/designed.h"
#include "stats/statistics.h"

using namespace quilvex;

namespace {

QuilvexState Table(const std::vector<Real>& xs, const std::vector<Real>& ys, int order)
{
    QuilvexState s;
    s.n = static_cast<std::int32_t>(xs.size());
    for (int i = 1; i <= s.n; ++i) {
        s.x[i] = xs[static_cast<std::size_t>(i - 1)];
        s.y[i] = ys[static_cast<std::size_t>(i - 1)];
    }
    s.RegrOrd = order;
    PrepareDesignedFits(s, {StatsMethod::Regression, StatsMethod::Exponential, StatsMethod::Logarithmic,
                            StatsMethod::Power});
    return s;
}

// Half-widths of a two-parameter fit in the variable u, from the closed form.
struct ClosedForm {
    std::vector<Real> u, target;  // u and the fitted value (y or ln y) at the points
    Real a, b;                    // target = a + b u
    Real Half(Real u0, bool prediction) const
    {
        const Real n = static_cast<Real>(u.size());
        Real mean = 0, suu = 0, ssr = 0;
        for (Real v : u)
            mean += v / n;
        for (std::size_t i = 0; i < u.size(); ++i) {
            suu += (u[i] - mean) * (u[i] - mean);
            ssr += std::pow(target[i] - a - b * u[i], 2);
        }
        const Real q = 1 / n + (u0 - mean) * (u0 - mean) / suu;
        return StudentT975(static_cast<int>(n) - 2) * std::sqrt(ssr / (n - 2)) * std::sqrt((prediction ? 1 : 0) + q);
    }
};

const std::vector<Real> kX{1, 2, 3, 4, 5, 7};
const std::vector<Real> kY{2, 3, 5, 4, 6, 9.5L};

}  // namespace

TEST(Bands, TwoParameterFitsMatchTheClosedForms)
{
    const QuilvexState s = Table(kX, kY, 1);
    std::vector<Real> lnX, lnY;
    for (std::size_t i = 0; i < kX.size(); ++i) {
        lnX.push_back(std::log(kX[i]));
        lnY.push_back(std::log(kY[i]));
    }
    const struct {
        Method method;
        ClosedForm form;
        bool logScale;
    } cases[] = {
        {Method::Regression, {kX, kY, s.RegrCoef[1], s.RegrCoef[2]}, false},
        {Method::Logarithmic, {lnX, kY, s.LogA, s.LogB}, false},
        {Method::Exponential, {kX, lnY, std::log(s.ExpA), s.ExpB}, true},
        {Method::Power, {lnX, lnY, std::log(s.PowerA), s.PowerB}, true},
    };
    const std::vector<Real> at{0.5L, 3, 10};
    for (const auto& c : cases) {
        const auto band = ComputeBand(s, c.method, at);
        ASSERT_TRUE(band) << static_cast<int>(c.method);
        EXPECT_EQ(band->logScale, c.logScale);
        for (std::size_t i = 0; i < at.size(); ++i) {
            const Real u = c.method == Method::Logarithmic || c.method == Method::Power ? std::log(at[i]) : at[i];
            for (bool prediction : {false, true}) {
                const Real h = prediction ? band->prediction[i] : band->confidence[i];
                EXPECT_NEAR(h, c.form.Half(u, prediction), 1e-12L * h) << static_cast<int>(c.method) << " at " << at[i];
                const Real low = band->Lower(i, prediction), high = band->Upper(i, prediction);
                EXPECT_NEAR(c.logScale ? std::log(high / low) / 2 : (high - low) / 2, h, 1e-12L * h);
            }
        }
    }
}

TEST(Bands, ParabolaMatchesTheNormalEquations)
{
    const std::vector<Real> x{0, 1, 2, 3, 4, 5, 6}, y{1, 2.5L, 4.9L, 10.2L, 16.8L, 26.1L, 37};
    const QuilvexState s = Table(x, y, 2);
    // (X^T X)^-1 by Gauss-Jordan on the 3 x 3 normal matrix, in long double.
    Real G[3][6] = {};
    for (Real xi : x)
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                G[r][c] += std::pow(xi, r + c);
    for (int r = 0; r < 3; ++r)
        G[r][3 + r] = 1;
    for (int p = 0; p < 3; ++p)
        for (int r = 0; r < 3; ++r)
            if (r != p)
                for (int c = 5; c >= p; --c)
                    G[r][c] -= G[r][p] / G[p][p] * G[p][c];
    Real ssr = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
        ssr += std::pow(y[i] - (s.RegrCoef[1] + s.RegrCoef[2] * x[i] + s.RegrCoef[3] * x[i] * x[i]), 2);
    const Real ts = StudentT975(4) * std::sqrt(ssr / 4);
    const std::vector<Real> at{-1, 2.5L, 8};
    const auto band = ComputeBand(s, Method::Regression, at);
    ASSERT_TRUE(band);
    for (std::size_t k = 0; k < at.size(); ++k) {
        const Real v[3] = {1, at[k], at[k] * at[k]};
        Real q = 0;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                q += v[r] * G[r][3 + c] / G[r][r] * v[c];
        EXPECT_NEAR(band->confidence[k], ts * std::sqrt(q), 1e-10L * ts);
        EXPECT_NEAR(band->prediction[k], ts * std::sqrt(1 + q), 1e-10L * ts);
    }
}

TEST(Bands, NoneWhereTheFitHasNoStandardErrors)
{
    EXPECT_FALSE(ComputeBand(Table({1, 2, 3}, {1, 4, 9}, 2), Method::Regression, {1}));  // n = p
    EXPECT_FALSE(ComputeBand(Table({1, 2, 3, 4}, {1, -4, 9, 3}, 1), Method::Exponential, {1}));  // a y <= 0
    EXPECT_FALSE(ComputeBand(Table(kX, kY, 1), Method::Spline, {1}));
    // x <= 0 has no value on the logarithmic band; the others stand.
    const auto band = ComputeBand(Table(kX, kY, 1), Method::Logarithmic, {-1, 2});
    ASSERT_TRUE(band);
    EXPECT_TRUE(std::isnan(band->Lower(0, false)));
    EXPECT_TRUE(std::isfinite(band->Lower(1, false)));
}

TEST(Residuals, SumToTheReportedSsrForEveryRow)
{
    QuilvexState s;
    s.n = 12;
    for (int i = 1; i <= s.n; ++i) {
        s.x[i] = i;
        s.y[i] = 2 * std::exp(0.3L * i) + (i % 3 == 0 ? 0.4L : -0.2L);
    }
    StatsRequest request;
    request.methods = AllStatsMethods();
    const std::vector<MethodFigures> rows = ComputeStatistics(s, request, {});
    for (const MethodFigures& row : rows) {
        ASSERT_EQ(row.residuals.size(), 12u) << StatsMethodName(row.method);
        Real ssr = 0;
        for (Real e : row.residuals)
            ssr += e * e;
        EXPECT_EQ(ssr, *row.ssr.value) << StatsMethodName(row.method);  // bit for bit
        const auto designed = DesignedMethodOf(row.method);
        for (int i = 1; designed && i <= s.n; ++i)
            EXPECT_EQ(row.residuals[static_cast<std::size_t>(i - 1)], s.y[i] - *DesignedValueAt(s, *designed, s.x[i]).y)
                << StatsMethodName(row.method) << " at point " << i;
    }
}
