#pragma once
// The weighting of a weighted fit, and the weight of each point under it:
//   none    no weighted fit (the designed fits only)
//   sigma   w = 1 / sigma^2, sigma the uncertainty of y given with the point
//           (instrumental errors)
//   y       w = 1 / y, for counts (variance proportional to y)
//   y2      w = 1 / y^2, for relative errors (error proportional to y)
// A weight that cannot be formed (sigma empty, not a number, 0 or below; y at
// or below 0 under 1/y; y = 0 under 1/y^2) leaves every weighted figure not
// defined, and the reason names the table row.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/fpfault.h"

namespace quilvex {

enum class Weighting { None, Sigma, Y, Y2 };

// "none", "sigma", "y", "y2": the names `quilvex fit --weights` takes and JSON writes.
std::string WeightingName(Weighting weighting);
std::optional<Weighting> WeightingNamed(std::string_view name);

// The points a fit takes and what the user said about them.
struct StatsTable {
    std::vector<Real> x, y;          // the points fitted, in table order (excluded points left out)
    std::vector<std::string> sigma;  // the sigma text of each point; empty: the table gives none
    std::vector<int> rows;           // the table row (from 1) of each point; empty: point k is row k
    std::vector<int> excludedRows;   // the rows left out of every fit, from 1
    int RowOf(std::size_t point) const { return rows.empty() ? static_cast<int>(point) + 1 : rows[point]; }
};

struct PointWeights {
    std::vector<Real> w;  // one per point, when every weight could be formed
    std::string whyNot;   // otherwise, e.g. "row 7: σ must be above 0 ('0')"
};
PointWeights WeightsOf(Weighting weighting, const StatsTable& table);

}  // namespace quilvex
