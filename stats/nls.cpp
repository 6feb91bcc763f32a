#include "stats/nls.h"

#include <cmath>
#include <optional>
#include <unsupported/Eigen/LevenbergMarquardt>

#include "stats/linear.h"

namespace quilvex {

namespace {

// A residual where the model overflows: large enough that the step is refused.
constexpr Real kOverflowResidual = 1e300L;
constexpr int kMostEvaluations = 2000;

// The basis g(x) of the model f = a g(x), and dg/db.
Real Basis(NlsModel model, Real b, Real x)
{
    return model == NlsModel::Exponential ? std::exp(b * x) : std::exp(b * std::log(x));
}
Real BasisSlope(NlsModel model, Real x) { return model == NlsModel::Exponential ? x : std::log(x); }

struct ModelFunctor : Eigen::DenseFunctor<Real> {
    ModelFunctor(NlsModel m, const std::vector<Real>& xs, const std::vector<Real>& ys)
        : Eigen::DenseFunctor<Real>(2, static_cast<int>(xs.size())), model(m), x(xs), y(ys)
    {
    }

    int operator()(const InputType& p, ValueType& f) const
    {
        for (std::size_t i = 0; i < x.size(); ++i) {
            const Real r = p(0) * Basis(model, p(1), x[i]) - y[i];
            f(static_cast<Eigen::Index>(i)) = std::isfinite(r) ? r : kOverflowResidual;
        }
        return 0;
    }

    int df(const InputType& p, JacobianType& J) const
    {
        for (std::size_t i = 0; i < x.size(); ++i) {
            const Eigen::Index row = static_cast<Eigen::Index>(i);
            const Real g = Basis(model, p(1), x[i]);
            J(row, 0) = std::isfinite(g) ? g : kOverflowResidual;
            const Real slope = p(0) * BasisSlope(model, x[i]) * g;
            J(row, 1) = std::isfinite(slope) ? slope : kOverflowResidual;
        }
        return 0;
    }

    NlsModel model;
    const std::vector<Real>& x;
    const std::vector<Real>& y;
};

bool Converged(Eigen::LevenbergMarquardtSpace::Status status)
{
    using namespace Eigen::LevenbergMarquardtSpace;
    return status == RelativeReductionTooSmall || status == RelativeErrorTooSmall ||
           status == RelativeErrorAndReductionTooSmall || status == CosinusTooSmall;
}

std::string WhyNotConverged(Eigen::LevenbergMarquardtSpace::Status status)
{
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case TooManyFunctionEvaluation: return "did not converge within " + std::to_string(kMostEvaluations) + " evaluations";
    case ImproperInputParameters: return "did not converge: improper start";
    default: return "did not converge: no further progress possible";
    }
}

void MeasureSolution(NlsModel model, const std::vector<Real>& x, const std::vector<Real>& y, NlsFit& fit)
{
    DesignMatrix J(static_cast<int>(x.size()), 2);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const Real g = Basis(model, fit.b, x[i]);
        fit.residuals.push_back(y[i] - fit.a * g);
        fit.ssr += fit.residuals.back() * fit.residuals.back();
        J.At(static_cast<int>(i), 0) = g;
        J.At(static_cast<int>(i), 1) = fit.a * BasisSlope(model, x[i]) * g;
    }
    if (!std::isfinite(fit.ssr)) {
        fit.converged = false;
        fit.whyNot = "did not converge: the model overflows at the solution";
        return;
    }
    fit.inverseGramDiagonal = SolveLeastSquares(J, y, false).inverseGramDiagonal;
}

}  // namespace

NlsFit FitNls(NlsModel model, const std::vector<Real>& x, const std::vector<Real>& y, Real a, Real b)
{
    ModelFunctor functor(model, x, y);
    Eigen::LevenbergMarquardt<ModelFunctor> lm(functor);
    lm.setMaxfev(kMostEvaluations);
    Eigen::Matrix<Real, Eigen::Dynamic, 1> p(2);
    p << a, b;
    const Eigen::LevenbergMarquardtSpace::Status status = lm.minimize(p);
    NlsFit fit;
    fit.a = p(0);
    fit.b = p(1);
    fit.converged = Converged(status) && std::isfinite(fit.a) && std::isfinite(fit.b);
    if (!fit.converged) {
        fit.whyNot = WhyNotConverged(status);
        return fit;
    }
    MeasureSolution(model, x, y, fit);
    return fit;
}

std::optional<Real> NlsValue(NlsModel model, Real a, Real b, Real x)
{
    if (model == NlsModel::Power && !(x > 0))
        return std::nullopt;
    const Real value = a * Basis(model, b, x);
    return std::isfinite(value) ? std::optional<Real>(value) : std::nullopt;
}

}  // namespace quilvex
