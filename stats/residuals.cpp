#include "stats/residuals.h"

#include "stats/designed.h"
#include "stats/nls.h"

namespace quilvex {

namespace {

std::vector<Real> DesignedResiduals(QuilvexState& s, Method method)
{
    std::vector<Real> residuals;
    for (int i = 1; i <= s.n; ++i) {
        const AtValue at = DesignedValueAt(s, method, s.x[i]);
        if (!at.y)
            return {};
        residuals.push_back(s.y[i] - *at.y);
    }
    return residuals;
}

std::vector<Real> NlsResiduals(const QuilvexState& s, const MethodFigures& row)
{
    const NlsModel model = row.method == StatsMethod::PowerNls ? NlsModel::Power : NlsModel::Exponential;
    std::vector<Real> residuals;
    for (int i = 1; i <= s.n; ++i) {
        const auto y = NlsValue(model, row.coefficients[0].value, row.coefficients[1].value, s.x[i]);
        if (!y)
            return {};
        residuals.push_back(s.y[i] - *y);
    }
    return residuals;
}

}  // namespace

std::vector<std::vector<Real>> ComputeResiduals(QuilvexState& s, const std::vector<MethodFigures>& rows)
{
    std::vector<std::vector<Real>> result;
    for (const MethodFigures& row : rows) {
        if (!row.failure.empty() || !row.ssr.value)
            result.emplace_back();
        else if (const auto designed = DesignedMethodOf(row.method))
            result.push_back(DesignedResiduals(s, *designed));
        else
            result.push_back(NlsResiduals(s, row));
    }
    ClearFpu();
    return result;
}

}  // namespace quilvex
