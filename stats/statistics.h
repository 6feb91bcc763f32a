#pragma once
// The figures of every requested method for one point table: the "Fit
// quality" figures of the designed fits (bit for bit, each curve evaluated as
// drawn), and beside them the residual standard error, adjusted R^2, AICc,
// standard errors and 95 % intervals of the coefficients, the stability check
// of the regression (with the stable solver's fit where it flags the designed
// one), the verdict of an exact fit, and the true least-squares exponential
// and power fits.
// The designed fits themselves are computed by the code that draws them.
#include <optional>
#include <string>
#include <vector>

#include "data/state.h"
#include "stats/constraints.h"
#include "stats/figures.h"
#include "stats/methods.h"
#include "stats/regressioncheck.h"
#include "stats/weights.h"

namespace quilvex {

struct StatsRequest {
    std::vector<StatsMethod> methods;  // in the order to report
    int regressionOrder = 3;           // 1..299, as the main window allows
    int lagrangeOrder = 3;             // from 2; kept below n as a replot keeps it
    std::vector<Real> at;              // x values to evaluate every method at
    // With a weighting, each least-squares row is followed by its weighted row
    // (stats/weights.h); the interpolating rows note that weights do not apply.
    Weighting weighting = Weighting::None;
    // Where a row's model has constraints, its constrained fit follows it
    // (after its stable and weighted rows): stats/constrained.h.
    MethodConstraints constraints;
};

// The fitted points of a replot's state with their sigma texts, rows and the
// excluded rows.
StatsTable StatsTableOf(const QuilvexState& s);

// The figures for explicit inputs: the designed fits run on a state of their
// own holding table.x and table.y only. kept: a replot's regression fit and
// spline, taken over where their inputs match.
std::vector<MethodFigures> ComputeStatistics(const StatsTable& table, const StatsRequest& request,
                                             const std::vector<std::string>& tableWarnings,
                                             const FitCache* kept = nullptr);

// The curve of a least-squares row at X from its coefficients (the
// polynomial, a e^(b x), a + b ln x, a x^b); nullopt where the row has no
// coefficients, outside the model's domain or beyond the range of numbers.
std::optional<Real> RowValueAt(const MethodFigures& row, Real X);

// The table warnings (the ascending adjustment) go into every method's
// warnings. s holds the point table (3 <= n <= MaxPoints); its fits, orders
// and method switches are set here. The FPU flags are left clear.
std::vector<MethodFigures> ComputeStatistics(QuilvexState& s, const StatsRequest& request,
                                             const std::vector<std::string>& tableWarnings);

}  // namespace quilvex
