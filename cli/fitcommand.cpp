#include "cli/fitcommand.h"

#include <QCommandLineParser>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <variant>

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
            std::printf("%s", qPrintable(parser_.helpText()));
            return 0;
        }
        FitOptions options;
        if (const auto why = ReadOptions(options))
            return Usage(*why);
        return options;
    }

private:
    int Usage(const std::string& why)
    {
        std::fprintf(stderr, "quilvex fit: %s\n\n%s", why.c_str(), qPrintable(parser_.helpText()));
        return kInputError;
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
            options.request.methods.push_back(*method);
        }
        if (options.request.methods.empty())
            options.request.methods = AllStatsMethods();
        if (const auto why = ReadOrder("regression-order", 1, kMostRegressionOrder, options.request.regressionOrder))
            return why;
        if (const auto why = ReadOrder("lagrange-order", 2, MaxPoints, options.request.lagrangeOrder))
            return why;
        for (const QString& text : parser_.values("at")) {
            const FloatText x = TextToFloat(text.toStdString());
            if (!x.ok() || text.trimmed().isEmpty())
                return "--at takes a number, not '" + text.toStdString() + "'";
            options.request.at.push_back(x.value);
        }
        return ReadFormat(options.format);
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
    const std::string out = Formatted(options.format, report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the output");
}

}  // namespace

bool IsFitCommand(int argc, char** argv) { return argc > 1 && std::string(argv[1]) == "fit"; }

int RunFitCommand(const QStringList& arguments)
{
    FitParser parser;
    const std::variant<FitOptions, int> read = parser.Read(arguments);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    return Run(std::get<FitOptions>(read));
}

}  // namespace quilvex
