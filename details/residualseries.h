#pragma once
// What the residual plot of the "Fit details" window shows for the rows
// chosen: each row's residuals at the points fitted and, where its curve has
// a formula, at the points left out; or, asked for, the weighted rows'
// normalised residuals r sqrt(w) (r / sigma under sigma) only.
#include <vector>

#include "details/detailsjob.h"
#include "details/residualplot.h"

namespace quilvex {

std::vector<ResidualSeries> ResidualSeriesOf(const DetailsResult& result, const std::vector<bool>& chosen,
                                             bool normalised);

}  // namespace quilvex
