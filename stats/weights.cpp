#include "stats/weights.h"

#include <array>
#include <cmath>

#include "data/numtext.h"

namespace quilvex {

namespace {

constexpr std::array<const char*, 4> kNames{"none", "sigma", "y", "y2"};

std::string RowText(const StatsTable& table, std::size_t k) { return "row " + std::to_string(table.RowOf(k)) + ": "; }

// 1 / sigma^2 of a sigma cell, or why there is none.
std::optional<Real> SigmaWeight(const std::string& text, std::string& whyNot)
{
    const FloatText sigma = TextToFloat(text);
    if (text.empty())
        whyNot = "σ is empty";
    else if (!sigma.ok())
        whyNot = "σ is not a number ('" + text + "')";
    else if (!(sigma.value > 0))
        whyNot = "σ must be above 0 ('" + text + "')";
    else {
        const Real w = 1 / (sigma.value * sigma.value);
        ClearFpu();
        if (std::isfinite(w) && w > 0)
            return w;
        whyNot = "σ squared is beyond the range of numbers ('" + text + "')";
    }
    return std::nullopt;
}

std::optional<Real> YWeight(Weighting weighting, Real y, std::string& whyNot)
{
    if (weighting == Weighting::Y && !(y > 0)) {
        whyNot = "y must be above 0 for weights 1/y";
        return std::nullopt;
    }
    if (weighting == Weighting::Y2 && y == 0) {
        whyNot = "y must not be 0 for weights 1/y²";
        return std::nullopt;
    }
    const Real w = weighting == Weighting::Y ? 1 / y : 1 / (y * y);
    ClearFpu();
    if (std::isfinite(w) && w > 0)
        return w;
    whyNot = "the weight of y is beyond the range of numbers";
    return std::nullopt;
}

}  // namespace

std::string WeightingName(Weighting weighting) { return kNames[static_cast<std::size_t>(weighting)]; }

std::optional<Weighting> WeightingNamed(std::string_view name)
{
    for (std::size_t k = 0; k < kNames.size(); ++k)
        if (name == kNames[k])
            return static_cast<Weighting>(k);
    return std::nullopt;
}

PointWeights WeightsOf(Weighting weighting, const StatsTable& table)
{
    PointWeights result;
    if (weighting == Weighting::None)
        return result;
    if (weighting == Weighting::Sigma && table.sigma.size() != table.x.size()) {
        result.whyNot = "the table gives no σ";
        return result;
    }
    for (std::size_t k = 0; k < table.x.size(); ++k) {
        std::string whyNot;
        const std::optional<Real> w = weighting == Weighting::Sigma ? SigmaWeight(table.sigma[k], whyNot)
                                                                    : YWeight(weighting, table.y[k], whyNot);
        if (!w) {
            result.w.clear();
            result.whyNot = RowText(table, k) + whyNot;
            return result;
        }
        result.w.push_back(*w);
    }
    return result;
}

}  // namespace quilvex
