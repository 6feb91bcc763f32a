#include "cli/fitoutput.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

#include "data/numtext.h"
#include "stats/table.h"

namespace quilvex {

namespace {

constexpr int kExactDigits = 18;
constexpr int kTextDigits = 10;

std::string Number(Real v, int digits)
{
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, v, std::chars_format::general, digits);
    return {text, written.ptr};
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonNumber(std::optional<Real> v) { return v && std::isfinite(*v) ? ExactNumber(*v) : "null"; }

std::string JsonList(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + items[i];
    return out + "]";
}

std::string JsonTexts(const std::vector<std::string>& texts)
{
    std::vector<std::string> quoted;
    for (const std::string& t : texts)
        quoted.push_back(JsonString(t));
    return JsonList(quoted);
}

// A weighted row's coefficients add the standard error with sigma taken as exact.
std::string JsonCoefficient(const Coefficient& c, bool weighted)
{
    const std::string ci = c.ci95 ? "[" + JsonNumber((*c.ci95)[0]) + ", " + JsonNumber((*c.ci95)[1]) + "]" : "null";
    const std::string absolute = weighted ? ", \"se_absolute\": " + JsonNumber(c.seAbsolute) : "";
    return "{\"name\": " + JsonString(c.name) + ", \"value\": " + JsonNumber(c.value) + ", \"se\": " +
           JsonNumber(c.se) + absolute + ", \"ci95\": " + ci + "}";
}

std::optional<Real> DofValue(const MethodFigures& m)
{
    return m.dof ? std::optional<Real>(static_cast<Real>(*m.dof)) : std::nullopt;
}

// The figures of a weighted row, by the names JSON and CSV give them.
std::vector<std::pair<const char*, std::optional<Real>>> WeightedFigures(const MethodFigures& m)
{
    return {{"chi2", m.chi2.value}, {"dof", DofValue(m)}, {"chi2_reduced", m.chi2Reduced.value},
            {"p_value", m.pValue.value}};
}

std::string JsonAt(const AtValue& at)
{
    const std::string x = "{\"x\": " + JsonNumber(at.x);
    if (at.y && std::isfinite(*at.y))
        return x + ", \"y\": " + JsonNumber(at.y) + "}";
    return x + ", \"error\": " + JsonString(at.error.empty() ? "not a finite number" : at.error) + "}";
}

// The regression as designed or solved stably: the rows with the stability check's figures.
bool IsRegression(const MethodFigures& m) { return m.method.fit == Method::Regression && !m.method.constrained; }

// What stands between the parts of a report: line breaks and indents for a
// person, single blanks for one object per line.
struct JsonLayout {
    const char* top;            // between the report's keys
    const char* field;          // between a method's keys
    const char* methodsOpen;
    const char* methodIndent;   // before each method
    const char* methodsBetween;
    const char* methodsClose;
};
constexpr JsonLayout kJsonPretty{",\n ", ",\n     ", "[\n", "    ", ",\n", "\n ]"};
constexpr JsonLayout kJsonOneLine{", ", ", ", "[", "", ", ", "]"};

std::string JsonMethod(const MethodFigures& m, const JsonLayout& layout)
{
    const std::string next = layout.field;
    std::string out = "{\"method\": " + JsonString(StatsMethodName(m.method));
    if (m.order)
        out += ", \"order\": " + std::to_string(*m.order);
    if (m.method.constrained)
        out += ", \"constraints\": " + JsonTexts(m.constraints);
    if (!m.failure.empty())
        out += ", \"error\": " + JsonString(m.failure);
    std::vector<std::string> coefficients;
    for (const Coefficient& c : m.coefficients)
        coefficients.push_back(JsonCoefficient(c, MeasuredByChi2(m)));
    out += next + "\"coefficients\": " + JsonList(coefficients);
    const std::pair<const char*, const Figure*> figures[] = {
        {"ssr", &m.ssr},   {"rms", &m.rms},   {"max_abs_residual", &m.maxAbsResidual}, {"r2", &m.r2},
        {"adj_r2", &m.adjR2}, {"aicc", &m.aicc}, {"residual_se", &m.residualSe}};
    for (const auto& [name, figure] : figures)
        out += next + "\"" + std::string(name) + "\": " + JsonNumber(figure->value);
    if (MeasuredByChi2(m))
        for (const auto& [name, value] : WeightedFigures(m))
            out += next + "\"" + std::string(name) + "\": " + JsonNumber(value);
    if (IsRegression(m))
        out += next + "\"stable_ssr\": " + JsonNumber(m.stableSsr.value) + next + "\"condition\": " +
               JsonNumber(m.condition.value) + next + "\"agreement_digits\": " + JsonNumber(m.agreementDigits.value);
    std::vector<std::string> at;
    for (const AtValue& a : m.at)
        at.push_back(JsonAt(a));
    return out + next + "\"warnings\": " + JsonTexts(m.warnings) + next + "\"notes\": " + JsonTexts(m.notes) +
           next + "\"at\": " + JsonList(at) + "}";
}

std::string JsonNumbers(const std::vector<Real>& values)
{
    std::vector<std::string> numbers;
    for (const Real v : values)
        numbers.push_back(JsonNumber(v));
    return JsonList(numbers);
}

// A sigma text as a number, null where it is empty or not a finite number.
std::string JsonSigma(const std::string& text)
{
    try {
        const FloatText v = TextToFloat(text);
        return v.ok() ? JsonNumber(v.value) : "null";
    } catch (const QuilvexError&) {
        return "null";
    }
}

std::string JsonRows(const std::vector<int>& rows)
{
    std::vector<std::string> numbers;
    for (const int row : rows)
        numbers.push_back(std::to_string(row));
    return JsonList(numbers);
}

// The points fitted; with sigma, their sigma; where the file excludes a point,
// the data line of each point fitted and the lines excluded.
std::string JsonTable(const FitReport& report)
{
    std::string out = "{\"x\": " + JsonNumbers(report.x) + ", \"y\": " + JsonNumbers(report.y);
    if (std::any_of(report.sigma.begin(), report.sigma.end(), [](const std::string& s) { return !s.empty(); })) {
        std::vector<std::string> sigma;
        for (const std::string& text : report.sigma)
            sigma.push_back(JsonSigma(text));
        out += ", \"sigma\": " + JsonList(sigma);
    }
    if (!report.excludedRows.empty())
        out += ", \"rows\": " + JsonRows(report.rows) + ", \"excluded\": " + JsonRows(report.excludedRows);
    return out + "}";
}

std::string JsonReport(const FitReport& report, const JsonLayout& layout)
{
    std::string out = "{\"file\": " + JsonString(report.file) + layout.top + "\"points\": " +
                      std::to_string(report.points) + layout.top + "\"weights\": " +
                      JsonString(WeightingName(report.weighting)) + layout.top + "\"methods\": " +
                      layout.methodsOpen;
    for (std::size_t i = 0; i < report.methods.size(); ++i)
        out += (i ? layout.methodsBetween : "") + std::string(layout.methodIndent) +
               JsonMethod(report.methods[i], layout);
    return out + layout.methodsClose + layout.top + "\"table\": " + JsonTable(report) + "}\n";
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (const char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

const std::vector<std::string> kCsvColumns{"method", "order", "coefficient", "value", "se", "ci95_low", "ci95_high",
                                           "ssr", "rms", "max_abs_residual", "r2", "adj_r2", "aicc", "residual_se",
                                           "stable_ssr", "condition", "agreement_digits", "error", "warnings", "notes"};
const std::vector<std::string> kWeightedCsvColumns{"se_absolute", "chi2", "dof", "chi2_reduced", "p_value"};
constexpr std::size_t kBeforeWeightedColumns = 17;  // after agreement_digits

std::vector<std::string> CsvColumns(Weighting weighting)
{
    std::vector<std::string> columns = kCsvColumns;
    if (weighting != Weighting::None)
        columns.insert(columns.begin() + kBeforeWeightedColumns, kWeightedCsvColumns.begin(),
                       kWeightedCsvColumns.end());
    return columns;
}

std::string CsvNumber(std::optional<Real> v) { return v && std::isfinite(*v) ? ExactNumber(*v) : ""; }

std::string Joined(const std::vector<std::string>& texts)
{
    std::string out;
    for (const std::string& t : texts)
        out += (out.empty() ? "" : "; ") + t;
    return out;
}

std::string CsvRow(const std::vector<std::string>& fields)
{
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i)
        row += (i ? "," : "") + CsvField(fields[i]);
    return row + "\n";
}

// With the file named in a leading column when file is given; with a
// weighting, the weighted figures (empty on the designed rows).
std::string CsvMethodRows(const MethodFigures& m, Weighting weighting, const std::string* file)
{
    const std::vector<std::string> figures{CsvNumber(m.ssr.value),        CsvNumber(m.rms.value),
                                           CsvNumber(m.maxAbsResidual.value), CsvNumber(m.r2.value),
                                           CsvNumber(m.adjR2.value),      CsvNumber(m.aicc.value),
                                           CsvNumber(m.residualSe.value), CsvNumber(m.stableSsr.value),
                                           CsvNumber(m.condition.value),  CsvNumber(m.agreementDigits.value)};
    const std::string name = StatsMethodName(m.method), order = m.order ? std::to_string(*m.order) : "";
    std::vector<std::string> weighted;
    if (MeasuredByChi2(m))
        for (const auto& [column, value] : WeightedFigures(m))
            weighted.push_back(CsvNumber(value));
    else
        weighted.assign(kWeightedCsvColumns.size() - 1, "");
    const auto row = [&](const std::vector<std::string>& coefficient, const std::string& seAbsolute,
                         const std::string& error) {
        std::vector<std::string> fields{name, order};
        if (file)
            fields.insert(fields.begin(), *file);
        fields.insert(fields.end(), coefficient.begin(), coefficient.end());
        fields.insert(fields.end(), figures.begin(), figures.end());
        if (weighting != Weighting::None) {
            fields.push_back(seAbsolute);
            fields.insert(fields.end(), weighted.begin(), weighted.end());
        }
        fields.insert(fields.end(), {error, Joined(m.warnings), Joined(m.notes)});
        return CsvRow(fields);
    };
    std::string rows;
    for (const Coefficient& c : m.coefficients)
        rows += row({c.name, CsvNumber(c.value), CsvNumber(c.se), CsvNumber(c.ci95 ? (*c.ci95)[0] : std::optional<Real>{}),
                     CsvNumber(c.ci95 ? (*c.ci95)[1] : std::optional<Real>{})},
                    CsvNumber(c.seAbsolute), m.failure);
    if (m.coefficients.empty())
        rows += row({"", "", "", "", ""}, "", m.failure);
    for (const AtValue& a : m.at)
        rows += row({"y(" + ExactNumber(a.x) + ")", CsvNumber(a.y), "", "", ""}, "", a.error);
    return rows;
}

// Text: a block per method, two aligned columns.
std::string TextNumber(std::optional<Real> v) { return v && std::isfinite(*v) ? Number(*v, kTextDigits) : "-"; }

std::string Padded(std::string text, std::size_t width)
{
    text.resize(std::max(text.size() + 1, width), ' ');
    return text;
}

// A weighted row's table adds the standard error with sigma taken as exact,
// where the weighting gives one.
bool HasSeAbsolute(const MethodFigures& m)
{
    return std::any_of(m.coefficients.begin(), m.coefficients.end(),
                       [](const Coefficient& c) { return c.seAbsolute.has_value(); });
}

std::string TextCoefficients(const MethodFigures& m)
{
    const bool absolute = HasSeAbsolute(m);
    std::string out = "  " + Padded("coefficient", 13) + Padded("value", 18) + Padded(MeasuredByChi2(m) ? "se (scaled)" : "se", 18) +
                      (absolute ? Padded("se (sigma exact)", 18) : "") + Padded("ci95 low", 18) + "ci95 high\n";
    for (const Coefficient& c : m.coefficients)
        out += "  " + Padded(c.name, 13) + Padded(TextNumber(c.value), 18) + Padded(TextNumber(c.se), 18) +
               (absolute ? Padded(TextNumber(c.seAbsolute), 18) : "") +
               Padded(TextNumber(c.ci95 ? (*c.ci95)[0] : std::optional<Real>{}), 18) +
               TextNumber(c.ci95 ? (*c.ci95)[1] : std::optional<Real>{}) + "\n";
    return out;
}

std::string TextMethod(const MethodFigures& m)
{
    std::string out = StatsMethodName(m.method) + (m.order ? ", order " + std::to_string(*m.order) : "") + "\n";
    if (m.method.constrained) {
        out += "  constraints:";
        for (const std::string& label : m.constraints)
            out += " " + label;
        out += "\n";
    }
    if (!m.failure.empty())
        out += "  error: " + m.failure + "\n";
    if (!m.coefficients.empty())
        out += TextCoefficients(m);
    std::vector<std::pair<std::string, const Figure*>> figures = {
        {"ssr", &m.ssr}, {"rms", &m.rms}, {"max |residual|", &m.maxAbsResidual}, {"r2", &m.r2},
        {"adj r2", &m.adjR2}, {"aicc", &m.aicc}, {"residual se", &m.residualSe}};
    if (MeasuredByChi2(m))
        figures.insert(figures.end(), {{"chi2", &m.chi2}, {"chi2 reduced", &m.chi2Reduced}, {"p value", &m.pValue}});
    if (IsRegression(m))
        figures.insert(figures.end(), {{"stable ssr", &m.stableSsr},
                                       {"condition", &m.condition},
                                       {"agreed digits", &m.agreementDigits}});
    if (m.failure.empty())
        for (const auto& [name, figure] : figures)
            out += "  " + Padded(name, 16) + TextNumber(figure->value) + "\n";
    if (m.failure.empty() && m.dof)
        out += "  " + Padded("dof", 16) + std::to_string(*m.dof) + "\n";
    for (const AtValue& a : m.at)
        out += "  " + Padded("y(" + Number(a.x, kTextDigits) + ")", 16) +
               (a.y && std::isfinite(*a.y) ? Number(*a.y, kTextDigits) : a.error) + "\n";
    for (const std::string& w : m.warnings)
        out += "  warning: " + w + "\n";
    for (const std::string& n : m.notes)
        out += "  note: " + n + "\n";
    return out;
}

}  // namespace

std::string ExactNumber(Real v)
{
    for (int digits = kExactDigits;; ++digits) {
        const std::string text = Number(v, digits);
        Real back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        if (std::memcmp(&back, &v, 10) == 0 || digits >= 21)
            return text;
    }
}

std::string FormatJson(const FitReport& report) { return JsonReport(report, kJsonPretty); }

std::string FormatJsonLine(const FitReport& report) { return JsonReport(report, kJsonOneLine); }

std::string FormatCsv(const FitReport& report)
{
    std::string out = CsvRow(CsvColumns(report.weighting));
    for (const MethodFigures& m : report.methods)
        out += CsvMethodRows(m, report.weighting, nullptr);
    return out;
}

std::string CsvHeaderWithFile(Weighting weighting)
{
    std::vector<std::string> columns{"file"};
    const std::vector<std::string> rest = CsvColumns(weighting);
    columns.insert(columns.end(), rest.begin(), rest.end());
    return CsvRow(columns);
}

std::string FormatCsvRowsWithFile(const FitReport& report)
{
    std::string out;
    for (const MethodFigures& m : report.methods)
        out += CsvMethodRows(m, report.weighting, &report.file);
    return out;
}

std::string FormatText(const FitReport& report)
{
    std::string out = report.file + ": " + std::to_string(report.points) + " points\n";
    if (report.weighting != Weighting::None)
        out += "weights: " + WeightingName(report.weighting) + "\n";
    if (!report.excludedRows.empty())
        out += "excluded: " + RowsText(report.excludedRows) + ", left out of every fit\n";
    for (const MethodFigures& m : report.methods)
        out += "\n" + TextMethod(m);
    return out;
}

}  // namespace quilvex
