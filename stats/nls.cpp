#include "stats/nls.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>

#include "data/numtext.h"
#include "stats/figures.h"
#include "stats/nlsscaled.h"

namespace quilvex {

namespace {

constexpr Real kFirstScannedB = 1.0L / 16;
constexpr Real kScanFactor = 1.414213562373095048802L;
// Two descents whose B agree this closely ended at the same minimum.
constexpr Real kSameMinimum = 1e-9L;

// The SSR as B grows without end towards -infinity and +infinity.
struct Limits {
    Real down = 0, up = 0;
    Real Lowest() const { return std::min(down, up); }
    // A minimum on the side of B counts only below that side's limit: above
    // it the SSR still falls further out (where a descent may stall).
    bool Below(const ScaledFit& p) const { return p.ssr < (p.B < 0 ? down : up); }
};

// The profile SSR from the largest negative B scanned, through 0, to the largest positive one.
std::vector<ScaledFit> Scan(const ScaledData& d)
{
    std::vector<ScaledFit> scan;
    for (const bool up : {false, true}) {
        std::vector<ScaledFit> side;
        const Real last = kWeightless / GapAtEnd(d, up);
        for (Real B = kFirstScannedB; side.empty() || B <= last * kScanFactor; B *= kScanFactor)
            side.push_back(Profile(d, up ? B : -B));
        if (!up) {
            scan.assign(side.rbegin(), side.rend());
            scan.push_back(Profile(d, 0));
        } else {
            scan.insert(scan.end(), side.begin(), side.end());
        }
    }
    return scan;
}

// The scanned B below their neighbours and their side's limit, lowest SSR first.
std::vector<std::size_t> Dips(const std::vector<ScaledFit>& scan, const Limits& limits)
{
    std::vector<std::size_t> dips;
    for (std::size_t j = 1; j + 1 < scan.size(); ++j)
        if (scan[j].ssr < scan[j - 1].ssr && scan[j].ssr <= scan[j + 1].ssr && limits.Below(scan[j]))
            dips.push_back(j);
    std::sort(dips.begin(), dips.end(), [&](std::size_t i, std::size_t j) { return scan[i].ssr < scan[j].ssr; });
    return dips;
}

bool SameB(Real B1, Real B2)
{
    return std::fabs(B1 - B2) <= kSameMinimum * std::max<Real>({std::fabs(B1), std::fabs(B2), 1});
}

struct Search {
    std::vector<ScaledFit> minima;  // the stationary ends of descents, one per B, lowest SSR first
    ScaledFit lowest;               // the lowest SSR met, scanned or descended to
};

Search Explore(const ScaledData& d, const std::vector<Real>& startingB, const Limits& limits)
{
    const std::vector<ScaledFit> scan = Scan(d);
    Search search;
    search.lowest = *std::min_element(scan.begin(), scan.end(), [](auto& p, auto& q) { return p.ssr < q.ssr; });
    const auto descend = [&](Real B, const ScaledFit* cellLow, const ScaledFit* cellHigh) {
        ScaledFit end = Descend(d, Profile(d, B));
        if (cellLow && !IsStationary(d, end))
            end = Descend(d, Profile(d, LowestProfileBetween(d, cellLow->B, cellHigh->B)));
        if (end.ssr < search.lowest.ssr)
            search.lowest = end;
        const bool known = std::any_of(search.minima.begin(), search.minima.end(),
                                       [&](const ScaledFit& m) { return SameB(m.B, end.B); });
        if (!known && limits.Below(end) && IsStationary(d, end))
            search.minima.push_back(end);
    };
    for (Real b : startingB)
        descend(b * d.halfRange, nullptr, nullptr);
    for (std::size_t j : Dips(scan, limits)) {
        const auto inCell = [&](const ScaledFit& m) { return scan[j - 1].B < m.B && m.B < scan[j + 1].B; };
        if (std::none_of(search.minima.begin(), search.minima.end(), inCell))
            descend(scan[j].B, &scan[j - 1], &scan[j + 1]);
    }
    std::sort(search.minima.begin(), search.minima.end(), [](auto& p, auto& q) { return p.ssr < q.ssr; });
    return search;
}

std::string Unfittable(bool power, const std::vector<Real>& x, const std::vector<Real>& y)
{
    const auto finite = [](Real v) { return std::isfinite(v); };
    if (!std::all_of(x.begin(), x.end(), finite) || !std::all_of(y.begin(), y.end(), finite))
        return "did not converge: x and y must be finite numbers";
    if (std::all_of(y.begin(), y.end(), [](Real v) { return v == 0; }))
        return "no unique optimum: every y is 0, so a = 0 fits with any b";
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    if (*low == *high)
        return "no unique optimum: every x is the same, so b is not determined";
    if (!power && !std::isfinite(*high - *low))
        return "did not converge: the range of x is beyond the range of numbers";
    return {};
}

std::string Unweighable(const std::vector<Real>& weights, std::size_t count)
{
    if (weights.empty())
        return {};
    if (weights.size() != count)
        return "did not converge: there must be one weight for each point";
    if (!std::all_of(weights.begin(), weights.end(), [](Real w) { return std::isfinite(w) && w > 0; }))
        return "did not converge: every weight must be a finite number above 0";
    return {};
}

Real AnchorU(const ScaledData& d, const ScaledFit& p) { return p.high ? d.uHigh : d.uLow; }

// a = 2^k A e^(-b u0), formed directly where e^(-b u0) is a number, else from
// its logarithm; an empty reason when a and b are numbers.
std::string ToOriginal(const ScaledData& d, const ScaledFit& p, NlsFit& fit)
{
    fit.b = p.B / d.halfRange;
    if (!std::isfinite(fit.b))
        return "did not converge: the optimal b is beyond the range of numbers";
    const Real lnScale = -fit.b * AnchorU(d, p);
    fit.a = std::ldexp(p.A * std::exp(lnScale), d.yExponent);
    if (std::isnormal(fit.a) || p.A == 0)
        return {};
    const Real lnA = std::log(std::fabs(p.A)) + d.yExponent * std::log(2.0L) + lnScale;
    fit.a = std::copysign(std::exp(lnA), p.A);
    if (std::isnormal(fit.a))
        return {};
    return "did not converge: the optimum has a = e^" + NoteDigits(lnA) + ", beyond the range of numbers";
}

// sqrt of the diagonal of (J^T J)^-1 in a and b, from the covariance of the
// scaled fit: (A, B) -> (a, b) = (2^k A e^(-B u0 / s), B / s), and the scaled
// Jacobian is 2^-k times the one in y.
std::vector<Real> UnitStandardErrors(const ScaledData& d, const ScaledFit& p)
{
    using Matrix2 = Eigen::Matrix<Real, 2, 2>;
    const std::vector<Real> g = Weights(d, p);
    const std::vector<Real>& e = Offsets(d, p);
    Eigen::Matrix<Real, Eigen::Dynamic, 2> J(static_cast<Eigen::Index>(g.size()), 2);
    for (std::size_t i = 0; i < g.size(); ++i)
        J.row(static_cast<Eigen::Index>(i)) << g[i], p.A * e[i] * g[i];
    const Eigen::ColPivHouseholderQR<decltype(J)> qr(J);
    if (p.A == 0 || qr.rank() < 2)
        return {};
    const Matrix2 rInverse = qr.matrixR().topLeftCorner(2, 2).triangularView<Eigen::Upper>().solve(Matrix2::Identity());
    const auto& P = qr.colsPermutation();
    const Matrix2 covariance = P * (rInverse * rInverse.transpose()) * P.transpose();
    const Eigen::Matrix<Real, 2, 1> h(1, -p.A * AnchorU(d, p) / d.halfRange);
    const Real lnScale = -(p.B / d.halfRange) * AnchorU(d, p);
    // The roots of the weights were divided by the root of the largest: undone here.
    const Real seA = std::exp(lnScale + (std::log(h.dot(covariance * h)) - std::log(d.weightScale)) / 2);
    const Real seB = std::ldexp(std::sqrt(covariance(1, 1)) / d.halfRange, -d.yExponent) / std::sqrt(d.weightScale);
    if (!std::isfinite(seA) || !std::isfinite(seB))
        return {};
    return {seA, seB};
}

// What the fit minimises, as the verdicts and notes name it.
std::string SumName(const std::vector<Real>& weights) { return weights.empty() ? "SSR" : "chi2"; }

std::string OtherMinimaNote(const ScaledData& d, const std::vector<ScaledFit>& minima, const std::string& sum)
{
    const ScaledFit& next = minima[1];
    return "the starts ended at " + std::to_string(minima.size()) + " different minima; the lowest " + sum +
           " is reported (next: " + sum + " " + NoteDigits(Unscaled(d, next.ssr)) +
           " at b = " + NoteDigits(next.B / d.halfRange) + ")";
}

void TakeSolution(const ScaledData& d, const Search& search, const std::vector<Real>& weights, NlsFit& fit)
{
    const ScaledFit& best = search.minima.front();
    for (Real r : ScaledResiduals(d, best)) {
        fit.residuals.push_back(std::ldexp(r, d.yExponent));
        const Real weight = weights.empty() ? 1 : weights[fit.residuals.size() - 1];
        fit.ssr += weight * fit.residuals.back() * fit.residuals.back();
    }
    if (!std::isfinite(fit.ssr)) {
        fit.whyNot = "did not converge: the " + SumName(weights) + " overflows at the solution";
        return;
    }
    fit.converged = true;
    fit.unitStandardErrors = UnitStandardErrors(d, best);
    if (search.minima.size() > 1)
        fit.notes.push_back(OtherMinimaNote(d, search.minima, SumName(weights)));
}

}  // namespace

NlsFit FitNls(NlsModel model, const std::vector<Real>& x, const std::vector<Real>& y,
              const std::vector<Real>& startingB, const std::vector<Real>& weights)
{
    const FpuFlagsKeeper keep;
    const bool power = model == NlsModel::Power;
    NlsFit fit;
    fit.whyNot = Unfittable(power, x, y);
    if (fit.whyNot.empty())
        fit.whyNot = Unweighable(weights, y.size());
    if (!fit.whyNot.empty())
        return fit;
    const ScaledData d = ScaleData(power, x, y, weights);
    const std::string sum = SumName(weights);
    const Limits limits{LimitSsr(d, false), LimitSsr(d, true)};
    const Search search = Explore(d, startingB, limits);
    if (!(search.lowest.ssr < limits.Lowest())) {
        fit.whyNot = "no finite optimum: the " + sum + " keeps falling as b grows towards " +
                     (limits.up <= limits.down ? "+infinity" : "-infinity") + " (towards " + sum + " " +
                     NoteDigits(Unscaled(d, limits.Lowest())) + ")";
        return fit;
    }
    const ScaledFit* best = search.minima.empty() ? nullptr : &search.minima.front();
    if (!best || search.lowest.ssr < best->ssr - SsrRounding(d, *best)) {
        fit.whyNot = "did not converge: no start reached a stationary point near the lowest " + sum + " found, " +
                     NoteDigits(Unscaled(d, search.lowest.ssr)) + " at b = " +
                     NoteDigits(search.lowest.B / d.halfRange);
        return fit;
    }
    fit.whyNot = ToOriginal(d, *best, fit);
    if (fit.whyNot.empty())
        TakeSolution(d, search, weights, fit);
    return fit;
}

std::optional<Real> NlsValue(NlsModel model, Real a, Real b, Real x)
{
    if (model == NlsModel::Power && !(x > 0))
        return std::nullopt;
    const Real u = model == NlsModel::Exponential ? x : std::log(x);
    Real value = a * std::exp(b * u);
    if (!std::isfinite(value) || (value == 0 && a != 0))  // e^(b u) alone out of range
        value = std::copysign(std::exp(std::log(std::fabs(a)) + b * u), a);
    return std::isfinite(value) ? std::optional<Real>(value) : std::nullopt;
}

}  // namespace quilvex
