#include "stats/constrained.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "data/numtext.h"
#include "stats/linear.h"
#include "stats/nls.h"
#include "stats/constrainedfigures.h"
#include "stats/regressioncheck.h"
#include "stats/weighted.h"

namespace quilvex {

namespace {

Real PolynomialValue(const std::vector<Real>& coef, Real X)
{
    Real y = 0;
    for (std::size_t j = coef.size(); j-- > 0;)
        y = y * X + coef[j];
    return y;
}

std::optional<Real> HeldValue(const Constraints& c, const std::string& name)
{
    for (const HeldCoefficient& h : c.held)
        if (h.name == name)
            return h.value;
    return std::nullopt;
}

void Fail(MethodFigures& f, const std::string& why, const std::vector<Real>& at)
{
    f.failure = why;
    for (const Real X : at)
        f.at.push_back({X, {}, why});
}

void NoteConstraints(MethodFigures& f, const Constraints& c)
{
    f.constraints = LabelsFor(c, f.method);
    std::string text = "constrained:";
    for (const std::string& label : f.constraints)
        text += " " + label;
    f.notes.push_back(text + "; held coefficients have no standard error");
}

class PolynomialElimination {
public:
    PolynomialElimination(const std::vector<Real>& x, const std::vector<Real>& y, int order, const Constraints& c)
        : x_(x), order_(order), coef_(static_cast<std::size_t>(order) + 1, 0), set_(coef_.size(), false)
    {
        if (c.throughOrigin)
            point_ = std::pair<Real, Real>{0, 0};
        else
            point_ = c.through;
        for (int j = 0; j <= order; ++j)
            if (const auto v = HeldValue(c, "a" + std::to_string(j))) {
                coef_[static_cast<std::size_t>(j)] = *v;
                set_[static_cast<std::size_t>(j)] = true;
            }
        if (point_)
            set_[0] = true;
        for (int j = 0; j <= order; ++j)
            if (!set_[static_cast<std::size_t>(j)])
                free_.push_back(j);
        target_ = y;
        for (std::size_t i = 0; i < y.size(); ++i)
            target_[i] -= Shift(x[i]);
    }

    const std::vector<int>& Free() const { return free_; }

    // The free coefficients' columns: x^j, or x^j - x0^j through a point.
    DesignMatrix Design() const
    {
        const std::vector<Real> pointPowers = Powers(point_ ? point_->first : 0);
        DesignMatrix X(static_cast<int>(x_.size()), static_cast<int>(free_.size()));
        for (int i = 0; i < X.Rows(); ++i) {
            const std::vector<Real> powers = Powers(x_[static_cast<std::size_t>(i)]);
            for (int k = 0; k < X.Cols(); ++k) {
                const auto j = static_cast<std::size_t>(free_[static_cast<std::size_t>(k)]);
                X.At(i, k) = powers[j] - (point_ ? pointPowers[j] : 0);
            }
        }
        return X;
    }

    const std::vector<Real>& Target() const { return target_; }

    // a0..am from the free coefficients' solution.
    std::vector<Real> Coefficients(const std::vector<Real>& freeCoef) const
    {
        std::vector<Real> coef = coef_;
        for (std::size_t k = 0; k < free_.size(); ++k)
            coef[static_cast<std::size_t>(free_[k])] = freeCoef[k];
        if (point_) {
            coef[0] = 0;
            coef[0] = point_->second - PolynomialValue(coef, point_->first);
        }
        return coef;
    }

private:
    // 1, x, x^2, ..., x^order, each by repeated multiplication.
    std::vector<Real> Powers(Real X) const
    {
        std::vector<Real> powers(static_cast<std::size_t>(order_) + 1, 1);
        for (std::size_t j = 1; j < powers.size(); ++j)
            powers[j] = powers[j - 1] * X;
        return powers;
    }

    // What the held terms and the point take from y at x.
    Real Shift(Real X) const
    {
        Real shift = PolynomialValue(coef_, X);
        if (point_)
            shift += point_->second - PolynomialValue(coef_, point_->first);
        return shift;
    }

    const std::vector<Real>& x_;
    int order_;
    std::vector<Real> coef_;
    std::vector<bool> set_;
    std::optional<std::pair<Real, Real>> point_;
    std::vector<int> free_;
    std::vector<Real> target_;
};


// The model's g(x) = e^(b u), u = x or ln x, and the fit's SSR for a and b:
// sum w r^2 under weights (none: every w is 1).
class HeldModel {
public:
    HeldModel(bool power, const std::vector<Real>& x, const std::vector<Real>& y, const std::vector<Real>& w)
        : y_(y), w_(w)
    {
        for (const Real v : x)
            u_.push_back(power ? std::log(v) : v);
    }

    Real G(std::size_t i, Real b) const { return std::exp(b * u_[i]); }
    Real W(std::size_t i) const { return w_.empty() ? 1 : w_[i]; }

    // The best a for a held b: sum w y g / sum w g^2.
    Real BestA(Real b) const
    {
        Real yg = 0, gg = 0;
        for (std::size_t i = 0; i < y_.size(); ++i) {
            yg += W(i) * y_[i] * G(i, b);
            gg += W(i) * G(i, b) * G(i, b);
        }
        return yg / gg;
    }

    Real Ssr(Real a, Real b) const
    {
        Real ssr = 0;
        for (std::size_t i = 0; i < y_.size(); ++i) {
            const Real r = y_[i] - a * G(i, b);
            ssr += W(i) * r * r;
        }
        return std::isfinite(ssr) ? ssr : HUGE_VALL;
    }

    // The best b for a held a: a scan of SSR(b) over |b| max|u| <= 60, then
    // Newton's method on dSSR/db, each step kept only where SSR falls.
    Real BestB(Real a) const
    {
        Real span = 0;
        for (const Real u : u_)
            span = std::max(span, std::fabs(u));
        const Real limit = span > 0 ? 60 / span : 1;
        Real best = 0, bestSsr = Ssr(a, 0);
        constexpr int kSteps = 4000;
        for (int k = -kSteps; k <= kSteps; ++k) {
            const Real b = limit * k / kSteps, ssr = Ssr(a, b);
            if (ssr < bestSsr) {
                best = b;
                bestSsr = ssr;
            }
        }
        for (int iteration = 0; iteration < 100; ++iteration) {
            Real d1 = 0, d2 = 0;
            for (std::size_t i = 0; i < y_.size(); ++i) {
                const Real ag = a * G(i, best), r = y_[i] - ag;
                d1 += W(i) * (-2 * r * ag * u_[i]);
                d2 += W(i) * (2 * ag * ag * u_[i] * u_[i] - 2 * r * ag * u_[i] * u_[i]);
            }
            if (!(d2 > 0))
                break;
            const Real next = best - d1 / d2, nextSsr = Ssr(a, next);
            if (!(nextSsr <= bestSsr) || next == best)
                break;
            best = next;
            bestSsr = nextSsr;
        }
        return best;
    }

    // 1 / sqrt(sum w (dr/dparameter)^2) for the free parameter.
    Real UnitError(Real a, Real b, bool freeIsA) const
    {
        Real jj = 0;
        for (std::size_t i = 0; i < y_.size(); ++i) {
            const Real d = freeIsA ? G(i, b) : a * u_[i] * G(i, b);
            jj += W(i) * d * d;
        }
        return 1 / std::sqrt(jj);
    }

    std::vector<Real> Residuals(Real a, Real b) const
    {
        std::vector<Real> r;
        for (std::size_t i = 0; i < y_.size(); ++i)
            r.push_back(y_[i] - a * G(i, b));
        return r;
    }

private:
    const std::vector<Real>& y_;
    const std::vector<Real>& w_;
    std::vector<Real> u_;
};

}  // namespace

MethodFigures ConstrainedRegressionRow(const std::vector<Real>& x, const std::vector<Real>& y, int order,
                                       const Constraints& c, const std::vector<Real>& at, const FitWeights& weights)
{
    MethodFigures f;
    f.method = StatsMethod::RegressionConstrained;
    f.order = order;
    f.constraints = LabelsFor(c, f.method);
    if (const auto why = WhyConstraintsInvalid(c, f.method, order)) {
        Fail(f, *why, at);
        return f;
    }
    const bool weighted = weights.Given();
    const PolynomialElimination elimination(x, y, order, c);
    const auto& freeIdx = elimination.Free();
    LinearSolution solution;
    if (freeIdx.empty()) {
        solution.usable = true;
        solution.residuals = elimination.Target();
    } else if (weighted)
        solution = SolveWeighted(elimination.Design(), elimination.Target(), weights.w);
    else
        solution = SolveLeastSquares(elimination.Design(), elimination.Target(), false);
    if (!solution.usable) {
        Fail(f, "not evaluated: a column of the constrained polynomial is zero or not finite", at);
        return f;
    }
    const std::vector<Real> coef = elimination.Coefficients(solution.coef);
    for (std::size_t j = 0; j < coef.size(); ++j)
        f.coefficients.push_back({"a" + std::to_string(j), coef[j], {}, {}, {}});
    NoteConstraints(f, c);
    const int p = static_cast<int>(freeIdx.size());
    const bool noIntercept = c.throughOrigin || HeldValue(c, "a0") == std::optional<Real>(0);
    if (weighted) {
        f.notes.push_back("weighted least squares by the stable solver, rows scaled by sqrt(w)");
        const auto [residuals, chi2] = ResidualsInY(solution, !freeIdx.empty(), weights.w);
        SetChi2ResidualFigures(f, y, residuals, chi2, p, noIntercept, weights);
    } else
        SetResidualFigures(f, y, solution.residuals, p, noIntercept);
    const int n = static_cast<int>(x.size());
    if (f.residualSe.value && solution.inverseGramDiagonal.size() == freeIdx.size() && p > 0) {
        const Real s = *f.residualSe.value, t = StudentT975(n - p);
        for (std::size_t k = 0; k < freeIdx.size(); ++k)
            SetError(f.coefficients[static_cast<std::size_t>(freeIdx[k])], s, t,
                     std::sqrt(solution.inverseGramDiagonal[k]), weights.weighting);
    }
    if (weighted)
        DeclareIfExactChi2(f, WeightedSizes(PolynomialTermSizes(x, y, coef), weights.w));
    else
        DeclareIfExactFit(f, RoundingLevelSsr(PolynomialTermSizes(x, y, coef)));
    for (const Real X : at) {
        const Real v = PolynomialValue(coef, X);
        f.at.push_back(std::isfinite(v) ? AtValue{X, v, {}} : AtValue{X, {}, kOverflowText});
    }
    return f;
}

DesignMatrix ConstrainedDesignOf(const std::vector<Real>& xs, int order, const Constraints& c)
{
    const std::vector<Real> noY(xs.size(), 0);
    return PolynomialElimination(xs, noY, order, c).Design();
}

MethodFigures ConstrainedNlsRow(StatsMethod method, const std::vector<Real>& x, const std::vector<Real>& y,
                                const Constraints& c, const std::vector<Real>& at, const FitWeights& weights)
{
    MethodFigures f;
    f.method = method;
    f.constraints = LabelsFor(c, method);
    const bool power = method.fit == Method::Power;
    if (const auto why = WhyConstraintsInvalid(c, method, 0))
        return Fail(f, *why, at), f;
    if (power && std::any_of(x.begin(), x.end(), [](Real v) { return !(v > 0); }))
        return Fail(f, "the power model needs x > 0 at every point", at), f;
    const HeldModel model(power, x, y, weights.w);
    const auto heldA = HeldValue(c, "a"), heldB = HeldValue(c, "b");
    if (!heldA && !heldB)
        return Fail(f, "neither a nor b held", at), f;
    const Real b = heldB ? *heldB : model.BestB(*heldA), a = heldA ? *heldA : model.BestA(b);
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(model.Ssr(a, b)))
        return Fail(f, kOverflowText, at), f;
    f.notes.push_back(std::string(weights.Given() ? "weighted true least squares of y = " : "true least squares of y = ") +
                      (power ? "a x^b" : "a e^(b x)") + " with " + (heldA ? "a" : "b") + " held" +
                      (weights.Given() ? ": sum w r^2 minimised" : ""));
    f.coefficients.push_back({"a", a, {}, {}, {}});
    f.coefficients.push_back({"b", b, {}, {}, {}});
    NoteConstraints(f, c);
    const int n = static_cast<int>(x.size());
    const std::vector<Real> residuals = model.Residuals(a, b);
    if (weights.Given())
        SetChi2ResidualFigures(f, y, residuals, model.Ssr(a, b), 1, false, weights);
    else
        SetResidualFigures(f, y, residuals, 1, false);
    if (f.residualSe.value) {
        const Real t = StudentT975(n - 1), unit = model.UnitError(a, b, !heldA);
        if (std::isfinite(unit))
            SetError(f.coefficients[heldA ? 1 : 0], *f.residualSe.value, t, unit, weights.weighting);
    }
    if (weights.Given())
        DeclareIfExactChi2(f, WeightedSizes(FittedTermSizes(y, residuals), weights.w));
    for (const Real X : at) {
        const auto v = (power && !(X > 0)) ? std::nullopt : NlsValue(power ? NlsModel::Power : NlsModel::Exponential, a, b, X);
        f.at.push_back(v ? AtValue{X, v, {}} : AtValue{X, {}, power && !(X > 0) ? "\"x\" value zero or negative!" : kOverflowText});
    }
    return f;
}

}  // namespace quilvex
