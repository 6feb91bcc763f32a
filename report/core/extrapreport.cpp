#include "report/core/extrapreport.h"

#include "data/numtext.h"
#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/spline.h"
#include "fit/transformed.h"

namespace quilvex {

namespace {

const std::string kOutOfRange = " : \"x\" value out of range!";
const std::string kNotPositive = " : \"x\" value zero or negative!";

std::string G(Real v) { return FormatGeneral(v, 8); }

std::string LagrangeLabel(std::int32_t order) { return "  Lagrange order " + G(order) + " polynomial   : "; }

class BlockWriter {
public:
    explicit BlockWriter(const LineSink& append) : append_(append) {}

    void Line(const std::string& text)
    {
        CheckFpu();
        append_(text);
    }
    // The value is checked before it is formatted: a fault must not show as a number.
    void Value(const std::string& label, Real value)
    {
        CheckFpu();
        append_(label + G(value));
    }

private:
    const LineSink& append_;
};

void AppendExactFits(QuilvexState& s, Real X, BlockWriter& out)
{
    if (s.ShowSpline) {
        if (InDataRange(s, X))
            out.Value("  Cubic Spline                  : ", EvalSpline(s.n, s.x, s.y, s.SplineD2, X, s.MessageBuffer));
        else
            out.Line("  Cubic Spline" + kOutOfRange);
    }
    if (s.ShowLagr) {
        if (InDataRange(s, X))
            out.Value(LagrangeLabel(s.n - 1), EvalLagrange(s.n, s.x, s.y, X));
        else
            out.Line("  Lagrange" + kOutOfRange);
    }
    if (s.ShowLagrO) {
        if (InDataRange(s, X))
            out.Value(LagrangeLabel(s.LagrOrd), lagrange_ord(s.LagrOrd, s.n, s.x, s.y, X, s.MessageBuffer));
        else
            out.Line("  Lagrange" + kOutOfRange);
    }
}

void AppendLeastSquaresFits(QuilvexState& s, Real X, BlockWriter& out)
{
    if (s.ShowRegr)
        out.Value("  Regression order " + G(s.RegrOrd) + " polynomial : ", EvalRegression(s.RegrOrd, s.RegrCoef, X));
    if (s.ShowExp)
        out.Value("  Exponential                   : ", ExpFitValue(s, X));
    if (s.ShowLog) {
        if (X > 0)
            out.Value("  Logarithmic                   : ", LogFitValue(s, X));
        else
            out.Line("  Logarithmic" + kNotPositive);
    }
    if (s.ShowPower) {
        if (X > 0)
            out.Value("  Power                         : ", PowerFitValue(s, X));
        else
            out.Line("  Power" + kNotPositive);
    }
}

}  // namespace

void AppendInterpolationLines(QuilvexState& s, Real X, const LineSink& append)
{
    BlockWriter out(append);
    out.Line("Input \"x\" value of " + G(X) + " gives a \"y\" value of :");
    AppendExactFits(s, X, out);
    AppendLeastSquaresFits(s, X, out);
}

}  // namespace quilvex
