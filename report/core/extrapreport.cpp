#include "report/core/extrapreport.h"

#include "data/numtext.h"
#include "fit/method.h"
#include "report/core/fitquality.h"

namespace quilvex {

namespace {

const std::string kOutOfRange = " : \"x\" value out of range!";
const std::string kNotPositive = " : \"x\" value zero or negative!";

std::string G(Real v) { return FormatGeneral(v, 8); }

// The value's label, padded so that the colons line up: "  Cubic Spline" and
// the other fixed names to 30 characters, the ordered polynomials by a fixed
// run of blanks after the order.
std::string ValueLabel(const QuilvexState& s, Method m)
{
    std::string name = FitMethodName(s, m);
    switch (m) {
    case Method::Lagrange:
    case Method::LagrangeOrd: name += "   "; break;
    case Method::Regression: name += " "; break;
    default: name.resize(30, ' '); break;
    }
    return "  " + name + ": ";
}

// Why a method has no value outside its domain.
const std::string& OutsideText(Method m)
{
    return RowOf(m).domain == Domain::Positive ? kNotPositive : kOutOfRange;
}

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

}  // namespace

void AppendInterpolationLines(QuilvexState& s, Real X, const LineSink& append)
{
    BlockWriter out(append);
    out.Line("Input \"x\" value of " + G(X) + " gives a \"y\" value of :");
    for (Method m : kReportOrder) {
        if (!Shown(s, m))
            continue;
        if (InDomain(s, m, X))
            out.Value(ValueLabel(s, m), MethodValue(s, m, X, s.MessageBuffer));
        else
            out.Line("  " + std::string(RowOf(m).name) + OutsideText(m));
    }
}

}  // namespace quilvex
