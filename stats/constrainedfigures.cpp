#include "stats/constrainedfigures.h"

#include <algorithm>
#include <cmath>

#include "stats/weighted.h"

namespace quilvex {

namespace {

// SSR, RMS and max |r| of the plain y residuals.
void SetPlainResidualFigures(MethodFigures& f, const std::vector<Real>& residuals)
{
    Real ssr = 0, largest = 0;
    for (const Real r : residuals) {
        ssr += r * r;
        largest = std::max(largest, std::fabs(r));
    }
    f.ssr = Figure::Of(ssr);
    f.rms = Figure::Of(std::sqrt(ssr / static_cast<Real>(residuals.size())));
    f.maxAbsResidual = Figure::Of(largest);
    f.residuals = residuals;
}

// Measured from 0, R^2 has n degrees of freedom to lose, not n - 1.
void NoteUncentred(MethodFigures& f, int n, int p)
{
    f.notes.push_back(kUncentredR2Note);
    if (f.r2.value && n > p)
        f.adjR2 = Figure::Of(1 - (1 - *f.r2.value) * n / (n - p));
}

}  // namespace

void SetResidualFigures(MethodFigures& f, const std::vector<Real>& y, const std::vector<Real>& residuals, int p,
                        bool uncentred)
{
    const int n = static_cast<int>(y.size());
    SetPlainResidualFigures(f, residuals);
    const Real ssr = *f.ssr.value;
    Real sumY2 = 0;
    for (const Real v : y)
        sumY2 += v * v;
    const Real spread = uncentred ? sumY2 : Spread(y);
    f.r2 = spread > 0 ? Figure::Of(1 - ssr / spread) : Figure::Undefined(uncentred ? "all y zero" : "all y equal");
    DeriveFromSsr(f, n, p);
    if (uncentred)
        NoteUncentred(f, n, p);
}

void SetChi2ResidualFigures(MethodFigures& f, const std::vector<Real>& y, const std::vector<Real>& residuals,
                            Real chi2, int p, bool uncentred, const FitWeights& weights)
{
    const int n = static_cast<int>(y.size());
    f.underWeighting = true;
    SetPlainResidualFigures(f, residuals);
    for (std::size_t i = 0; i < residuals.size(); ++i)
        f.normalisedResiduals.push_back(residuals[i] * std::sqrt(weights.w[i]));
    SetChi2Figures(f, p, chi2, weights.weighting, weights.w);
    if (uncentred) {
        Real sumWY2 = 0;
        for (std::size_t i = 0; i < y.size(); ++i)
            sumWY2 += weights.w[i] * y[i] * y[i];
        f.r2 = sumWY2 > 0 ? Figure::Of(1 - chi2 / sumWY2) : Figure::Undefined("all y zero");
    } else
        f.r2 = WeightedR2(chi2, y, weights.w);
    f.adjR2 = AdjustedR2(n, p, f.r2);
    if (uncentred)
        NoteUncentred(f, n, p);
}

std::pair<std::vector<Real>, Real> ResidualsInY(const LinearSolution& solution, bool solved,
                                                const std::vector<Real>& w)
{
    std::vector<Real> residuals = solution.residuals;
    Real chi2 = 0;
    for (std::size_t i = 0; i < residuals.size(); ++i) {
        if (solved)
            residuals[i] /= std::sqrt(w[i]);
        else
            chi2 += w[i] * residuals[i] * residuals[i];
    }
    return {residuals, solved ? solution.ssr : chi2};
}

void SetError(Coefficient& c, Real s, Real t, Real unit, Weighting weighting)
{
    c.se = s * unit;
    c.ci95 = std::array<Real, 2>{c.value - t * *c.se, c.value + t * *c.se};
    if (weighting == Weighting::Sigma)
        c.seAbsolute = unit;
}

}  // namespace quilvex
