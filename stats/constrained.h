#pragma once
// The constrained rows, solved exactly.
//
// The regression's polynomial: each held coefficient's term is taken from y,
// and through a point (x0, y0) a0 = y0 - sum_j a_j x0^j is substituted, so
// that y - y0 is regressed on the columns x^j - x0^j of the free j >= 1 (the
// origin is the point (0, 0)). The free coefficients come from the stable
// solver; a held coefficient has no standard error, nor a0 where a point sets it.
//
// The true least-squares fits with b held: a = sum y g / sum g^2, g = e^(b x)
// or x^b, exactly; with a held: SSR(b) is scanned and polished by Newton's
// method on its own derivatives, in extended precision.
//
// p = the free coefficients: dof = n - p, AICc with p. Without an intercept
// (through the origin, or a0 held at 0) R^2 is uncentred, 1 - SSR / sum y^2,
// and adjusted R^2 is 1 - (1 - R^2) n / (n - p).
//
// Given weights, each fit minimises chi2 = sum w r^2 instead: the polynomial's
// eliminated columns and target are scaled by sqrt(w) for the stable solver,
// with b held a = sum w y g / sum w g^2, with a held the scan and Newton's
// method run on chi2(b). The figures are a weighted row's (stats/weighted.h)
// with p the free coefficients; without an intercept R^2 = 1 - chi2 / sum w y^2.
#include <vector>

#include "stats/constrainedfigures.h"
#include "stats/constraints.h"
#include "stats/linear.h"

namespace quilvex {

MethodFigures ConstrainedRegressionRow(const std::vector<Real>& x, const std::vector<Real>& y, int order,
                                       const Constraints& c, const std::vector<Real>& at,
                                       const FitWeights& weights = {});

// The columns of the free coefficients at xs (x^j, or x^j - x0^j through a
// point), in the order of the solution: what a band of the constrained
// polynomial needs beside its fitted covariance. No columns where every
// coefficient is set.
DesignMatrix ConstrainedDesignOf(const std::vector<Real>& xs, int order, const Constraints& c);

// method: ExponentialNlsConstrained or PowerNlsConstrained.
MethodFigures ConstrainedNlsRow(StatsMethod method, const std::vector<Real>& x, const std::vector<Real>& y,
                                const Constraints& c, const std::vector<Real>& at, const FitWeights& weights = {});

}  // namespace quilvex
