#pragma once
// How closely each enabled method's curve meets the data points, from the fits
// the last replot left behind: the residuals y[i] - f(x[i]) in the original y
// (for the exponential and power fits too, not in their logarithmic space).
#include <functional>
#include <string>
#include <vector>

#include "data/state.h"
#include "fit/method.h"
#include "report/core/extrapreport.h"

namespace quilvex {

struct FitQuality {
    Method method = Method::Spline;
    // False when the curve or the figures could not be computed: failure is the
    // error's text, failedPoint the point where the curve failed (0 when the
    // sums themselves failed).
    bool evaluated = false;
    Real ssr = 0;          // sum of the squared residuals
    Real rms = 0;          // sqrt(ssr / n)
    Real maxResidual = 0;  // the largest |residual|
    Real r2 = 0;           // 1 - ssr / sum (y[i] - mean y)^2
    bool r2Defined = false;  // false when every y is the same
    int failedPoint = 0;
    std::string failure;
    std::vector<Real> residuals;  // y[i] - f(x[i]) for i = 1..n, when evaluated
};

// One entry per enabled method, in the order of the reports. Each curve is evaluated as it is drawn; evaluator
// messages are dropped, the state is left as it is. Needs n >= 1. The FPU
// flags are cleared before each method and left clear.
std::vector<FitQuality> MeasureFitQuality(const QuilvexState& s);

// "Cubic Spline", "Lagrange order 4 polynomial", "Regression order 3 polynomial", ...
std::string FitMethodName(const QuilvexState& s, Method method);
// The same name for a fit of the given order (read for the Lagrange polynomials and the regression only).
std::string FitMethodName(Method method, std::int32_t order);

using NumberFormat = std::function<std::string(Real)>;

// A column heading, then a line per measured method: its name padded so the
// colons line up (as in the interpolation report), then SSR, RMS, the largest
// |residual| and R^2, each left-aligned in a column `width` wide, or "not
// evaluated at x = ...: " and the error's text.
std::vector<std::string> FitQualityTable(const QuilvexState& s, const std::vector<FitQuality>& figures,
                                         const NumberFormat& format, std::size_t width);

// "Fit quality at the <n> data points, residual = y - f(x):"
std::string FitQualityTitle(const QuilvexState& s);

// The status window's block at 8 digits: a title line, a column heading, then
// a line per enabled method with the four figures, or the reason there are
// none. With no points, the title and "**** No data yet loaded".
void AppendFitQualityLines(const QuilvexState& s, const LineSink& append);

}  // namespace quilvex
