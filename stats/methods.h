#pragma once
// The methods whose figures the statistics report: the seven designed fits and
// the two true least-squares fits beside them, under the names the command
// line takes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilvex {

enum class StatsMethod {
    Spline,
    Lagrange,
    LagrangeOrder,
    Regression,
    Exponential,
    Logarithmic,
    Power,
    ExponentialNls,
    PowerNls,
};

// All nine, in the order of the reports (the designed seven first).
const std::vector<StatsMethod>& AllStatsMethods();

// "spline", "lagrange", "lagrange-order", "regression", "exponential",
// "logarithmic", "power", "exponential-nls", "power-nls".
std::string StatsMethodName(StatsMethod method);
std::optional<StatsMethod> StatsMethodNamed(std::string_view name);

}  // namespace quilvex
