#pragma once
// The methods whose figures the statistics report, from the method table: each
// designed fit, beside each fit of ln y the true least-squares fit of its
// model, and beside the regression its model solved by the stable solver,
// under the names the command line takes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fit/method.h"

namespace quilvex {

struct StatsMethod {
    Method fit = Method::Spline;    // the method table's row
    bool trueLeastSquares = false;  // the row's model fitted by least squares in y, not as designed
    bool stableSolver = false;      // the row's least-squares fit solved by the stable solver, not as designed
    bool weighted = false;          // the row's least-squares fit weighted as asked (see stats/weights.h)
    bool constrained = false;       // the row's fit under the user's constraints (see stats/constraints.h)

    static const StatsMethod Spline, Lagrange, LagrangeOrder, Regression, Exponential, Logarithmic, Power,
        ExponentialNls, PowerNls, RegressionStable, RegressionWeighted, ExponentialWeighted, LogarithmicWeighted,
        PowerWeighted, ExponentialNlsWeighted, PowerNlsWeighted, RegressionConstrained,
        ExponentialNlsConstrained, PowerNlsConstrained;
    friend constexpr bool operator==(const StatsMethod&, const StatsMethod&) = default;
};

inline constexpr StatsMethod StatsMethod::Spline{Method::Spline};
inline constexpr StatsMethod StatsMethod::Lagrange{Method::Lagrange};
inline constexpr StatsMethod StatsMethod::LagrangeOrder{Method::LagrangeOrd};
inline constexpr StatsMethod StatsMethod::Regression{Method::Regression};
inline constexpr StatsMethod StatsMethod::Exponential{Method::Exponential};
inline constexpr StatsMethod StatsMethod::Logarithmic{Method::Logarithmic};
inline constexpr StatsMethod StatsMethod::Power{Method::Power};
inline constexpr StatsMethod StatsMethod::ExponentialNls{Method::Exponential, true};
inline constexpr StatsMethod StatsMethod::PowerNls{Method::Power, true};
inline constexpr StatsMethod StatsMethod::RegressionStable{Method::Regression, false, true};
// Weighted: the regression by the stable solver, the fits of ln y with the
// weights carried into ln y, the true least-squares fits in y.
inline constexpr StatsMethod StatsMethod::RegressionWeighted{Method::Regression, false, true, true};
inline constexpr StatsMethod StatsMethod::ExponentialWeighted{Method::Exponential, false, false, true};
inline constexpr StatsMethod StatsMethod::LogarithmicWeighted{Method::Logarithmic, false, false, true};
inline constexpr StatsMethod StatsMethod::PowerWeighted{Method::Power, false, false, true};
inline constexpr StatsMethod StatsMethod::ExponentialNlsWeighted{Method::Exponential, true, false, true};
inline constexpr StatsMethod StatsMethod::PowerNlsWeighted{Method::Power, true, false, true};
inline constexpr StatsMethod StatsMethod::RegressionConstrained{Method::Regression, false, false, false, true};
inline constexpr StatsMethod StatsMethod::ExponentialNlsConstrained{Method::Exponential, true, false, false, true};
inline constexpr StatsMethod StatsMethod::PowerNlsConstrained{Method::Power, true, false, false, true};

// The fit is a least-squares fit in y: the regression (as designed or solved
// stably), the logarithmic fit and the true least-squares fits.
constexpr bool LeastSquaresInY(StatsMethod m)
{
    return m.trueLeastSquares || FittingOf(m.fit) == Fitting::LeastSquaresY;
}

// The weighted row of a least-squares row ("regression-weighted", ...), if it has one.
std::optional<StatsMethod> WeightedOf(StatsMethod method);

// The method's designed fit and, for a fit of ln y, its true least-squares fit.
std::vector<StatsMethod> StatsMethodsOf(Method method);

// The nine reported without asking, in the order of the reports (the designed
// seven first). The stable regression is not among them: it follows the
// regression where the stability check flags the designed fit.
const std::vector<StatsMethod>& AllStatsMethods();

// "spline", "lagrange", "lagrange-order", "regression", "exponential",
// "logarithmic", "power", "exponential-nls", "power-nls", "regression-stable",
// and each weighted row as its row's name and "-weighted" ("regression-weighted"),
// each constrained row as its row's name and "-constrained".
std::string StatsMethodName(StatsMethod method);
std::optional<StatsMethod> StatsMethodNamed(std::string_view name);

}  // namespace quilvex
