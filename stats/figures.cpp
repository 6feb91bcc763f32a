#include "stats/figures.h"

#include <boost/math/distributions/students_t.hpp>
#include <cfloat>
#include <cmath>
#include <tuple>

#include "data/numtext.h"

namespace quilvex {

namespace {

constexpr const char kExactFit[] = "exact fit";

std::string Count(int n, int p) { return " (n = " + std::to_string(n) + ", p = " + std::to_string(p) + ")"; }

void NoteUndefined(MethodFigures& figures, const char* name, const Figure& figure)
{
    if (!figure.value && !figure.whyUndefined.empty())
        figures.notes.push_back(std::string(name) + " not defined: " + figure.whyUndefined);
}

}  // namespace

std::string NoteDigits(Real v) { return FormatGeneral(v, 8, '.'); }

Real Spread(const std::vector<Real>& y)
{
    Real sum = 0;
    for (Real v : y)
        sum += v;
    const Real mean = sum / static_cast<Real>(y.size());
    Real spread = 0;
    for (Real v : y)
        spread += (v - mean) * (v - mean);
    return spread;
}

Figure ResidualStandardError(int n, int p, Real ssr)
{
    if (n <= p)
        return Figure::Undefined("needs more points than parameters" + Count(n, p));
    return Figure::Of(std::sqrt(ssr / (n - p)));
}

Figure AdjustedR2(int n, int p, const Figure& r2)
{
    if (n <= p)
        return Figure::Undefined("needs more points than parameters" + Count(n, p));
    if (!r2.value)
        return Figure::Undefined("R^2 is not defined");
    return Figure::Of(1 - (1 - *r2.value) * (n - 1) / static_cast<Real>(n - p));
}

Figure Aicc(int n, int p, Real ssr)
{
    if (n <= p + 1)
        return Figure::Undefined("needs at least two points more than parameters" + Count(n, p));
    if (!(ssr > 0))
        return Figure::Undefined(kExactFit);
    const Real k = p;
    return Figure::Of(n * std::log(ssr / n) + 2 * k + 2 * k * (k + 1) / (n - k - 1));
}

Real StudentT975(int degreesOfFreedom)
{
    const boost::math::students_t_distribution<Real> t(static_cast<Real>(degreesOfFreedom));
    return boost::math::quantile(t, 0.975L);
}

void DeriveFromSsr(MethodFigures& figures, int n, int p)
{
    if (!figures.ssr.value)
        return;
    figures.residualSe = ResidualStandardError(n, p, *figures.ssr.value);
    figures.adjR2 = AdjustedR2(n, p, figures.r2);
    figures.aicc = Aicc(n, p, *figures.ssr.value);
    NoteUndefined(figures, "r2", figures.r2);
    NoteUndefined(figures, "residual_se", figures.residualSe);
    NoteUndefined(figures, "adj_r2", figures.adjR2);
    NoteUndefined(figures, "aicc", figures.aicc);
}

void SetLinearIntervals(MethodFigures& figures, int n, const std::vector<Real>& inverseGramDiagonal)
{
    const int p = static_cast<int>(figures.coefficients.size());
    if (!figures.residualSe.value || inverseGramDiagonal.size() != figures.coefficients.size())
        return;
    const Real t = StudentT975(n - p);
    for (int j = 0; j < p; ++j) {
        Coefficient& c = figures.coefficients[static_cast<std::size_t>(j)];
        const Real se = *figures.residualSe.value * std::sqrt(inverseGramDiagonal[static_cast<std::size_t>(j)]);
        c.se = se;
        c.ci95 = std::array<Real, 2>{c.value - t * se, c.value + t * se};
    }
}

Real RoundingLevelSsr(const std::vector<Real>& termSizes)
{
    const Real allowance = static_cast<Real>(termSizes.size()) * LDBL_EPSILON;
    Real sum = 0;
    for (Real t : termSizes)
        sum += (allowance * t) * (allowance * t);
    return std::isfinite(sum) ? sum : 0;
}

std::vector<Real> FittedTermSizes(const std::vector<Real>& y, const std::vector<Real>& residuals)
{
    std::vector<Real> sizes;
    for (std::size_t i = 0; i < y.size() && i < residuals.size(); ++i)
        sizes.push_back(std::fabs(y[i]) + std::fabs(y[i] - residuals[i]));
    return sizes;
}

bool DeclareIfExactFit(MethodFigures& figures, Real roundingSsr)
{
    if (!figures.ssr.value || !(*figures.ssr.value <= roundingSsr))
        return false;
    figures.exactFit = true;
    std::string undefined;
    for (const auto& [name, figure] : {std::pair{"residual_se", &figures.residualSe}, std::pair{"aicc", &figures.aicc}})
        if (figure->value) {
            *figure = Figure::Undefined(kExactFit);
            undefined += std::string(name) + ", ";
        }
    if (!figures.coefficients.empty() && figures.coefficients.front().se)
        undefined += "se and ci95, ";
    for (Coefficient& c : figures.coefficients) {
        c.se.reset();
        c.ci95.reset();
    }
    figures.notes.push_back("exact fit: SSR " + NoteDigits(*figures.ssr.value) +
                            " at rounding level (at most " + NoteDigits(roundingSsr) + ")" +
                            (undefined.empty() ? "" : "; " + undefined.substr(0, undefined.size() - 2) + " not defined"));
    return true;
}

void NoteMissingErrors(MethodFigures& figures, const std::string& why)
{
    if (!figures.coefficients.empty() && !figures.coefficients.front().se)
        figures.notes.push_back("no standard errors: " + why);
}

namespace {

// The lowest AICc among the rows that are least squares in y and weighted or not as asked.
std::pair<std::optional<std::size_t>, std::optional<std::size_t>> LowestAiccAmong(
    const std::vector<MethodFigures>& rows, bool weighted)
{
    std::optional<std::size_t> best;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const MethodFigures& row = rows[r];
        if (!LeastSquaresInY(row.method) || MeasuredByChi2(row) != weighted || !row.failure.empty())
            continue;
        if (!row.aicc.value)
            return {std::nullopt, r};
        if (!best || *row.aicc.value < *rows[*best].aicc.value)
            best = r;
    }
    return {best, std::nullopt};
}

}  // namespace

AiccMark LowestAicc(const std::vector<MethodFigures>& rows)
{
    AiccMark mark;
    std::tie(mark.best, mark.withoutAicc) = LowestAiccAmong(rows, false);
    std::tie(mark.bestWeighted, mark.weightedWithoutAicc) = LowestAiccAmong(rows, true);
    return mark;
}

}  // namespace quilvex
