#include "stats/methods.h"

namespace quilvex {

namespace {

// The command line's name of each row of the method table, in its order.
constexpr std::array<const char*, kMethodCount> kNames{"spline",      "lagrange",    "lagrange-order", "regression",
                                                       "exponential", "logarithmic", "power"};
constexpr const char kTrueLeastSquaresSuffix[] = "-nls";
constexpr const char kStableSolverSuffix[] = "-stable";
constexpr const char kWeightedSuffix[] = "-weighted";
constexpr const char kConstrainedSuffix[] = "-constrained";

}  // namespace

std::optional<StatsMethod> WeightedOf(StatsMethod method)
{
    if (method.weighted || method.stableSolver || method.constrained || FittingOf(method.fit) == Fitting::ThroughPoints)
        return std::nullopt;
    if (method.fit == Method::Regression)
        return StatsMethod::RegressionWeighted;
    return StatsMethod{method.fit, method.trueLeastSquares, false, true};
}

std::vector<StatsMethod> StatsMethodsOf(Method method)
{
    if (FittingOf(method) == Fitting::LeastSquaresLnY)
        return {{method, false}, {method, true}};
    return {{method, false}};
}

const std::vector<StatsMethod>& AllStatsMethods()
{
    static const std::vector<StatsMethod> all = [] {
        std::vector<StatsMethod> methods;
        for (Method m : kReportOrder)
            methods.push_back({m, false});
        for (Method m : kReportOrder)
            if (FittingOf(m) == Fitting::LeastSquaresLnY)
                methods.push_back({m, true});
        return methods;
    }();
    return all;
}

std::string StatsMethodName(StatsMethod method)
{
    const std::string name = kNames[static_cast<std::size_t>(method.fit)];
    if (method.constrained)
        return StatsMethodName({method.fit, method.trueLeastSquares}) + kConstrainedSuffix;
    if (method.weighted)
        return StatsMethodName({method.fit, method.trueLeastSquares}) + kWeightedSuffix;
    if (method.stableSolver)
        return name + kStableSolverSuffix;
    return method.trueLeastSquares ? name + kTrueLeastSquaresSuffix : name;
}

std::optional<StatsMethod> StatsMethodNamed(std::string_view name)
{
    for (StatsMethod m : AllStatsMethods())
        if (name == StatsMethodName(m))
            return m;
    for (StatsMethod m : AllStatsMethods())
        if (const auto weighted = WeightedOf(m); weighted && name == StatsMethodName(*weighted))
            return weighted;
    for (StatsMethod m : {StatsMethod::RegressionConstrained, StatsMethod::ExponentialNlsConstrained,
                          StatsMethod::PowerNlsConstrained})
        if (name == StatsMethodName(m))
            return m;
    if (name == StatsMethodName(StatsMethod::RegressionStable))
        return StatsMethod::RegressionStable;
    return std::nullopt;
}

}  // namespace quilvex
