#pragma once
// The designed fits as a replot computes them, one method at a time, so that
// one method's failure leaves the others: their messages, their "Fit quality"
// figures, and their values at an x as the interpolation report takes them.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/state.h"
#include "report/core/fitquality.h"
#include "stats/figures.h"
#include "stats/methods.h"

namespace quilvex {

// The designed method a statistics method reports, if it is one.
std::optional<Method> DesignedMethodOf(StatsMethod method);
// The designed fit a method needs: its own, the one a true least-squares fit
// starts from, or the one the stable regression is compared with.
Method FitNeededBy(StatsMethod method);

struct DesignedFit {
    std::string failure;                // the error that ended the fit
    std::vector<std::string> messages;  // what the fit added to the message line, each once and whole
    FitQuality quality;
};

struct DesignedFits {
    std::map<Method, DesignedFit> fits;
    const DesignedFit& Of(Method method) const { return fits.at(method); }
};

// Fits every designed method the request names, and those the true
// least-squares fits start from, then measures them as "Fit quality" does.
// Leaves the method switches on for the fits that succeeded.
DesignedFits PrepareDesignedFits(QuilvexState& s, const std::vector<StatsMethod>& methods);

// The fitted curve at X by the evaluator that draws it, with the range rules
// and texts of the interpolation report.
AtValue DesignedValueAt(QuilvexState& s, Method method, Real X);

}  // namespace quilvex
