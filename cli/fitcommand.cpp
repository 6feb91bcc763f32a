#include "cli/fitcommand.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/fitfiles.h"
#include "data/numtext.h"
#include "stats/constraints.h"

namespace quilvex {

namespace {

constexpr int kInputError = 2;
constexpr int kMostRegressionOrder = MaxPoints - 1;

enum class Format { Text, Csv, Json };

struct FitOptions {
    FitJob job;
    Format format = Format::Text;
    std::vector<std::string> files;
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
            "SSR, RMS, max |residual|, R^2, adjusted R^2, AICc, the stability check of the regression (with the "
            "stable solver's fit, regression-stable, where it flags the designed one), and the true least-squares "
            "exponential and power fits. Needs no display.\n\n"
            "The table fitted is the one the main window's grid would hold and a replot fits: every value rounded "
            "to 8 significant digits, then each X that does not exceed the one before it moved by the ascending "
            "adjustment to about 10 % beyond that one. A note says how many values either changed; --as-written "
            "fits the values as the file writes them instead. JSON holds the table fitted under \"table\".\n\n"
            "Several FILEs are fitted at once on the machine's cores and printed in the order given: text sections "
            "one after another, CSV under one header with a leading file column, JSON as one object per line. A "
            "FILE that cannot be read or fitted gets one line on standard error, the others go on, and the exit "
            "status is 2.");
        help_ = parser_.addHelpOption();
        parser_.addOption({"method",
                           "A method: spline, lagrange, lagrange-order, regression, exponential, logarithmic, power, "
                           "exponential-nls, power-nls, regression-stable; repeat for more. Default: every one but "
                           "regression-stable, which follows regression wherever the stability check flags the "
                           "designed fit, and is reported always where named.",
                           "NAME"});
        parser_.addOption({"regression-order", "The regression's order, 1 to 299 (default 3).", "M"});
        parser_.addOption({"lagrange-order", "The order of the Lagrange polynomial of user order, from 2 (default 3).", "K"});
        parser_.addOption({"at", "Evaluates every method at X; repeat for more.", "X"});
        parser_.addOption({"format", "text (default), csv or json.", "FORMAT"});
        parser_.addOption({"weights",
                           "Adds a weighted fit after each least-squares method: none (default), sigma (1/sigma^2, "
                           "sigma from the file's '; columns: x y sigma'), y (1/y, counts) or y2 (1/y^2, relative "
                           "errors). Weighted rows add chi2, dof, chi2_reduced, p_value and, under sigma, se_absolute.",
                           "W"});
        parser_.addOption({"exclude",
                           "Leaves the data lines ROWS (numbered from 1, comma-separated, e.g. 3,7) out of every fit, "
                           "besides those the file's '; excluded:' line leaves out; repeat for more.",
                           "ROWS"});
        parser_.addOption({"through-origin",
                           "Adds the regression forced through the origin (a0 = 0), as regression-constrained, "
                           "after the free regression."});
        parser_.addOption({"through",
                           "Adds the regression forced through the point X,Y, as regression-constrained.", "X,Y"});
        parser_.addOption({"fix",
                           "Holds a coefficient at VALUE: a0, a1, ... of the regression, a or b of exponential-nls "
                           "and power-nls; each constrained fit follows its free one as NAME-constrained; repeat "
                           "for more. Without constraint options, the file's '; constraints:' lines apply.",
                           "NAME=VALUE"});
        parser_.addOption({"as-written",
                           "Fits the values as the file writes them, every digit, sorted by X, repeated X kept and "
                           "never adjusted; spline, lagrange and lagrange-order are not defined where X repeats."});
        parser_.addPositionalArgument("fit", "The command.", "fit");
        parser_.addPositionalArgument("FILE", "The data files (.dta); - reads standard input.", "FILE...");
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
        return parser_.helpText().replace("[options] fit FILE...", "fit [options] FILE...");
    }

    std::optional<std::string> ReadOptions(FitOptions& options)
    {
        const QStringList files = parser_.positionalArguments().mid(1);
        if (files.isEmpty())
            return std::string("at least one FILE needed");
        if (files.count("-") > 1)
            return std::string("- (standard input) can be read once only");
        for (const QString& file : files)
            options.files.push_back(file.toLocal8Bit().toStdString());
        options.job.form = parser_.isSet("as-written") ? TableForm::AsWritten : TableForm::Grid;
        StatsRequest& request = options.job.request;
        for (const QString& name : parser_.values("method")) {
            const auto method = StatsMethodNamed(name.toStdString());
            if (!method)
                return "unknown method '" + name.toStdString() + "'";
            AddOnce(request.methods, *method);
        }
        if (request.methods.empty())
            request.methods = AllStatsMethods();
        if (const auto why = ReadOrder("regression-order", 1, kMostRegressionOrder, request.regressionOrder))
            return why;
        if (const auto why = ReadOrder("lagrange-order", 2, MaxPoints, request.lagrangeOrder))
            return why;
        for (const QString& text : parser_.values("at"))
            if (const auto why = ReadAt(text.toStdString(), request.at))
                return why;
        if (const auto why = ReadWeights(request.weighting))
            return why;
        if (const auto why = ReadConstraints(request))
            return why;
        for (const QString& text : parser_.values("exclude"))
            if (const auto why = ReadExcluded(text, options.job.excluded))
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

    std::optional<std::string> ReadWeights(Weighting& weighting)
    {
        if (!parser_.isSet("weights"))
            return std::nullopt;
        const QString name = parser_.value("weights");
        const auto named = WeightingNamed(name.toStdString());
        if (!named)
            return "--weights takes none, sigma, y or y2, not '" + name.toStdString() + "'";
        weighting = *named;
        return std::nullopt;
    }

    std::optional<std::string> ReadConstraints(StatsRequest& request)
    {
        Constraints c;
        c.throughOrigin = parser_.isSet("through-origin");
        if (parser_.isSet("through")) {
            const auto x = ParseHeld("x=" + parser_.value("through").section(',', 0, 0).toStdString());
            const auto y = ParseHeld("y=" + parser_.value("through").section(',', 1).toStdString());
            if (!x || !y)
                return "--through takes X,Y, two numbers, not '" + parser_.value("through").toStdString() + "'";
            c.through = std::pair<Real, Real>{x->value, y->value};
        }
        for (const QString& text : parser_.values("fix")) {
            const auto held = ParseHeld(text.toStdString());
            if (!held)
                return "--fix takes NAME=VALUE (a0=0, b=-0.5), not '" + text.toStdString() + "'";
            c.held.push_back(*held);
        }
        if (c.Empty())
            return std::nullopt;
        if (const auto why = WhyConstraintsInvalid(c, StatsMethod::ExponentialNls, 0))  // the names, a and b
            return why;
        bool concerned = false;
        for (const StatsMethod method : request.methods) {
            if (!ConstraintsApplyTo(c, method) && !method.constrained)
                continue;
            concerned = true;
            if (const auto why = WhyConstraintsInvalid(c, method, request.regressionOrder))
                return *why;
        }
        if (!concerned)
            return std::string("the constraints concern none of the methods asked");
        request.constraints = MethodConstraints::Shared(c);
        return std::nullopt;
    }

    static std::optional<std::string> ReadExcluded(const QString& text, std::vector<int>& rows)
    {
        for (const QString& field : text.split(',')) {
            bool ok = false;
            const int row = field.toInt(&ok);
            if (!ok || row < 1 || field.trimmed() != field)
                return "--exclude takes data line numbers from 1, separated by commas, not '" + text.toStdString() +
                       "'";
            AddOnce(rows, row);
        }
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

// One report in the form asked for; of several FILEs, CSV rows under the one
// header and JSON on one line.
std::string Formatted(Format format, const FitReport& report, bool oneOfMany)
{
    switch (format) {
    case Format::Csv: return oneOfMany ? FormatCsvRowsWithFile(report) : FormatCsv(report);
    case Format::Json: return oneOfMany ? FormatJsonLine(report) : FormatJson(report);
    case Format::Text: break;
    }
    return FormatText(report);
}

// One FILE: its report alone, or the refusal of the whole command.
int RunOne(const FitOptions& options)
{
    const FileFit fit = FitFile(options.files.front(), options.job);
    if (!fit.report)
        return Fail(fit.error);
    const std::string out = Formatted(options.format, *fit.report, false);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the output");
}

// The reason, with the file named first for a script to split off.
std::string NamedError(const FileFit& fit)
{
    const std::string prefix = fit.name + ": ";
    return fit.error.compare(0, prefix.size(), prefix) == 0 ? fit.error : prefix + fit.error;
}

// Several FILEs: each report as it comes, in the order given; a file that
// fails is named on standard error and the others go on.
int RunMany(const FitOptions& options)
{
    bool failed = false, first = true;
    if (options.format == Format::Csv)
        std::fputs(CsvHeaderWithFile(options.job.request.weighting).c_str(), stdout);
    FitInOrder(options.files, options.job, [&](const FileFit& fit) {
        if (!fit.report) {
            std::fflush(stdout);
            std::fprintf(stderr, "quilvex fit: %s\n", NamedError(fit).c_str());
            failed = true;
            return;
        }
        const bool blankLine = options.format == Format::Text && !first;  // between text sections
        const std::string out = (blankLine ? "\n" : "") + Formatted(options.format, *fit.report, true);
        std::fwrite(out.data(), 1, out.size(), stdout);
        first = false;
    });
    if (std::fflush(stdout) != 0)
        return Fail("cannot write the output");
    return failed ? kInputError : 0;
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
        const FitOptions& options = std::get<FitOptions>(read);
        return options.files.size() == 1 ? RunOne(options) : RunMany(options);
    } catch (const std::exception& e) {  // whatever fails, the command says so and ends as refused
        return Fail(e.what());
    }
}

}  // namespace quilvex
