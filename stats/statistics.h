#pragma once
// The figures of every requested method for one point table: the "Fit
// quality" figures of the designed fits (bit for bit, each curve evaluated as
// drawn), and beside them the residual standard error, adjusted R^2, AICc,
// standard errors and 95 % intervals of the coefficients, the stability check
// of the regression, and the true least-squares exponential and power fits.
// The designed fits themselves are computed by the code that draws them.
#include <string>
#include <vector>

#include "data/state.h"
#include "stats/figures.h"
#include "stats/methods.h"

namespace quilvex {

struct StatsRequest {
    std::vector<StatsMethod> methods;  // in the order to report
    int regressionOrder = 3;           // 1..299, as the main window allows
    int lagrangeOrder = 3;             // from 2; kept below n as a replot keeps it
    std::vector<Real> at;              // x values to evaluate every method at
};

// The table warnings (the ascending adjustment) go into every method's
// warnings. s holds the point table (3 <= n <= MaxPoints); its fits, orders
// and method switches are set here. The FPU flags are left clear.
std::vector<MethodFigures> ComputeStatistics(QuilvexState& s, const StatsRequest& request,
                                             const std::vector<std::string>& tableWarnings);

// The designed fit's SSR exceeds the stable one by more than this, relatively:
// the regression is numerically unreliable.
inline constexpr Real kUnreliableSsrExcess = 1e-6L;
// Condition numbers of the scaled Vandermonde matrix above this are warned of.
inline constexpr Real kIllConditioned = 1e15L;

}  // namespace quilvex
