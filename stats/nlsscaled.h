#pragma once
// The fit of stats/nls.h in scaled terms, where it is well conditioned
// whatever the units: with u = x or ln x and s half the range of u, the model
// is Y = A e^(B e), Y = y / 2^k (|Y| <= 1, exact), B = b s and e = (u - u0) / s
// measured from an anchor u0, the least or the greatest u. Anchored at the end
// towards which B points (the greatest u for B > 0), e^(B e) <= 1 at every
// point: no value overflows however large |B| grows, the points far from that
// end only underflow towards 0, and as |B| grows without end the SSR tends to
// a limit (the points at that end fitted by their mean, every other by 0).
// Offsets are formed from the end itself (x - x0, or log1p((x - x0) / x0)), so
// points close to the end keep their small differences.
// A weighted fit multiplies each residual and each row of the Jacobian by the
// root of the point's weight (divided by the largest weight, so each root is
// at most 1): every sum below is then the weighted one, and the weights' own
// size never overflows. Without weights every root is exactly 1.
#include <vector>

#include "data/fpfault.h"

namespace quilvex {

struct ScaledData {
    std::vector<Real> Y;                  // root times y / 2^yExponent
    std::vector<Real> plainY;             // y / 2^yExponent
    std::vector<Real> root;               // sqrt(w / largest w), 1 unweighted
    Real weightScale = 1;                 // the largest w, 1 unweighted
    std::vector<Real> fromLow, fromHigh;  // e from the least and from the greatest u
    Real halfRange = 0;                   // s
    Real uLow = 0, uHigh = 0;             // the least and the greatest u
    int yExponent = 0;                    // y = plainY 2^yExponent
    Real normY = 0;                       // |Y|
};

// x and y finite, x > 0 for the power model, u not all equal, y not all 0;
// weights empty, or one finite number above 0 for each point.
ScaledData ScaleData(bool power, const std::vector<Real>& x, const std::vector<Real>& y,
                     const std::vector<Real>& weights);

// A sum of squares in scaled terms in those of y: times 4^yExponent and the largest weight.
Real Unscaled(const ScaledData& d, Real scaledSum);

// A e^(B e), e from the high end or the low one; ssr = |Y - root model|^2.
struct ScaledFit {
    Real A = 0, B = 0;
    bool high = true;
    Real ssr = 0;
};

// The best A for B, anchored at the end B points to.
ScaledFit Profile(const ScaledData& d, Real B);

// The SSR as B grows without end towards +infinity (up) or -infinity.
Real LimitSsr(const ScaledData& d, bool up);

// How far from its end the nearest other point lies, in e. Once |B| times
// this exceeds kWeightless, every point but those at the end weighs nothing
// and the SSR is its limit.
Real GapAtEnd(const ScaledData& d, bool high);
inline constexpr Real kWeightless = 90;

// plainY - model at every point: unweighted.
std::vector<Real> ScaledResiduals(const ScaledData& d, const ScaledFit& p);
// root e^(B e) at every point.
std::vector<Real> Weights(const ScaledData& d, const ScaledFit& p);
// e at every point, from the anchor of p.
const std::vector<Real>& Offsets(const ScaledData& d, const ScaledFit& p);

// How far the SSR of p may be off through rounding: 2 |r| e + e^2, e the
// rounding error of |r|. Two SSR closer than this are the same.
Real SsrRounding(const ScaledData& d, const ScaledFit& p);

// Converged: at a stationary point, where the cosine between the residual
// vector r and each column of the Jacobian (root e^(B e) and root A e e^(B e)) is below
// kStationaryCosine, |r| taken at least at the level of the rounding of Y.
inline constexpr Real kStationaryCosine = 1e-10L;
bool IsStationary(const ScaledData& d, const ScaledFit& p);

// Eigen's Levenberg-Marquardt from start, then Newton steps (exact Hessian)
// on extended-precision residuals until the step is at the rounding level.
ScaledFit Descend(const ScaledData& d, const ScaledFit& start);

// The B of least profile SSR between low and high, by golden sections down to
// a relative width of 1e-9: a start where the SSR hangs on points of tiny
// weight, whose linear model misleads a descent from further away.
Real LowestProfileBetween(const ScaledData& d, Real low, Real high);

// The same fit anchored at the other end.
ScaledFit Reanchored(const ScaledData& d, const ScaledFit& p);

}  // namespace quilvex
