#pragma once
// The true least-squares exponential (y = a e^(b x)) and power (y = a x^b)
// fits: SSR in y itself minimised by Levenberg-Marquardt, beside the designed
// fits of the logarithms.
#include <optional>
#include <string>
#include <vector>

#include "data/fpfault.h"

namespace quilvex {

enum class NlsModel { Exponential, Power };

struct NlsFit {
    bool converged = false;
    std::string whyNot;  // when not converged
    Real a = 0, b = 0;
    Real ssr = 0;
    std::vector<Real> residuals;  // y - f(x) at the solution
    // Diagonal of (J^T J)^-1 at the solution, empty when J lacks full rank.
    std::vector<Real> inverseGramDiagonal;
};

// Starts from (a, b); the power model needs every x > 0.
NlsFit FitNls(NlsModel model, const std::vector<Real>& x, const std::vector<Real>& y, Real a, Real b);

// a e^(b x), or a e^(b ln x) for x > 0; nullopt where the value is not a finite number.
std::optional<Real> NlsValue(NlsModel model, Real a, Real b, Real x);

}  // namespace quilvex
