#include "stats/constraints.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>

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

// The part of c that concerns the method's model: the point and a0, a1, ...
// for the regression, a and b for the true least-squares fits, none for others.
Constraints OwnPart(const Constraints& c, StatsMethod method)
{
    Constraints own;
    const bool regression = method.fit == Method::Regression;
    if (!regression && !method.trueLeastSquares)
        return own;
    if (regression) {
        own.throughOrigin = c.throughOrigin;
        own.through = c.through;
    }
    for (const HeldCoefficient& h : c.held)
        if (regression ? PolynomialIndex(h.name).has_value() : NlsName(h.name))
            own.held.push_back(h);
    return own;
}

// A number as C writes it, in the whole text; nullopt otherwise or beyond the range.
std::optional<Real> ReadNumber(std::string_view text)
{
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    Real value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// One constraint of a file line: "a0=0" (through the origin), "through=(x,y)"
// or a held coefficient of the method.
void ReadConstraintWord(const std::string& word, StatsMethod method, Constraints& own)
{
    const bool regression = method.fit == Method::Regression;
    if (regression && word.rfind("through=(", 0) == 0 && word.back() == ')') {
        const std::string pair = word.substr(9, word.size() - 10);
        const auto comma = pair.find(',');
        const auto x = comma == std::string::npos ? std::nullopt : ReadNumber(std::string_view(pair).substr(0, comma));
        const auto y = comma == std::string::npos ? std::nullopt : ReadNumber(std::string_view(pair).substr(comma + 1));
        if (x && y)
            own.through = std::pair<Real, Real>{*x, *y};
        return;
    }
    const auto held = ParseHeld(word);
    if (!held || !(regression ? PolynomialIndex(held->name).has_value() : NlsName(held->name)))
        return;
    if (regression && held->name == "a0" && held->value == 0 && !own.through)
        own.throughOrigin = true;
    else
        own.held.push_back(*held);
}

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

std::vector<std::string> LabelsFor(const Constraints& c, StatsMethod method) { return OwnPart(c, method).Labels(); }

bool ConstraintsApplyTo(const Constraints& c, StatsMethod method)
{
    return !method.weighted && !method.stableSolver && !method.constrained && !OwnPart(c, method).Empty();
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

std::string ExactDigits(Real v)
{
    char digits[64];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    return std::string(digits, end);
}

std::optional<HeldCoefficient> ParseHeld(const std::string& text)
{
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == text.size())
        return std::nullopt;
    const auto value = ReadNumber(std::string_view(text).substr(eq + 1));
    if (!value)
        return std::nullopt;
    return HeldCoefficient{text.substr(0, eq), *value};
}

const Constraints* MethodConstraints::Of(StatsMethod method) const
{
    if (method.fit == Method::Regression)
        return &regression;
    if (method.trueLeastSquares && method.fit == Method::Exponential)
        return &exponentialNls;
    if (method.trueLeastSquares && method.fit == Method::Power)
        return &powerNls;
    return nullptr;
}

Constraints* MethodConstraints::Of(StatsMethod method)
{
    return const_cast<Constraints*>(std::as_const(*this).Of(method));
}

MethodConstraints MethodConstraints::Shared(const Constraints& c)
{
    MethodConstraints shared;
    for (const StatsMethod method : kConstrainableMethods)
        *shared.Of(method) = OwnPart(c, method);
    return shared;
}

std::vector<std::string> ConstraintLineTexts(const MethodConstraints& c)
{
    std::vector<std::string> texts;
    for (const StatsMethod method : kConstrainableMethods) {
        const Constraints& own = *c.Of(method);
        if (own.Empty())
            continue;
        std::string text = StatsMethodName(method);
        if (own.throughOrigin)
            text += " a0=0";
        if (own.through)
            text += " through=(" + ExactDigits(own.through->first) + "," + ExactDigits(own.through->second) + ")";
        for (const HeldCoefficient& h : own.held)
            text += " " + h.name + "=" + ExactDigits(h.value);
        texts.push_back(text);
    }
    return texts;
}

MethodConstraints ReadConstraintLines(const std::vector<std::string>& texts)
{
    MethodConstraints read;
    for (const std::string& text : texts) {
        std::istringstream words(text);
        std::string name, word;
        words >> name;
        const auto method = StatsMethodNamed(name);
        Constraints* own = method ? read.Of(*method) : nullptr;
        if (!own || !(*method == StatsMethod::Regression || method->trueLeastSquares) || method->weighted ||
            method->constrained || method->stableSolver)
            continue;
        *own = {};  // a later line of the method stands in place of an earlier one
        while (words >> word)
            ReadConstraintWord(word, *method, *own);
    }
    return read;
}

}  // namespace quilvex
