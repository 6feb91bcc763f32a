#include "stats/constraints.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "stats/figures.h"

namespace quilvex {

namespace {

// "a0", "a1", ...: the regression's coefficient index, or nullopt.
std::optional<int> PolynomialIndex(const std::string& name)
{
    if (name.size() < 2 || name[0] != 'a' || name.size() > 4)
        return std::nullopt;
    if (!std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::atoi(name.c_str() + 1);
}

bool NlsName(const std::string& name) { return name == "a" || name == "b"; }

std::optional<std::string> WhyNlsInvalid(const Constraints& c, StatsMethod method)
{
    int count = 0;
    for (const HeldCoefficient& h : c.held)
        count += NlsName(h.name);
    if (count > 1)
        return StatsMethodName(method) + ": a and b both held leave nothing to fit; hold one of them";
    (void)method;
    return std::nullopt;
}

std::optional<std::string> WhyRegressionInvalid(const Constraints& c, int order)
{
    if (c.throughOrigin && c.through)
        return std::string("through the origin and through a point: give one point");
    std::vector<int> heldIndices;
    for (const HeldCoefficient& h : c.held) {
        const auto j = PolynomialIndex(h.name);
        if (!j)
            continue;
        if (*j > order)
            return "the regression of order " + std::to_string(order) + " has no coefficient " + h.name;
        if (std::find(heldIndices.begin(), heldIndices.end(), *j) != heldIndices.end())
            return h.name + " is held twice";
        heldIndices.push_back(*j);
    }
    const bool a0Held = std::find(heldIndices.begin(), heldIndices.end(), 0) != heldIndices.end();
    if (a0Held && (c.throughOrigin || c.through))
        return std::string("a0 is held and also set by the point the curve passes through");
    const std::size_t count = heldIndices.size() + (c.throughOrigin || c.through ? 1 : 0);
    if (count > static_cast<std::size_t>(order) + 1)
        return std::to_string(count) + " constraints on the regression's " + std::to_string(order + 1) +
               " coefficients";
    return std::nullopt;
}

}  // namespace

std::vector<std::string> Constraints::Labels() const
{
    std::vector<std::string> labels;
    if (throughOrigin)
        labels.push_back("a0=0");
    if (through)
        labels.push_back("through=(" + NoteDigits(through->first) + "," + NoteDigits(through->second) + ")");
    for (const HeldCoefficient& h : held)
        labels.push_back(h.name + "=" + NoteDigits(h.value));
    return labels;
}

std::vector<std::string> LabelsFor(const Constraints& c, StatsMethod method)
{
    Constraints own;
    if (!method.trueLeastSquares) {
        own.throughOrigin = c.throughOrigin;
        own.through = c.through;
    }
    for (const HeldCoefficient& h : c.held)
        if (method.trueLeastSquares ? NlsName(h.name) : PolynomialIndex(h.name).has_value())
            own.held.push_back(h);
    return own.Labels();
}

bool ConstraintsApplyTo(const Constraints& c, StatsMethod method)
{
    const auto ofThisMethod = [&](const HeldCoefficient& h) {
        return method.trueLeastSquares ? NlsName(h.name) : PolynomialIndex(h.name).has_value();
    };
    if (method.weighted || method.stableSolver || method.constrained)
        return false;
    if (method.fit == Method::Regression)
        return c.throughOrigin || c.through || std::any_of(c.held.begin(), c.held.end(), ofThisMethod);
    return method.trueLeastSquares && std::any_of(c.held.begin(), c.held.end(), ofThisMethod);
}

std::optional<std::string> WhyConstraintsInvalid(const Constraints& c, StatsMethod method, int order)
{
    for (const HeldCoefficient& h : c.held)
        if (!NlsName(h.name) && !PolynomialIndex(h.name))
            return "no method has a coefficient named '" + h.name + "' (a0, a1, ... or a, b)";
    if (method.fit == Method::Regression)
        return WhyRegressionInvalid(c, order);
    return WhyNlsInvalid(c, method);
}

std::optional<StatsMethod> ConstrainedOf(StatsMethod method)
{
    if (method.weighted || method.stableSolver || method.constrained)
        return std::nullopt;
    if (method.fit == Method::Regression)
        return StatsMethod::RegressionConstrained;
    if (method.trueLeastSquares)
        return StatsMethod{method.fit, true, false, false, true};
    return std::nullopt;
}

std::optional<HeldCoefficient> ParseHeld(const std::string& text)
{
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == text.size())
        return std::nullopt;
    const std::string valueText = text.substr(eq + 1);
    char* end = nullptr;
    const Real value = std::strtold(valueText.c_str(), &end);
    if (end != valueText.c_str() + valueText.size() || !std::isfinite(value))
        return std::nullopt;
    return HeldCoefficient{text.substr(0, eq), value};
}

}  // namespace quilvex
