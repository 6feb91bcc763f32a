#include "report/core/statusreport.h"

#include "data/numtext.h"
#include "fit/method.h"

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

void AddDescription(ReportBuilder& r, const QuilvexState& s, Method m)
{
    const bool active = Shown(s, m);
    switch (m) {
    case Method::Spline:
        r.Plain(kIndent + "Exactly fits data values. No extrapolation. Very smooth fit for exact data.");
        return;
    case Method::Lagrange:
        r.Plain(kIndent + "Exactly fits data values. No extrapolation. Builds an n-1 order polynomial.");
        r.Plain(kIndent + "If data values in middle are inaccurate, can get very wavy at ends of graph.");
        return;
    case Method::LagrangeOrd:
        r.Plain(kIndent + "With user-defined Order n (currently " + G(s.LagrOrd) + "). Uses closest n+1 data points.");
        r.Plain(kIndent + "Exactly fits data, but may be non-continuous.");
        return;
    case Method::Regression:
        r.Plain(kIndent + "With user-defined order n (currently " + G(s.RegrOrd) + "). Order 1 is \"linear regression\".");
        r.Plain(kIndent + "Order 3 seems to provide the best all-round fit for many types of data! Formula is:");
        r.Plain(kValueIndent + "y = a + bx + cx^2 + dx^3 ...  Current values are:");
        r.ValuesIfActive(active, [&] { return RegressionCoefficients(s); });
        return;
    case Method::Exponential:
        r.Plain(kIndent + "Least squares regression using formula: y=ae^bx");
        r.ValuesIfActive(active, [&] { return PairText(s.ExpA, s.ExpB); });
        return;
    case Method::Logarithmic:
        r.Plain(kIndent + "Least squares regression using formula: y=a + b ln x");
        r.ValuesIfActive(active, [&] { return PairText(s.LogA, s.LogB); });
        return;
    case Method::Power:
        r.Plain(kIndent + "Least squares regression using formula: y=ax^b");
        r.ValuesIfActive(active, [&] { return PairText(s.PowerA, s.PowerB); });
        return;
    }
}

void AddMethods(ReportBuilder& r, const QuilvexState& s)
{
    for (Method m : kReportOrder) {
        const MethodRow& row = RowOf(m);
        r.Heading(Shown(s, m), row.color, std::string("  ") + row.colorName + ": " + row.heading);
        AddDescription(r, s, m);
    }
}

void AddDataLines(ReportBuilder& r, const QuilvexState& s, const std::string& fileName)
{
    r.Plain(" ");
    r.Plain(kIndent + "Currently using data from file: \"" + fileName + "\"");
    r.Plain(s.DataModified ? "        (**** MODIFIED since loading!!!!)" : "        (unchanged)");
    const std::string count = G(s.n);
    r.Plain(kIndent + "Current range of " + count + " \"x\" values: from min " + G(s.x[1]) + " to max " + G(s.x[s.n]));
    r.Plain(kIndent + "Current range of " + count + " \"y\" values: from min " + G(s.YMin) + " to max " + G(s.YMax));
    if (const std::string excluded = ExcludedPointsText(s); !excluded.empty())
        r.Plain(kIndent + excluded);
    if (!s.MessageBuffer.Empty()) {
        std::string line = kIndent + "Most recent message(s): \"" + s.MessageBuffer.Text() + "\"";
        if (line.size() > kMaxLineLength)
            line.resize(kMaxLineLength);
        r.Plain(line);
    }
}

}  // namespace

std::string ExcludedPointsText(const QuilvexState& s)
{
    if (s.Excluded.empty())
        return {};
    std::string rows;
    for (const SetAsidePoint& p : s.Excluded)
        rows += (rows.empty() ? "" : ", ") + std::to_string(p.row + 1);
    return std::string("Excluded from every fit: ") + (s.Excluded.size() == 1 ? "row " : "rows ") + rows;
}

std::vector<ReportLine> StatusReportLines(const QuilvexState& s, const std::string& fileName)
{
    ReportBuilder r;
    if (s.n == 0) {
        r.Plain("**** No data yet loaded");
        return r.Take();
    }
    r.Plain(kIndent + "Graph types with their colours (* = currently active):");
    AddMethods(r, s);
    AddDataLines(r, s, fileName);
    return r.Take();
}

}  // namespace quilvex
