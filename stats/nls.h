#pragma once
// The true least-squares exponential (y = a e^(b x)) and power (y = a x^b)
// fits: SSR in y itself minimised, beside the designed fits of the logarithms.
//
// With u = x or ln x the best a for a given b is linear, so the SSR is a
// function of b alone. It is scanned over b (in steps of a factor sqrt 2,
// scaled to the range of u, out to where every point but those at an end
// weighs nothing), and Eigen's Levenberg-Marquardt runs from the starts given
// (the designed fit, b = 0) and from every dip of that scan, each followed by
// Newton steps on extended-precision residuals (stats/nlsscaled.h). The fit is
// the stationary point of lowest SSR: converged means the cosine between the
// residual vector and each column of the Jacobian is below 1e-10 (|r| taken at
// least at the rounding level of y). The verdicts where there is no such fit:
//   "no finite optimum: ..."   no b does better than the limit of the SSR as b
//                              grows without end (the direction is named);
//   "did not converge: ..."    an optimum exists but no start reached it, or
//                              a or b at the optimum is beyond the range of
//                              numbers;
//   "no unique optimum: ..."   every y is 0, or every x is the same.
// With weights w (each a finite number above 0) the fit minimises
// chi2 = sum w (y - f(x))^2 instead: every step above, the verdicts and the
// notes are in those terms (and say chi2 where they said SSR).
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
    Real ssr = 0;                 // chi2 = sum w (y - f(x))^2 when weighted
    std::vector<Real> residuals;  // y - f(x) at the solution, unweighted
    // The standard errors of a and b over the residual standard error: the
    // square roots of the diagonal of (J^T J)^-1 at the solution, J the
    // Jacobian in a and b (never squared, so an a near the end of the range of
    // numbers keeps its error); weighted, of (J^T W J)^-1. Empty when J lacks
    // full rank.
    std::vector<Real> unitStandardErrors;
    std::vector<std::string> notes;  // the other minima the starts ended at
};

// startingB: the b of the designed fit and the like, each started with its
// best a. The power model needs every x > 0. weights: empty for the
// unweighted fit, else one for each point. Leaves the FPU flags as found.
NlsFit FitNls(NlsModel model, const std::vector<Real>& x, const std::vector<Real>& y,
              const std::vector<Real>& startingB, const std::vector<Real>& weights = {});

// a e^(b x), or a e^(b ln x) for x > 0; nullopt where the value is not a finite number.
std::optional<Real> NlsValue(NlsModel model, Real a, Real b, Real x);

}  // namespace quilvex
