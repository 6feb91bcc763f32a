#include "report/core/resultstext.h"

#include <vector>

#include "data/numtext.h"
#include "report/core/fitquality.h"
#include "report/core/statusreport.h"

namespace quilvex {

namespace {

constexpr int kFullDigits = 18;
constexpr std::size_t kColumnWidth = 26;

std::string Full(Real v) { return FormatGeneral(v, kFullDigits, '.'); }
std::string Whole(std::int32_t k) { return FormatGeneral(k, kFullDigits, '.'); }

class TextBuilder {
public:
    void Line(const std::string& text) { text_ += text + "\n"; }
    void Value(const std::string& name, Real v) { Line("  " + name + " = " + Full(v)); }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

std::string PolynomialFormula(std::int32_t order)
{
    std::string formula = "y = c0";
    for (std::int32_t k = 1; k <= order; ++k) {
        if (order > 4 && k == 3) {
            formula += " + ...";
            k = order;
        }
        const std::string power = k == 1 ? "x" : "x^" + Whole(k);
        formula += " + c" + Whole(k) + " " + power;
    }
    return formula;
}

std::string Name(Method m) { return RowOf(m).name; }

void AddPair(TextBuilder& out, const std::string& formula, Real a, Real b)
{
    out.Line(formula);
    out.Value("a", a);
    out.Value("b", b);
}

void AddFit(TextBuilder& out, const QuilvexState& s, Method m)
{
    switch (m) {
    case Method::Spline:
        out.Line(Name(m) + ": natural cubic spline through the points; second derivatives at the points:");
        for (int i = 1; i <= s.n; ++i)
            out.Value("d2[" + Whole(i) + "]", s.SplineD2[i]);
        return;
    case Method::Lagrange:
        out.Line("Lagrange polynomial of order " + Whole(s.n - 1) + " through all " + Whole(s.n) + " points");
        return;
    case Method::LagrangeOrd:
        out.Line("Lagrange polynomial of order " + Whole(s.LagrOrd) + " through the " + Whole(s.LagrOrd + 1) +
                 " closest points");
        return;
    case Method::Regression:
        out.Line("Regression polynomial of order " + Whole(s.RegrOrd) + ": " + PolynomialFormula(s.RegrOrd));
        for (int k = 1; k <= s.RegrOrd + 1; ++k)
            out.Value("c" + Whole(k - 1), s.RegrCoef[k]);
        return;
    case Method::Exponential: AddPair(out, Name(m) + ": y = a e^(b x)", s.ExpA, s.ExpB); return;
    case Method::Logarithmic: AddPair(out, Name(m) + ": y = a + b ln x", s.LogA, s.LogB); return;
    case Method::Power: AddPair(out, Name(m) + ": y = a x^b", s.PowerA, s.PowerB); return;
    }
}

}  // namespace

std::string ResultsText(const QuilvexState& s, const std::string& fileName)
{
    TextBuilder out;
    out.Line("Quilvex results");
    out.Line("Data file: \"" + fileName + "\"" + (s.DataModified ? " (modified since loading)" : ""));
    if (s.n < 1) {
        out.Line("No data yet loaded");
        return out.Take();
    }
    out.Line("Points: " + Whole(s.n));
    if (const std::string excluded = ExcludedPointsText(s); !excluded.empty())
        out.Line(excluded);
    out.Line("");
    for (Method m : kReportOrder)
        if (Shown(s, m))
            AddFit(out, s, m);
    const std::vector<FitQuality> figures = MeasureFitQuality(s);
    if (!figures.empty()) {
        out.Line("");
        out.Line(FitQualityTitle(s));
        for (const std::string& line : FitQualityTable(s, figures, Full, kColumnWidth))
            out.Line(line);
    }
    return out.Take();
}

}  // namespace quilvex
