#include "stats/weighted.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <optional>

#include "data/numtext.h"
#include "stats/linear.h"
#include "stats/regressioncheck.h"
#include "stats/statistics.h"
#include "stats/table.h"

namespace quilvex {

namespace {

constexpr const char kExactFit[] = "exact fit";
constexpr const char kMorePoints[] = "needs more points than parameters";

std::string Count(int n, int p) { return " (n = " + std::to_string(n) + ", p = " + std::to_string(p) + ")"; }

bool InLnY(StatsMethod m) { return !m.trueLeastSquares && FittingOf(m.fit) == Fitting::LeastSquaresLnY; }
bool InLnX(StatsMethod m) { return m.fit == Method::Logarithmic || m.fit == Method::Power; }

void NoteUndefined(MethodFigures& f, const char* name, const Figure& figure)
{
    if (!figure.value && !figure.whyUndefined.empty())
        f.notes.push_back(std::string(name) + " not defined: " + figure.whyUndefined);
}

// The model where it is fitted: the argument u (x or ln x), the target t (y
// or ln y) and the weights there (w, or w y^2 for ln y).
struct FittedSpace {
    std::vector<Real> u, t, w;
    std::string whyNot;
};

FittedSpace SpaceOf(StatsMethod method, const WeightedTable& table)
{
    FittedSpace space;
    for (std::size_t i = 0; i < table.x.size(); ++i) {
        const Real x = table.x[i], y = table.y[i];
        if (InLnX(method) && !(x > 0))
            space.whyNot = method.fit == Method::Power ? "the power model needs x > 0 at every point"
                                                       : "the logarithmic model needs x > 0 at every point";
        else if (InLnY(method) && !(y > 0))
            space.whyNot = "the linearised model needs y > 0 at every point";
        if (!space.whyNot.empty())
            return space;
        space.u.push_back(InLnX(method) ? std::log(x) : x);
        space.t.push_back(InLnY(method) ? std::log(y) : y);
        space.w.push_back(InLnY(method) ? table.w[i] * y * y : table.w[i]);
        if (!std::isfinite(space.w.back()) || !(space.w.back() > 0)) {
            space.whyNot = "the weight of ln y is beyond the range of numbers at point " + std::to_string(i + 1);
            return space;
        }
    }
    return space;
}

Figure WeightedAicc(int p, Real chi2, Weighting weighting, const std::vector<Real>& w)
{
    const int n = static_cast<int>(w.size());
    if (n <= p + 1)
        return Figure::Undefined("needs at least two points more than parameters" + Count(n, p));
    const Real k = p, penalty = 2 * k + 2 * k * (k + 1) / (n - k - 1);
    if (weighting == Weighting::Sigma)
        return Figure::Of(chi2 + penalty);
    if (!(chi2 > 0))
        return Figure::Undefined(kExactFit);
    Real sumLnW = 0;
    for (const Real v : w)
        sumLnW += std::log(v);
    return Figure::Of(n * std::log(chi2 / n) - sumLnW + penalty);
}

// The plain y residuals of the weighted curve, and r sqrt(w).
void TakeResiduals(MethodFigures& f, const WeightedTable& table)
{
    Real ssr = 0, largest = 0;
    for (std::size_t i = 0; i < table.x.size(); ++i) {
        const std::optional<Real> value = RowValueAt(f, table.x[i]);
        if (!value) {
            f.residuals.clear();
            f.normalisedResiduals.clear();
            f.ssr = f.rms = f.maxAbsResidual = Figure::Undefined("no value at x = " + NoteDigits(table.x[i]));
            return NoteUndefined(f, "ssr", f.ssr);
        }
        const Real r = table.y[i] - *value;
        f.residuals.push_back(r);
        f.normalisedResiduals.push_back(r * std::sqrt(table.w[i]));
        ssr += r * r;
        largest = std::max(largest, std::fabs(r));
    }
    f.ssr = Figure::Of(ssr);
    f.rms = Figure::Of(std::sqrt(ssr / static_cast<Real>(table.x.size())));
    f.maxAbsResidual = Figure::Of(largest);
}

// se, se_absolute (under sigma) and ci95 from the unit errors sqrt(diag((X^T W X)^-1));
// lnA: the first coefficient is a = e^lnA, its errors and interval taken in ln a.
void SetErrors(MethodFigures& f, const std::vector<Real>& unitErrors, Weighting weighting,
               std::optional<Real> lnA = std::nullopt)
{
    if (!f.chi2Reduced.value || unitErrors.size() != f.coefficients.size())
        return;
    const Real t = StudentT975(*f.dof), scale = std::sqrt(*f.chi2Reduced.value);
    for (std::size_t j = 0; j < unitErrors.size(); ++j) {
        Coefficient& c = f.coefficients[j];
        const Real se = scale * unitErrors[j];
        if (j == 0 && lnA) {
            c.se = c.value * se;
            c.ci95 = std::array<Real, 2>{std::exp(*lnA - t * se), std::exp(*lnA + t * se)};
        } else {
            c.se = se;
            c.ci95 = std::array<Real, 2>{c.value - t * se, c.value + t * se};
        }
        if (weighting == Weighting::Sigma)
            c.seAbsolute = j == 0 && lnA ? c.value * unitErrors[j] : unitErrors[j];
    }
}

void SetAt(MethodFigures& f, const std::vector<Real>& at)
{
    for (const Real X : at) {
        if (const auto y = RowValueAt(f, X))
            f.at.push_back({X, y, {}});
        else
            f.at.push_back({X, {}, InLnX(f.method) && !(X > 0) ? "\"x\" value zero or negative!" : kOverflowText});
    }
}

std::string LinearNote(StatsMethod method)
{
    switch (method.fit) {
    case Method::Regression: return "weighted least squares by the stable solver, rows scaled by sqrt(w)";
    case Method::Logarithmic: return "weighted least squares of y = a + b ln x, in y";
    default:
        return std::string("weighted in the linearised model ln y = ln a + b ") +
               (method.fit == Method::Power ? "ln x" : "x") +
               " with weights w y^2 (sigma of ln y = sigma / |y|); se and ci95 belong to it";
    }
}

}  // namespace

LinearSolution SolveWeighted(DesignMatrix X, std::vector<Real> t, const std::vector<Real>& w)
{
    for (int i = 0; i < X.Rows(); ++i) {
        const Real root = std::sqrt(w[static_cast<std::size_t>(i)]);
        for (int j = 0; j < X.Cols(); ++j)
            X.At(i, j) *= root;
        t[static_cast<std::size_t>(i)] *= root;
    }
    return SolveLeastSquares(X, t, false);
}

void DeclareIfExactChi2(MethodFigures& f, const std::vector<Real>& sizes)
{
    const Real rounding = RoundingLevelSsr(sizes);
    if (!f.chi2.value || !(*f.chi2.value <= rounding))
        return;
    f.exactFit = true;
    for (Figure* figure : {&f.chi2Reduced, &f.pValue, &f.aicc, &f.residualSe})
        *figure = Figure::Undefined(kExactFit);
    for (Coefficient& c : f.coefficients) {
        c.se.reset();
        c.seAbsolute.reset();
        c.ci95.reset();
    }
    f.notes.push_back("exact fit: chi2 " + NoteDigits(*f.chi2.value) + " at rounding level (at most " +
                      NoteDigits(rounding) + "); chi2_reduced, p_value, residual_se, aicc, se and ci95 not defined");
}

std::vector<Real> WeightedSizes(std::vector<Real> sizes, const std::vector<Real>& w)
{
    for (std::size_t i = 0; i < sizes.size() && i < w.size(); ++i)
        sizes[i] *= std::sqrt(w[i]);
    return sizes;
}

Figure WeightedR2(Real chi2, const std::vector<Real>& t, const std::vector<Real>& w)
{
    Real sumW = 0, sumWt = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        sumW += w[i];
        sumWt += w[i] * t[i];
    }
    const Real mean = sumWt / sumW;
    Real spread = 0;
    for (std::size_t i = 0; i < t.size(); ++i)
        spread += w[i] * (t[i] - mean) * (t[i] - mean);
    return spread > 0 ? Figure::Of(1 - chi2 / spread) : Figure::Undefined("all y equal");
}

void SetChi2Figures(MethodFigures& f, int p, Real chi2, Weighting weighting, const std::vector<Real>& w)
{
    const int n = static_cast<int>(w.size());
    f.dof = n - p;
    if (!std::isfinite(chi2)) {
        f.chi2 = f.chi2Reduced = f.pValue = f.aicc = Figure::Undefined("beyond the range of numbers");
        return NoteUndefined(f, "chi2", f.chi2);
    }
    f.chi2 = Figure::Of(chi2);
    if (n <= p) {
        f.chi2Reduced = f.pValue = f.residualSe = Figure::Undefined(kMorePoints + Count(n, p));
    } else {
        const Real reduced = chi2 / (n - p);
        const boost::math::chi_squared_distribution<Real> distribution(static_cast<Real>(n - p));
        f.chi2Reduced = Figure::Of(reduced);
        f.residualSe = Figure::Of(std::sqrt(reduced));
        f.pValue = Figure::Of(boost::math::cdf(boost::math::complement(distribution, chi2)));
    }
    f.aicc = WeightedAicc(p, chi2, weighting, w);
    NoteUndefined(f, "chi2_reduced", f.chi2Reduced);
    NoteUndefined(f, "p_value", f.pValue);
    NoteUndefined(f, "aicc", f.aicc);
}

MethodFigures WeightedFailure(StatsMethod method, const std::string& why, const std::vector<Real>& at)
{
    MethodFigures f;
    f.method = method;
    f.failure = why;
    for (const Real X : at)
        f.at.push_back({X, {}, why});
    return f;
}

MethodFigures WeightedLinearRow(StatsMethod method, const WeightedTable& table, int order,
                                const std::vector<Real>& at)
{
    const bool regression = method.fit == Method::Regression;
    const FittedSpace space = SpaceOf(method, table);
    if (!space.whyNot.empty())
        return WeightedFailure(method, space.whyNot, at);
    const int n = static_cast<int>(table.x.size()), p = regression ? order + 1 : 2;
    const LinearSolution solution = SolveWeighted(PolynomialDesign(space.u, p - 1), space.t, space.w);
    if (!solution.usable || (InLnY(method) && !std::isfinite(std::exp(solution.coef[0])))) {
        ClearFpu();
        return WeightedFailure(method, "the weighted model is beyond the range of numbers", at);
    }
    MethodFigures f;
    f.method = method;
    f.notes.push_back(LinearNote(method));
    for (std::size_t j = 0; j < solution.coef.size(); ++j) {
        const std::string name = regression ? "a" + std::to_string(j) : j == 0 ? "a" : "b";
        f.coefficients.push_back({name, solution.coef[j], {}, {}, {}});
    }
    if (InLnY(method))
        f.coefficients[0].value = std::exp(solution.coef[0]);
    if (regression && order >= n)
        f.warnings.push_back("order not below the number of points: not a least-squares fit");
    SetChi2Figures(f, p, solution.ssr, table.weighting, space.w);
    f.r2 = WeightedR2(solution.ssr, space.t, space.w);
    f.adjR2 = AdjustedR2(n, p, f.r2);
    TakeResiduals(f, table);
    std::vector<Real> units;
    for (const Real d : solution.inverseGramDiagonal)
        units.push_back(std::sqrt(d));
    SetErrors(f, units, table.weighting, InLnY(method) ? std::optional<Real>(solution.coef[0]) : std::nullopt);
    NoteMissingErrors(f, n <= p ? kMorePoints : "X lacks full column rank");
    DeclareIfExactChi2(f, WeightedSizes(PolynomialTermSizes(space.u, space.t, solution.coef), space.w));
    SetAt(f, at);
    ClearFpu();
    return f;
}

MethodFigures WeightedNlsRow(StatsMethod method, const WeightedTable& table, const std::vector<Real>& startingB,
                             const std::vector<Real>& at)
{
    const bool power = method.fit == Method::Power;
    if (power && std::any_of(table.x.begin(), table.x.end(), [](Real v) { return !(v > 0); }))
        return WeightedFailure(method, "the power model needs x > 0 at every point", at);
    const NlsFit fit = FitNls(power ? NlsModel::Power : NlsModel::Exponential, table.x, table.y, startingB,
                                      table.w);
    if (!fit.converged)
        return WeightedFailure(method, fit.whyNot, at);
    MethodFigures f;
    f.method = method;
    f.notes.push_back(std::string("weighted true least squares of y = ") + (power ? "a x^b" : "a e^(b x)") +
                      ": sum w r^2 minimised (Levenberg-Marquardt)");
    f.coefficients = {{"a", fit.a, {}, {}, {}}, {"b", fit.b, {}, {}, {}}};
    SetChi2Figures(f, 2, fit.ssr, table.weighting, table.w);
    f.r2 = WeightedR2(fit.ssr, table.y, table.w);
    f.adjR2 = AdjustedR2(static_cast<int>(table.x.size()), 2, f.r2);
    TakeResiduals(f, table);
    SetErrors(f, fit.unitStandardErrors, table.weighting);
    NoteMissingErrors(f, table.x.size() <= 2 ? kMorePoints : "the Jacobian lacks full rank");
    DeclareIfExactChi2(f, WeightedSizes(FittedTermSizes(table.y, f.residuals), table.w));
    f.notes.insert(f.notes.end(), fit.notes.begin(), fit.notes.end());
    SetAt(f, at);
    ClearFpu();
    return f;
}

std::optional<StatsMethod> WeightedRowFollowing(StatsMethod method, const std::vector<StatsMethod>& asked,
                                                Weighting weighting)
{
    const auto weighted = weighting == Weighting::None ? std::nullopt : WeightedOf(method);
    if (!weighted || std::find(asked.begin(), asked.end(), *weighted) != asked.end())
        return std::nullopt;
    return weighted;
}

void NoteWeightsAndExclusions(std::vector<MethodFigures>& rows, Weighting weighting,
                              const std::vector<int>& excludedRows)
{
    const std::string excluded = "excluded: " + RowsText(excludedRows);
    for (MethodFigures& f : rows) {
        if (weighting != Weighting::None && FittingOf(f.method.fit) == Fitting::ThroughPoints)
            f.notes.push_back("weights do not apply: the curve passes through every point");
        if (!excludedRows.empty())
            f.notes.push_back(excluded);
    }
}

}  // namespace quilvex
