#include "stats/nlsscaled.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <unsupported/Eigen/LevenbergMarquardt>

namespace quilvex {

namespace {

constexpr Real kEpsilon = std::numeric_limits<Real>::epsilon();
// A point whose weight e^(B e) is below e^-90 (under epsilon squared) changes
// no sum here beyond rounding, against the weight 1 at the anchor: it weighs
// nothing, and its exponential is not formed.
constexpr Real kNoWeight = -kWeightless;
// A residual where the model overflows: large enough that the step is refused.
constexpr Real kOverflowResidual = 1e300L;
constexpr int kMostEvaluations = 400;
constexpr int kMostNewtonSteps = 12;
constexpr int kMostGoldenSections = 100;  // a width of 1e-21 of the first: ends a search that straddles 0

using Vector2 = Eigen::Matrix<Real, 2, 1>;
using Matrix2 = Eigen::Matrix<Real, 2, 2>;

const std::vector<Real>& Offsets(const ScaledData& d, bool high) { return high ? d.fromHigh : d.fromLow; }

Real Weight(Real B, Real e)
{
    const Real exponent = B * e;
    return exponent < kNoWeight ? 0 : std::exp(exponent);
}

// The model's e^(B e) at point i times the root of its weight.
Real Weight(const ScaledData& d, std::size_t i, Real B, Real e) { return d.root[i] * Weight(B, e); }

Real Ssr(const ScaledData& d, const ScaledFit& p)
{
    const std::vector<Real>& e = Offsets(d, p.high);
    Real ssr = 0;
    for (std::size_t i = 0; i < e.size(); ++i) {
        const Real r = d.Y[i] - p.A * Weight(d, i, p.B, e[i]);
        ssr += r * r;
    }
    return std::isfinite(ssr) ? ssr : std::numeric_limits<Real>::infinity();
}

// The error the rounding of Y and of the model leaves in |r|.
Real RoundingLevel(const ScaledData& d, Real A)
{
    return 16 * kEpsilon * (d.normY + std::fabs(A) * std::sqrt(static_cast<Real>(d.Y.size())));
}

// The Jacobian is asked for at the point last evaluated, whose weights it reuses.
struct AnchoredModel : Eigen::DenseFunctor<Real> {
    AnchoredModel(const ScaledData& data, bool high)
        : Eigen::DenseFunctor<Real>(2, static_cast<int>(data.Y.size())), d(data), e(Offsets(data, high))
    {
    }

    int operator()(const InputType& p, ValueType& f) const
    {
        WeighAt(p(1));
        for (std::size_t i = 0; i < e.size(); ++i) {
            const Real r = p(0) * g[i] - d.Y[i];
            f(static_cast<Eigen::Index>(i)) = std::isfinite(r) ? r : kOverflowResidual;
        }
        return 0;
    }

    int df(const InputType& p, JacobianType& J) const
    {
        WeighAt(p(1));
        for (std::size_t i = 0; i < e.size(); ++i) {
            const Eigen::Index row = static_cast<Eigen::Index>(i);
            const Real slope = p(0) * e[i] * g[i];
            J(row, 0) = std::isfinite(g[i]) ? g[i] : kOverflowResidual;
            J(row, 1) = std::isfinite(slope) ? slope : kOverflowResidual;
        }
        return 0;
    }

    void WeighAt(Real B) const
    {
        if (!g.empty() && B == weighedAt)
            return;
        g.resize(e.size());
        for (std::size_t i = 0; i < e.size(); ++i)
            g[i] = Weight(d, i, B, e[i]);
        weighedAt = B;
    }

    const ScaledData& d;
    const std::vector<Real>& e;
    mutable std::vector<Real> g;
    mutable Real weighedAt = 0;
};

ScaledFit Levenberg(const ScaledData& d, const ScaledFit& start)
{
    AnchoredModel model(d, start.high);
    Eigen::LevenbergMarquardt<AnchoredModel> lm(model);
    lm.setMaxfev(kMostEvaluations);
    Eigen::Matrix<Real, Eigen::Dynamic, 1> p(2);
    p << start.A, start.B;
    lm.minimize(p);
    ScaledFit end{p(0), p(1), start.high, 0};
    if (std::isfinite(end.A) && std::isfinite(end.B) && (end.B >= 0) != end.high)
        end = Reanchored(d, end);
    end.ssr = Ssr(d, end);
    return end;
}

// The gradient of SSR / 2 is -(sum g r, sum A e g r); its Hessian is J^T J
// less sum r times the second derivatives of the model.
bool NewtonStep(const ScaledData& d, const ScaledFit& p, Vector2& step)
{
    const std::vector<Real>& e = Offsets(d, p.high);
    Vector2 gradient = Vector2::Zero();
    Matrix2 gram = Matrix2::Zero(), curvature = Matrix2::Zero();
    for (std::size_t i = 0; i < e.size(); ++i) {
        const Real g = Weight(d, i, p.B, e[i]), r = d.Y[i] - p.A * g;
        const Vector2 column(g, p.A * e[i] * g);
        gradient += r * column;
        gram += column * column.transpose();
        curvature(0, 1) += r * e[i] * g;
        curvature(1, 1) += r * p.A * e[i] * e[i] * g;
    }
    curvature(1, 0) = curvature(0, 1);
    const Eigen::LDLT<Matrix2> newton(gram - curvature);
    step = newton.info() == Eigen::Success && newton.isPositive() ? Vector2(newton.solve(gradient))
                                                                  : Vector2(gram.ldlt().solve(gradient));
    return std::isfinite(step(0)) && std::isfinite(step(1));
}

ScaledFit Polish(const ScaledData& d, ScaledFit p)
{
    for (int k = 0; k < kMostNewtonSteps; ++k) {
        Vector2 step;
        if (!NewtonStep(d, p, step))
            break;
        ScaledFit next{p.A + step(0), p.B + step(1), p.high, 0};
        next.ssr = Ssr(d, next);
        if (!(next.ssr <= p.ssr + SsrRounding(d, p)))
            break;
        p = next;
        if (std::fabs(step(0)) <= 4 * kEpsilon * std::fabs(p.A) &&
            std::fabs(step(1)) <= 4 * kEpsilon * std::max<Real>(std::fabs(p.B), 1))
            break;
    }
    return p;
}

int ExponentOfLargest(const std::vector<Real>& y, const std::vector<Real>& root)
{
    Real largest = 0;
    for (std::size_t i = 0; i < y.size(); ++i)
        largest = std::max(largest, std::fabs(root[i] * y[i]));
    int exponent = 0;
    std::frexp(largest, &exponent);
    return exponent;
}

// sqrt(w / largest w), taken as sqrt w / sqrt(largest w) so that no quotient underflows first.
void Weigh(ScaledData& d, std::size_t count, const std::vector<Real>& weights)
{
    d.root.assign(count, 1);
    if (weights.empty())
        return;
    d.weightScale = *std::max_element(weights.begin(), weights.end());
    const Real rootOfLargest = std::sqrt(d.weightScale);
    for (std::size_t i = 0; i < count; ++i)
        d.root[i] = std::sqrt(weights[i]) / rootOfLargest;
}

}  // namespace

Real SsrRounding(const ScaledData& d, const ScaledFit& p)
{
    const Real level = RoundingLevel(d, p.A);
    return (2 * std::sqrt(p.ssr) + level) * level;
}

Real Unscaled(const ScaledData& d, Real scaledSum) { return std::ldexp(scaledSum, 2 * d.yExponent) * d.weightScale; }

ScaledData ScaleData(bool power, const std::vector<Real>& x, const std::vector<Real>& y,
                     const std::vector<Real>& weights)
{
    ScaledData d;
    Weigh(d, y.size(), weights);
    d.yExponent = ExponentOfLargest(y, d.root);
    for (std::size_t i = 0; i < y.size(); ++i) {
        d.plainY.push_back(std::ldexp(y[i], -d.yExponent));
        d.Y.push_back(d.root[i] * d.plainY.back());
        d.normY += d.Y.back() * d.Y.back();
    }
    d.normY = std::sqrt(d.normY);
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    const auto offset = [power](Real v, Real end) { return power ? std::log1p((v - end) / end) : v - end; };
    d.halfRange = offset(*high, *low) / 2;
    d.uLow = power ? std::log(*low) : *low;
    d.uHigh = power ? std::log(*high) : *high;
    for (Real v : x) {
        d.fromLow.push_back(offset(v, *low) / d.halfRange);
        d.fromHigh.push_back(offset(v, *high) / d.halfRange);
    }
    return d;
}

ScaledFit Profile(const ScaledData& d, Real B)
{
    ScaledFit p{0, B, B >= 0, 0};
    const std::vector<Real> g = Weights(d, p);
    Real gy = 0, gg = 0;
    for (std::size_t i = 0; i < g.size(); ++i) {
        gy += g[i] * d.Y[i];
        gg += g[i] * g[i];
    }
    p.A = gy / gg;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const Real r = d.Y[i] - p.A * g[i];
        p.ssr += r * r;
    }
    return p;
}

Real LimitSsr(const ScaledData& d, bool up)
{
    const std::vector<Real>& e = Offsets(d, up);
    Real sum = 0, count = 0;  // the weighted mean of the points at the end
    for (std::size_t i = 0; i < e.size(); ++i)
        if (e[i] == 0) {
            sum += d.root[i] * d.Y[i];
            count += d.root[i] * d.root[i];
        }
    const Real mean = sum / count;
    Real ssr = 0;
    for (std::size_t i = 0; i < e.size(); ++i) {
        const Real r = e[i] == 0 ? d.Y[i] - mean * d.root[i] : d.Y[i];
        ssr += r * r;
    }
    return ssr;
}

Real GapAtEnd(const ScaledData& d, bool high)
{
    Real gap = std::numeric_limits<Real>::infinity();
    for (Real e : Offsets(d, high))
        if (e != 0)
            gap = std::min(gap, std::fabs(e));
    return gap;
}

std::vector<Real> Weights(const ScaledData& d, const ScaledFit& p)
{
    const std::vector<Real>& e = Offsets(d, p.high);
    std::vector<Real> g;
    for (std::size_t i = 0; i < e.size(); ++i)
        g.push_back(Weight(d, i, p.B, e[i]));
    return g;
}

const std::vector<Real>& Offsets(const ScaledData& d, const ScaledFit& p) { return Offsets(d, p.high); }

std::vector<Real> ScaledResiduals(const ScaledData& d, const ScaledFit& p)
{
    const std::vector<Real>& e = Offsets(d, p.high);
    std::vector<Real> r;
    for (std::size_t i = 0; i < e.size(); ++i)
        r.push_back(d.plainY[i] - p.A * Weight(p.B, e[i]));
    return r;
}

bool IsStationary(const ScaledData& d, const ScaledFit& p)
{
    if (!std::isfinite(p.ssr) || !std::isfinite(p.A) || !std::isfinite(p.B))
        return false;
    const std::vector<Real>& e = Offsets(d, p.high);
    Real gr = 0, sr = 0, gg = 0, ss = 0;
    for (std::size_t i = 0; i < e.size(); ++i) {
        const Real g = Weight(d, i, p.B, e[i]), slope = p.A * e[i] * g, r = d.Y[i] - p.A * g;
        gr += g * r;
        sr += slope * r;
        gg += g * g;
        ss += slope * slope;
    }
    const Real allowed = std::max(kStationaryCosine * std::sqrt(p.ssr), RoundingLevel(d, p.A));
    return std::fabs(gr) <= allowed * std::sqrt(gg) && std::fabs(sr) <= allowed * std::sqrt(ss);
}

ScaledFit Descend(const ScaledData& d, const ScaledFit& start) { return Polish(d, Levenberg(d, start)); }

Real LowestProfileBetween(const ScaledData& d, Real low, Real high)
{
    const Real shrink = (std::sqrt(5.0L) - 1) / 2;
    Real left = high - shrink * (high - low), right = low + shrink * (high - low);
    Real leftSsr = Profile(d, left).ssr, rightSsr = Profile(d, right).ssr;
    for (int k = 0; k < kMostGoldenSections && high - low > 1e-9L * std::max(std::fabs(low), std::fabs(high)); ++k) {
        if (leftSsr <= rightSsr) {
            high = right;
            right = left;
            rightSsr = leftSsr;
            left = high - shrink * (high - low);
            leftSsr = Profile(d, left).ssr;
        } else {
            low = left;
            left = right;
            leftSsr = rightSsr;
            right = low + shrink * (high - low);
            rightSsr = Profile(d, right).ssr;
        }
    }
    return (low + high) / 2;
}

ScaledFit Reanchored(const ScaledData& d, const ScaledFit& p)
{
    // e from the other end differs by the whole range, 2 in e.
    ScaledFit other = p;
    other.high = !p.high;
    other.A = p.A * std::exp(p.B * (p.high ? -2 : 2));
    other.ssr = Ssr(d, other);
    return other;
}

}  // namespace quilvex
