#include "fit/method.h"

#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"

namespace quilvex {

bool InDomain(const QuilvexState& s, Method m, Real X)
{
    switch (RowOf(m).domain) {
    case Domain::DataRange: return InDataRange(s, X);
    case Domain::Positive: return X > 0;
    case Domain::All: break;
    }
    return true;
}

Real MethodValue(const QuilvexState& s, Method m, Real t, MessageText& messages, Forms forms)
{
    const bool fast = forms == Forms::Fast;
    switch (m) {
    case Method::Spline: return EvalSpline(s.n, s.x, s.y, s.SplineD2, t, messages);
    case Method::Lagrange:
        return fast ? EvalLagrange(s.n, s.x, s.y, t) : literal::EvalLagrange(s.n, s.x, s.y, t);
    case Method::LagrangeOrd:
        return fast ? lagrange_ord(s.LagrOrd, s.n, s.x, s.y, t, messages)
                    : literal::lagrange_ord(s.LagrOrd, s.n, s.x, s.y, t, messages);
    case Method::Regression:
        return fast ? EvalRegression(s.RegrOrd, s.RegrCoef, t) : literal::EvalRegression(s.RegrOrd, s.RegrCoef, t);
    case Method::Exponential: return ExpFitValue(s, t);
    case Method::Logarithmic: return LogFitValue(s, t);
    case Method::Power: return PowerFitValue(s, t);
    }
    return 0;
}

}  // namespace quilvex
