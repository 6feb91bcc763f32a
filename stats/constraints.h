#pragma once
// The user's constraints on a fit: the regression's polynomial through the
// origin, through a point, or with coefficients held at given values; the
// true least-squares exponential and power fits with a or b held. A
// constrained fit is solved exactly and reported as its own row beside the
// free one (`regression-constrained`, ...).
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/fpfault.h"
#include "stats/methods.h"

namespace quilvex {

struct HeldCoefficient {
    std::string name;  // as the output names it: a0, a1, ..., or a, b
    Real value = 0;
    friend bool operator==(const HeldCoefficient&, const HeldCoefficient&) = default;
};

struct Constraints {
    bool throughOrigin = false;                     // a0 = 0
    std::optional<std::pair<Real, Real>> through;  // the curve passes through (x0, y0)
    std::vector<HeldCoefficient> held;

    bool Empty() const { return !throughOrigin && !through && held.empty(); }
    // The constraints as the output lists them: "a0=0", "through=(1,2)", "b=0.5".
    std::vector<std::string> Labels() const;
    friend bool operator==(const Constraints&, const Constraints&) = default;
};

// The constraints of each method that takes them, as the window sets them and
// the data file keeps them: the regression, the true least-squares exponential
// and power fits.
struct MethodConstraints {
    Constraints regression, exponentialNls, powerNls;

    // The constraints of the row's model (its free, weighted or constrained
    // row alike); nullptr for a method that takes none.
    const Constraints* Of(StatsMethod method) const;
    Constraints* Of(StatsMethod method);
    bool Empty() const { return regression.Empty() && exponentialNls.Empty() && powerNls.Empty(); }
    friend bool operator==(const MethodConstraints&, const MethodConstraints&) = default;

    // The command line's one set: each method takes what concerns it.
    static MethodConstraints Shared(const Constraints& c);
};

// The methods that take constraints, in the order of the rows.
inline constexpr StatsMethod kConstrainableMethods[] = {StatsMethod::Regression, StatsMethod::ExponentialNls,
                                                       StatsMethod::PowerNls};

// The data file's comment lines, the text after "; constraints:": one per
// method with constraints, "regression a0=0 a2=1.5", "regression
// through=(1,2)", "exponential-nls b=-0.5", each value in the digits that
// read back to it exactly.
std::vector<std::string> ConstraintLineTexts(const MethodConstraints& c);
// The constraints of those texts; a method, or a constraint of its, that
// cannot be read is skipped; of two lines of a method the later stands. Whether they can be set on the regression of a
// given order is the fit's to say.
MethodConstraints ReadConstraintLines(const std::vector<std::string>& texts);

// The labels of those constraints that concern the method's model.
std::vector<std::string> LabelsFor(const Constraints& c, StatsMethod method);

// Whether the constraints concern the row's model: the regression takes every
// kind, the true least-squares fits only held a or b.
bool ConstraintsApplyTo(const Constraints& c, StatsMethod method);

// Why the constraints cannot be set on the method (the regression of the
// given order), or nullopt: more constraints than coefficients, a name the
// method does not have, a name held twice, a point the model cannot pass
// through (any point for the exponential and power fits, whose curve would
// have to be searched for), x0 <= 0 for power.
std::optional<std::string> WhyConstraintsInvalid(const Constraints& c, StatsMethod method, int order);

// The constrained row following a free row, where the constraints concern it.
std::optional<StatsMethod> ConstrainedOf(StatsMethod method);

// The fewest digits that read back to v exactly, as ParseHeld reads them.
std::string ExactDigits(Real v);

// "a0=1.5" into a held coefficient; nullopt where it is not NAME=NUMBER.
// The number is read as C reads it, whatever the locale.
std::optional<HeldCoefficient> ParseHeld(const std::string& text);

}  // namespace quilvex
