#include "report/core/statusreport.h"

#include "data/numtext.h"

namespace quilvex {

namespace {

constexpr std::size_t kMaxLineLength = 255;
const std::string kIndent = "      ";
const std::string kValueIndent = "            ";

std::string G(Real v) { return FormatGeneral(v, 8); }

class ReportBuilder {
public:
    void Plain(const std::string& text) { lines_.push_back({text, ReportLine::Style::Plain, colors::Black}); }

    // The blank separator line, then the heading with its activity mark.
    void Heading(bool active, Color color, const std::string& text)
    {
        Plain(" ");
        lines_.push_back({(active ? "*" : " ") + text, ReportLine::Style::Heading, color});
    }

    // The coefficients of an active fit; a fit that is off may hold values of
    // an earlier replot, which say nothing about the graph now.
    template <typename Values>
    void ValuesIfActive(bool active, Values values)
    {
        Plain(kValueIndent + (active ? values() : std::string("(not active)")));
    }

    std::vector<ReportLine> Take() { return std::move(lines_); }

private:
    std::vector<ReportLine> lines_;
};

std::string PairText(Real a, Real b) { return "a=" + G(a) + ", b=" + G(b); }

std::string RegressionCoefficients(const QuilvexState& s)
{
    std::string text = "a,b,c...: ";
    for (int k = 1; k <= s.RegrOrd + 1; ++k)
        text += (k > 1 ? ", " : "") + G(s.RegrCoef[k]);
    return text;
}

void AddExactFits(ReportBuilder& r, const QuilvexState& s)
{
    r.Heading(s.ShowSpline, colors::Black, "  Black: Cubic Spline");
    r.Plain(kIndent + "Exactly fits data values. No extrapolation. Very smooth fit for exact data.");
    r.Heading(s.ShowLagr, colors::Yellow, "  Yellow: Lagrange Interpolating Polynomial");
    r.Plain(kIndent + "Exactly fits data values. No extrapolation. Builds an n-1 order polynomial.");
    r.Plain(kIndent + "If data values in middle are inaccurate, can get very wavy at ends of graph.");
    r.Heading(s.ShowLagrO, colors::Green, "  Green: Lagrange Polynomial");
    r.Plain(kIndent + "With user-defined Order n (currently " + G(s.LagrOrd) + "). Uses closest n+1 data points.");
    r.Plain(kIndent + "Exactly fits data, but may be non-continuous.");
}

void AddLeastSquaresFits(ReportBuilder& r, const QuilvexState& s)
{
    r.Heading(s.ShowRegr, colors::Red, "  Red: Least Squares Regression Polynomial");
    r.Plain(kIndent + "With user-defined order n (currently " + G(s.RegrOrd) + "). Order 1 is \"linear regression\".");
    r.Plain(kIndent + "Order 3 seems to provide the best all-round fit for many types of data! Formula is:");
    r.Plain(kValueIndent + "y = a + bx + cx^2 + dx^3 ...  Current values are:");
    r.ValuesIfActive(s.ShowRegr, [&] { return RegressionCoefficients(s); });

    r.Heading(s.ShowExp, colors::Purple, "  Purple: Exponential");
    r.Plain(kIndent + "Least squares regression using formula: y=ae^bx");
    r.ValuesIfActive(s.ShowExp, [&] { return PairText(s.ExpA, s.ExpB); });
    r.Heading(s.ShowLog, colors::Gray, "  Gray: Logarithmic");
    r.Plain(kIndent + "Least squares regression using formula: y=a + b ln x");
    r.ValuesIfActive(s.ShowLog, [&] { return PairText(s.LogA, s.LogB); });
    r.Heading(s.ShowPower, colors::Blue, "  Blue: Power");
    r.Plain(kIndent + "Least squares regression using formula: y=ax^b");
    r.ValuesIfActive(s.ShowPower, [&] { return PairText(s.PowerA, s.PowerB); });
}

void AddDataLines(ReportBuilder& r, const QuilvexState& s, const std::string& fileName)
{
    r.Plain(" ");
    r.Plain(kIndent + "Currently using data from file: \"" + fileName + "\"");
    r.Plain(s.DataModified ? "        (**** MODIFIED since loading!!!!)" : "        (unchanged)");
    const std::string count = G(s.n);
    r.Plain(kIndent + "Current range of " + count + " \"x\" values: from min " + G(s.x[1]) + " to max " + G(s.x[s.n]));
    r.Plain(kIndent + "Current range of " + count + " \"y\" values: from min " + G(s.YMin) + " to max " + G(s.YMax));
    if (!s.MessageBuffer.Empty()) {
        std::string line = kIndent + "Most recent message(s): \"" + s.MessageBuffer.Text() + "\"";
        if (line.size() > kMaxLineLength)
            line.resize(kMaxLineLength);
        r.Plain(line);
    }
}

}  // namespace

std::vector<ReportLine> StatusReportLines(const QuilvexState& s, const std::string& fileName)
{
    ReportBuilder r;
    if (s.n == 0) {
        r.Plain("**** No data yet loaded");
        return r.Take();
    }
    r.Plain(kIndent + "Graph types with their colours (* = currently active):");
    AddExactFits(r, s);
    AddLeastSquaresFits(r, s);
    AddDataLines(r, s, fileName);
    return r.Take();
}

}  // namespace quilvex
