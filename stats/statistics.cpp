#include "stats/statistics.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "data/numtext.h"
#include "report/core/fitquality.h"
#include "stats/constrained.h"
#include "stats/designed.h"
#include "stats/linear.h"
#include "stats/nls.h"
#include "stats/regressioncheck.h"
#include "stats/table.h"
#include "stats/weighted.h"

namespace quilvex {

namespace {

std::vector<Real> Points(const RealArray& values, int n) { return {values.data(), values.data() + n}; }

void AddCoefficient(MethodFigures& f, std::string name, Real value) { f.coefficients.push_back({std::move(name), value, {}, {}}); }

class Builder {
public:
    Builder(QuilvexState& s, const StatsRequest& request, const StatsTable& table)
        : s_(s), request_(request), table_(table), x_(Points(s.x, s.n)), y_(Points(s.y, s.n))
    {
    }

    MethodFigures Build(StatsMethod method)
    {
        MethodFigures f;
        f.method = method;
        if (method.constrained)
            f = Constrained(method);
        else if (method.weighted)
            f = Weighted(method);
        else if (const auto designed = DesignedMethodOf(method))
            Designed(f, *designed);
        else if (method == StatsMethod::RegressionStable)
            f = StableRegression(RegressionInputOf(), Check(), request_.at);
        else
            Nls(f, method == StatsMethod::ExponentialNls ? NlsModel::Exponential : NlsModel::Power);
        return f;
    }

    // The stability check of the regression, made once for both its rows.
    const RegressionCheck& Check()
    {
        if (!check_)
            check_ = CheckRegression(RegressionInputOf());
        return *check_;
    }

    RegressionInput RegressionInputOf() const
    {
        RegressionInput input{x_, y_, s_.RegrOrd, {}, {}};
        const DesignedFit& fit = designed.Of(Method::Regression);
        if (fit.failure.empty())
            input.designedCoef.assign(&s_.RegrCoef[1], &s_.RegrCoef[1] + s_.RegrOrd + 1);
        if (fit.quality.evaluated)
            input.designedSsr = fit.quality.ssr;
        return input;
    }

    const RegressionCheck* CheckMade() const { return check_ ? &*check_ : nullptr; }

    // The weighted row of a least-squares fit; the reason everywhere where a
    // weight cannot be formed.
    MethodFigures Weighted(StatsMethod method)
    {
        if (request_.weighting == Weighting::None)
            return WeightedFailure(method, "no weighting chosen", request_.at);
        Weights();
        MethodFigures f;
        if (!weights_->whyNot.empty())
            f = WeightedFailure(method, weights_->whyNot, request_.at);
        else if (method.trueLeastSquares) {
            MethodFigures startNotes;
            const NlsModel model = method.fit == Method::Power ? NlsModel::Power : NlsModel::Exponential;
            f = WeightedNlsRow(method, {x_, y_, weights_->w, request_.weighting}, StartingB(startNotes, model),
                               request_.at);
            f.notes.insert(f.notes.end(), startNotes.notes.begin(), startNotes.notes.end());
        } else
            f = WeightedLinearRow(method, {x_, y_, weights_->w, request_.weighting}, s_.RegrOrd, request_.at);
        if (method.fit == Method::Regression)
            f.order = s_.RegrOrd;
        return f;
    }

    // The constrained row, weighted as the weighted rows are; the reason
    // everywhere where a weight cannot be formed.
    MethodFigures Constrained(StatsMethod method)
    {
        const Constraints& c = *request_.constraints.Of(method);
        FitWeights weights;
        if (request_.weighting != Weighting::None)
            weights = {request_.weighting, Weights().w};
        MethodFigures f;
        if (request_.weighting != Weighting::None && !weights.Given()) {
            f = WeightedFailure(method, Weights().whyNot, request_.at);
            f.constraints = LabelsFor(c, method);
        } else if (method.fit == Method::Regression)
            f = ConstrainedRegressionRow(x_, y_, s_.RegrOrd, c, request_.at, weights);
        else
            f = ConstrainedNlsRow(method, x_, y_, c, request_.at, weights);
        f.underWeighting = request_.weighting != Weighting::None;
        if (method.fit == Method::Regression)
            f.order = s_.RegrOrd;
        if (method.fit == Method::Regression && s_.RegrOrd >= s_.n)
            f.warnings.push_back("order not below the number of points: not a least-squares fit");
        return f;
    }

    DesignedFits designed;

private:
    // The weights under the weighting chosen, formed once for every row.
    const PointWeights& Weights()
    {
        if (!weights_)
            weights_ = WeightsOf(request_.weighting, table_);
        return *weights_;
    }

    void Designed(MethodFigures& f, Method method)
    {
        f.order = OrderOf(method);
        if (FittingOf(method) == Fitting::ThroughPoints && HasRepeatedX(s_))  // a table as written, not adjusted
            return NotDefined(f, "not defined: repeated X");
        const DesignedFit& fit = designed.Of(method);
        f.warnings.insert(f.warnings.end(), fit.messages.begin(), fit.messages.end());
        for (Real X : request_.at)
            f.at.push_back(fit.failure.empty() ? DesignedValueAt(s_, method, X) : AtValue{X, {}, fit.failure});
        if (!fit.failure.empty()) {
            f.failure = fit.failure;
            return;
        }
        if (!TakeQuality(f, fit.quality))
            return;
        switch (method) {
        case Method::Spline:
        case Method::Lagrange:
        case Method::LagrangeOrd:
            f.notes.push_back("passes through every point: no parameters fitted, no standard errors");
            return;
        case Method::Regression: return Regression(f);
        case Method::Logarithmic: return Logarithmic(f);
        case Method::Exponential: return Linearised(f, false, s_.ExpA, s_.ExpB);
        case Method::Power: return Linearised(f, true, s_.PowerA, s_.PowerB);
        }
    }

    void NotDefined(MethodFigures& f, const std::string& why) const
    {
        f.failure = why;
        for (Real X : request_.at)
            f.at.push_back({X, {}, why});
    }

    std::optional<int> OrderOf(Method method) const
    {
        switch (method) {
        case Method::Lagrange: return s_.n - 1;
        case Method::LagrangeOrd: return s_.LagrOrd;
        case Method::Regression: return s_.RegrOrd;
        default: return std::nullopt;
        }
    }

    bool TakeQuality(MethodFigures& f, const FitQuality& q)
    {
        if (!q.evaluated) {
            f.failure = "not evaluated";
            if (q.failedPoint > 0)
                f.failure += " at x = " + NoteDigits(s_.x[q.failedPoint]);
            f.failure += ": " + q.failure;
            return false;
        }
        f.ssr = Figure::Of(q.ssr);
        f.rms = Figure::Of(q.rms);
        f.maxAbsResidual = Figure::Of(q.maxResidual);
        f.r2 = q.r2Defined ? Figure::Of(q.r2) : Figure::Undefined("all y equal");
        f.residuals = q.residuals;
        return true;
    }

    void Regression(MethodFigures& f)
    {
        const int m = s_.RegrOrd, n = s_.n;
        for (int j = 0; j <= m; ++j)
            AddCoefficient(f, "a" + std::to_string(j), s_.RegrCoef[j + 1]);
        if (m >= n)
            f.warnings.push_back("order not below the number of points: not a least-squares fit");
        FillDesignedRegression(f, RegressionInputOf(), Check());
    }

    void Logarithmic(MethodFigures& f)
    {
        AddCoefficient(f, "a", s_.LogA);
        AddCoefficient(f, "b", s_.LogB);
        DeriveFromSsr(f, s_.n, 2);
        DesignMatrix X(s_.n, 2);
        for (int i = 0; i < s_.n; ++i) {
            X.At(i, 0) = 1;
            X.At(i, 1) = std::log(x_[static_cast<std::size_t>(i)]);
        }
        SetLinearIntervals(f, s_.n, SolveLeastSquares(X, y_, false).inverseGramDiagonal);
        NoteMissingErrors(f, s_.n <= 2 ? "needs more points than parameters" : "ln x takes a single value");
    }

    // The exponential and power fits as designed: standard errors of ln a and b
    // in the model fitted, ln y = ln a + b u with u = x or ln x.
    void Linearised(MethodFigures& f, bool power, Real a, Real b)
    {
        AddCoefficient(f, "a", a);
        AddCoefficient(f, "b", b);
        DeriveFromSsr(f, s_.n, 2);
        f.notes.push_back(std::string("se and ci95 belong to the linearised model ln y = ln a + b ") +
                          (power ? "ln x" : "x") + ", as fitted");
        const auto positive = [](Real v) { return v > 0; };
        if (!std::all_of(y_.begin(), y_.end(), positive) || (power && !std::all_of(x_.begin(), x_.end(), positive)))
            return NoteMissingErrors(f, power ? "the linearised model needs x > 0 and y > 0 at every point"
                                              : "the linearised model needs y > 0 at every point");
        const int n = s_.n;
        if (n <= 2)
            return NoteMissingErrors(f, "needs more points than parameters");
        if (!(a > 0))
            return NoteMissingErrors(f, "ln a is not defined");
        DesignMatrix X(n, 2);
        Real ssr = 0;
        std::vector<Real> lnY;
        for (int i = 0; i < n; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            X.At(i, 0) = 1;
            X.At(i, 1) = power ? std::log(x_[k]) : x_[k];
            lnY.push_back(std::log(y_[k]));
            const Real r = lnY.back() - (std::log(a) + b * X.At(i, 1));
            ssr += r * r;
        }
        const std::vector<Real> diagonal = SolveLeastSquares(X, lnY, false).inverseGramDiagonal;
        if (diagonal.size() != 2)
            return NoteMissingErrors(f, "the points take a single u value");
        const Real s = std::sqrt(ssr / (n - 2)), t = StudentT975(n - 2);
        const Real seLnA = s * std::sqrt(diagonal[0]), seB = s * std::sqrt(diagonal[1]);
        f.coefficients[0].se = a * seLnA;
        f.coefficients[0].ci95 = std::array<Real, 2>{std::exp(std::log(a) - t * seLnA), std::exp(std::log(a) + t * seLnA)};
        f.coefficients[1].se = seB;
        f.coefficients[1].ci95 = std::array<Real, 2>{b - t * seB, b + t * seB};
    }

    void Nls(MethodFigures& f, NlsModel model)
    {
        const bool power = model == NlsModel::Power;
        f.notes.push_back(std::string("true least squares of y = ") + (power ? "a x^b" : "a e^(b x)") +
                          " (Levenberg-Marquardt), beside the designed fit of the logarithms");
        if (power && std::any_of(x_.begin(), x_.end(), [](Real v) { return !(v > 0); })) {
            f.failure = "the power model needs x > 0 at every point";
            for (Real X : request_.at)
                f.at.push_back({X, {}, f.failure});
            return;
        }
        const NlsFit fit = FitNls(model, x_, y_, StartingB(f, model));
        for (Real X : request_.at)
            f.at.push_back(NlsAt(model, fit, X));
        if (!fit.converged) {
            f.failure = fit.whyNot;
            return;
        }
        AddCoefficient(f, "a", fit.a);
        AddCoefficient(f, "b", fit.b);
        Real largest = 0;
        for (Real r : fit.residuals)
            largest = std::max(largest, std::fabs(r));
        f.ssr = Figure::Of(fit.ssr);
        f.rms = Figure::Of(std::sqrt(fit.ssr / s_.n));
        f.maxAbsResidual = Figure::Of(largest);
        f.residuals = fit.residuals;
        const Real spread = Spread(y_);
        f.r2 = spread > 0 ? Figure::Of(1 - fit.ssr / spread) : Figure::Undefined("all y equal");
        DeriveFromSsr(f, s_.n, 2);
        SetNlsIntervals(f, fit.unitStandardErrors);
        NoteMissingErrors(f, s_.n <= 2 ? "needs more points than parameters" : "the Jacobian lacks full rank");
        f.notes.insert(f.notes.end(), fit.notes.begin(), fit.notes.end());
    }

    // se = s times the unit standard error (never squared: an a near the end of
    // the range of numbers keeps its error), intervals value +- t se.
    void SetNlsIntervals(MethodFigures& f, const std::vector<Real>& unitErrors)
    {
        if (!f.residualSe.value || unitErrors.size() != f.coefficients.size())
            return;
        const Real t = StudentT975(s_.n - 2);
        for (std::size_t j = 0; j < unitErrors.size(); ++j) {
            Coefficient& c = f.coefficients[j];
            c.se = *f.residualSe.value * unitErrors[j];
            c.ci95 = std::array<Real, 2>{c.value - t * *c.se, c.value + t * *c.se};
        }
    }

    // The b of the designed linearised fit where it fits every point, and b = 0
    // (a = mean y); each start takes the best a for its b.
    std::vector<Real> StartingB(MethodFigures& f, NlsModel model)
    {
        const bool power = model == NlsModel::Power;
        const DesignedFit& fit = designed.Of(power ? Method::Power : Method::Exponential);
        const bool usable = fit.failure.empty() && fit.messages.empty();
        const Real a = power ? s_.PowerA : s_.ExpA, b = power ? s_.PowerB : s_.ExpB;
        if (usable && std::isfinite(a) && std::isfinite(b))
            return {b, 0};
        f.notes.push_back("started from a = mean y, b = 0: the designed fit is no start here");
        return {0};
    }

    AtValue NlsAt(NlsModel model, const NlsFit& fit, Real X) const
    {
        if (!fit.converged)
            return {X, {}, fit.whyNot};
        if (model == NlsModel::Power && !(X > 0))
            return {X, {}, "\"x\" value zero or negative!"};
        if (const auto y = NlsValue(model, fit.a, fit.b, X))
            return {X, y, {}};
        return {X, {}, kOverflowText};
    }

    QuilvexState& s_;
    const StatsRequest& request_;
    const StatsTable& table_;
    std::vector<Real> x_, y_;
    std::optional<PointWeights> weights_;
    std::optional<RegressionCheck> check_;
};

// The stable regression follows the regression where the check flags it,
// unless it was asked for in its own place.
bool StableRowFollows(const MethodFigures& f, const StatsRequest& request, const RegressionCheck* check)
{
    const auto& asked = request.methods;
    return f.method == StatsMethod::Regression && f.failure.empty() && check && check->Flagged() &&
           std::find(asked.begin(), asked.end(), StatsMethod::RegressionStable) == asked.end();
}

// The constrained row that follows a row the constraints concern, unless
// the rows asked for name it in its own place.
std::optional<StatsMethod> ConstrainedRowFollowing(StatsMethod method, const StatsRequest& request)
{
    const auto constrained = ConstrainedOf(method);
    const auto& asked = request.methods;
    const Constraints* own = request.constraints.Of(method);
    if (!constrained || !own || !ConstraintsApplyTo(*own, method) ||
        std::find(asked.begin(), asked.end(), *constrained) != asked.end())
        return std::nullopt;
    return constrained;
}

// The fits other than the regression's rows, which judge their own.
void DeclareExactFits(std::vector<MethodFigures>& rows, const std::vector<Real>& y)
{
    for (MethodFigures& f : rows)
        if (f.method.fit != Method::Regression && !MeasuredByChi2(f) && !f.coefficients.empty() && f.failure.empty())
            DeclareIfExactFit(f, RoundingLevelSsr(FittedTermSizes(y, f.residuals)));
}

std::vector<MethodFigures> Compute(QuilvexState& s, const StatsRequest& request,
                                   const std::vector<std::string>& tableWarnings, const StatsTable& table)
{
    s.RegrOrd = request.regressionOrder;
    s.LagrOrd = std::clamp(request.lagrangeOrder, 2, std::max(2, s.n - 1));
    Builder builder(s, request, table);
    builder.designed = PrepareDesignedFits(s, request.methods);
    std::vector<MethodFigures> result;
    const auto add = [&](MethodFigures f) {
        f.warnings.insert(f.warnings.begin(), tableWarnings.begin(), tableWarnings.end());
        result.push_back(std::move(f));
    };
    for (StatsMethod method : request.methods) {
        add(builder.Build(method));
        if (method == StatsMethod::LagrangeOrder && s.LagrOrd != request.lagrangeOrder)
            result.back().warnings.push_back("order " + std::to_string(request.lagrangeOrder) + " kept to " +
                                             std::to_string(s.LagrOrd) +
                                             ", below the number of points, as a replot keeps it");
        const MethodFigures& asked = result.back();
        const auto weighted = WeightedRowFollowing(asked.method, request.methods, request.weighting);
        const auto constrained = ConstrainedRowFollowing(asked.method, request);  // before asked moves
        if (StableRowFollows(asked, request, builder.CheckMade()))
            add(builder.Build(StatsMethod::RegressionStable));
        if (weighted)
            add(builder.Build(*weighted));
        if (constrained)
            add(builder.Build(*constrained));
    }
    DeclareExactFits(result, Points(s.y, s.n));
    NoteWeightsAndExclusions(result, request.weighting, table.excludedRows);
    ClearFpu();
    return result;
}

}  // namespace

std::vector<MethodFigures> ComputeStatistics(QuilvexState& s, const StatsRequest& request,
                                             const std::vector<std::string>& tableWarnings)
{
    return Compute(s, request, tableWarnings, StatsTableOf(s));
}

}  // namespace quilvex

namespace quilvex {

StatsTable StatsTableOf(const QuilvexState& s)
{
    StatsTable table;
    table.x = Points(s.x, s.n);
    table.y = Points(s.y, s.n);
    table.sigma = s.SigmaTexts;
    for (const std::int32_t row : s.PointRows)
        table.rows.push_back(row + 1);
    for (const SetAsidePoint& p : s.Excluded)
        table.excludedRows.push_back(p.row + 1);
    return table;
}

std::vector<MethodFigures> ComputeStatistics(const StatsTable& table, const StatsRequest& request,
                                             const std::vector<std::string>& tableWarnings, const FitCache* kept)
{
    const auto s = std::make_unique<QuilvexState>();
    s->n = static_cast<std::int32_t>(table.x.size());
    for (int i = 1; i <= s->n; ++i) {
        s->x[i] = table.x[static_cast<std::size_t>(i - 1)];
        s->y[i] = table.y[static_cast<std::size_t>(i - 1)];
    }
    if (kept)
        s->Reuse = *kept;
    return Compute(*s, request, tableWarnings, table);
}

std::optional<Real> RowValueAt(const MethodFigures& row, Real X)
{
    const auto& c = row.coefficients;
    if (c.empty() || !row.failure.empty())
        return std::nullopt;
    Real y = 0;
    switch (row.method.fit) {
    case Method::Regression:
        for (std::size_t j = c.size(); j-- > 0;)
            y = y * X + c[j].value;
        break;
    case Method::Exponential: y = c[0].value * std::exp(c[1].value * X); break;
    case Method::Logarithmic:
        if (!(X > 0))
            return std::nullopt;
        y = c[0].value + c[1].value * std::log(X);
        break;
    case Method::Power:
        if (!(X > 0))
            return std::nullopt;
        y = c[0].value * std::pow(X, c[1].value);
        break;
    default: return std::nullopt;
    }
    ClearFpu();
    return std::isfinite(y) ? std::optional<Real>(y) : std::nullopt;
}

}  // namespace quilvex
