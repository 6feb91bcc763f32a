#include "stats/methods.h"

#include <utility>

namespace quilvex {

namespace {

const std::pair<StatsMethod, const char*> kNames[] = {
    {StatsMethod::Spline, "spline"},
    {StatsMethod::Lagrange, "lagrange"},
    {StatsMethod::LagrangeOrder, "lagrange-order"},
    {StatsMethod::Regression, "regression"},
    {StatsMethod::Exponential, "exponential"},
    {StatsMethod::Logarithmic, "logarithmic"},
    {StatsMethod::Power, "power"},
    {StatsMethod::ExponentialNls, "exponential-nls"},
    {StatsMethod::PowerNls, "power-nls"},
};

}  // namespace

const std::vector<StatsMethod>& AllStatsMethods()
{
    static const std::vector<StatsMethod> all = [] {
        std::vector<StatsMethod> methods;
        for (const auto& entry : kNames)
            methods.push_back(entry.first);
        return methods;
    }();
    return all;
}

std::string StatsMethodName(StatsMethod method)
{
    for (const auto& [m, name] : kNames)
        if (m == method)
            return name;
    return {};
}

std::optional<StatsMethod> StatsMethodNamed(std::string_view name)
{
    for (const auto& [m, text] : kNames)
        if (name == text)
            return m;
    return std::nullopt;
}

}  // namespace quilvex
