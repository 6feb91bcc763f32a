#include "cli/fitcommand.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/fitoutput.h"
#include "data/datafile.h"
#include "data/numtext.h"
#include "stats/statistics.h"
#include "stats/table.h"

namespace quilvex {

namespace {

constexpr int kInputError = 2;
constexpr int kMostRegressionOrder = MaxPoints - 1;
constexpr const char* kStdinName = "(standard input)";

enum class Format { Text, Csv, Json };

struct FitOptions {
    StatsRequest request;
    Format format = Format::Text;
    std::string file;
};

int Fail(const std::string& why)
{
    std::fprintf(stderr, "quilvex fit: %s\n", why.c_str());
    return kInputError;
}

class FitParser {
public:
    FitParser()
    {
        parser_.setApplicationDescription(
            "Prints the figures of the fits of a data file: coefficients with standard errors and 95 % intervals, "
            "SSR, RMS, max |residual|, R^2, adjusted R^2, AICc, the stability check of the regression, and the "
            "true least-squares exponential and power fits. Needs no display.");
        help_ = parser_.addHelpOption();
        parser_.addOption({"method",
                           "A method: spline, lagrange, lagrange-order, regression, exponential, logarithmic, power, "
                           "exponential-nls, power-nls; repeat for more. Default: every one.",
                           "NAME"});
        parser_.addOption({"regression-order", "The regression's order, 1 to 299 (default 3).", "M"});
        parser_.addOption({"lagrange-order", "The order of the Lagrange polynomial of user order, from 2 (default 3).", "K"});
        parser_.addOption({"at", "Evaluates every method at X; repeat for more.", "X"});
        parser_.addOption({"format", "text (default), csv or json.", "FORMAT"});
        parser_.addPositionalArgument("fit", "The command.", "fit");
        parser_.addPositionalArgument("FILE", "The data file (.dta); - reads standard input.", "FILE");
    }

    // The options, or the exit status when the command ends here.
    std::variant<FitOptions, int> Read(const QStringList& arguments)
    {
        if (!parser_.parse(arguments))
            return Usage(parser_.errorText().toStdString());
        if (parser_.isSet(help_) || parser_.isSet("help-all")) {
            std::printf("%s", qPrintable(HelpText()));
            return 0;
        }
        FitOptions options;
        if (const auto why = ReadOptions(options))
            return Usage(*why);
        return options;
    }

private:
    static int Usage(const std::string& why)
    {
        std::fprintf(stderr, "quilvex fit: %s\nTry 'quilvex fit --help' for more information.\n", why.c_str());
        return kInputError;
    }

    // The options are read after `fit` only, so the usage line names them there.
    QString HelpText() const
    {
        return parser_.helpText().replace("[options] fit FILE", "fit [options] FILE");
    }

    std::optional<std::string> ReadOptions(FitOptions& options)
    {
        const QStringList files = parser_.positionalArguments().mid(1);
        if (files.size() != 1)
            return std::string("one FILE needed");
        options.file = files.first().toLocal8Bit().toStdString();
        for (const QString& name : parser_.values("method")) {
            const auto method = StatsMethodNamed(name.toStdString());
            if (!method)
                return "unknown method '" + name.toStdString() + "'";
            AddOnce(options.request.methods, *method);
        }
        if (options.request.methods.empty())
            options.request.methods = AllStatsMethods();
        if (const auto why = ReadOrder("regression-order", 1, kMostRegressionOrder, options.request.regressionOrder))
            return why;
        if (const auto why = ReadOrder("lagrange-order", 2, MaxPoints, options.request.lagrangeOrder))
            return why;
        for (const QString& text : parser_.values("at"))
            if (const auto why = ReadAt(text.toStdString(), options.request.at))
                return why;
        return ReadFormat(options.format);
    }

    template <typename T>
    static void AddOnce(std::vector<T>& list, T item)
    {
        if (std::find(list.begin(), list.end(), item) == list.end())
            list.push_back(item);
    }

    static std::optional<std::string> ReadAt(const std::string& text, std::vector<Real>& at)
    {
        FloatText x;
        try {
            x = TextToFloat(text);
        } catch (const QuilvexError&) {  // a number beyond the range, as 1e5000 is
            x = {HUGE_VALL, 0};
        }
        if (!x.ok())
            return "--at takes a number, not '" + text + "'";
        if (!std::isfinite(x.value))
            return "--at takes a number within the range of numbers, not '" + text + "'";
        AddOnce(at, x.value);
        return std::nullopt;
    }

    std::optional<std::string> ReadOrder(const char* name, int lo, int hi, int& order)
    {
        if (!parser_.isSet(name))
            return std::nullopt;
        bool ok = false;
        order = parser_.value(name).toInt(&ok);
        if (!ok || order < lo || order > hi)
            return "--" + std::string(name) + " takes a whole number from " + std::to_string(lo) + " to " +
                   std::to_string(hi);
        return std::nullopt;
    }

    std::optional<std::string> ReadFormat(Format& format)
    {
        const QString name = parser_.isSet("format") ? parser_.value("format") : "text";
        if (name == "text")
            format = Format::Text;
        else if (name == "csv")
            format = Format::Csv;
        else if (name == "json")
            format = Format::Json;
        else
            return "--format takes text, csv or json, not '" + name.toStdString() + "'";
        return std::nullopt;
    }

    QCommandLineParser parser_;
    QCommandLineOption help_{"h"};
};

// All of standard input, within the bound of a data file.
std::string ReadStandardInput()
{
    std::string bytes;
    char chunk[1 << 16];
    while (std::cin.read(chunk, sizeof chunk) || std::cin.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(std::cin.gcount()));
        if (bytes.size() > kMaxDataFileBytes)
            throw QuilvexError(kFileTooLargeText);
    }
    return bytes;
}

// The table is read as File > Open reads it, fields cut included; the command
// names every line whose field it cut, as the windows cannot.
void AddCutFieldNotes(std::string_view bytes, std::vector<MethodFigures>& methods)
{
    std::vector<std::string> notes;
    for (const std::size_t line : LinesWithCutField(bytes))
        notes.push_back("line " + std::to_string(line) + " of the file: the Y field is longer than " +
                        std::to_string(kMaxRestLength) + " characters and was read from its first " +
                        std::to_string(kMaxRestLength) + ", as File > Open reads it");
    for (MethodFigures& m : methods)
        m.notes.insert(m.notes.begin(), notes.begin(), notes.end());
}

std::string Formatted(Format format, const FitReport& report)
{
    switch (format) {
    case Format::Csv: return FormatCsv(report);
    case Format::Json: return FormatJson(report);
    case Format::Text: break;
    }
    return FormatText(report);
}

int Run(const FitOptions& options)
{
    const bool fromStdin = options.file == "-";
    const std::string name = fromStdin ? kStdinName : options.file;
    std::string bytes;
    try {
        bytes = fromStdin ? ReadStandardInput() : ReadFileBytes(name);
    } catch (const QuilvexError& e) {
        return Fail(name + ": " + e.what());
    }
    const auto s = std::make_unique<QuilvexState>();
    const TableLoad load = LoadPointTable(bytes, name, *s);
    if (!load.error.empty())
        return Fail(load.error);
    FitReport report{name, s->n, ComputeStatistics(*s, options.request, load.warnings)};
    AddCutFieldNotes(bytes, report.methods);
    const std::string out = Formatted(options.format, report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the output");
}

}  // namespace

bool IsFitCommand(int argc, char** argv) { return argc > 1 && std::string(argv[1]) == "fit"; }

int RunFitCommand(const QStringList& arguments)
{
    try {
        FitParser parser;
        const std::variant<FitOptions, int> read = parser.Read(arguments);
        if (const int* status = std::get_if<int>(&read))
            return *status;
        return Run(std::get<FitOptions>(read));
    } catch (const std::exception& e) {  // whatever fails, the command says so and ends as refused
        return Fail(e.what());
    }
}

}  // namespace quilvex
