#include "mainwin/commandline.h"

#include <QCommandLineParser>
#include <cstdio>

namespace quilvex {

namespace {

CommandLine UsageError(const QString& why)
{
    std::fprintf(stderr, "quilvex: %s\nTry 'quilvex --help' for more information.\n", qPrintable(why));
    return {kUsageError, std::nullopt};
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Quilvex fits curves to measured data and draws them.\n\n"
                                     "Command:\n  fit  Prints the figures of the fits of a data file, "
                                     "with no display (quilvex fit --help).");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version({"v", "version"}, "Displays version information.");
    parser.addOption(version);
    parser.addPositionalArgument("FILE", "A data file (.dta) to open at start.", "[FILE]");
    if (!parser.parse(arguments))
        return UsageError(parser.errorText());
    if (parser.isSet(help) || parser.isSet("help-all")) {
        std::printf("%s", qPrintable(parser.helpText()));
        return {0, std::nullopt};
    }
    if (parser.isSet(version)) {
        std::printf("quilvex %s\n", QUILVEX_VERSION);
        return {0, std::nullopt};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return UsageError("one FILE at most");
    if (files.isEmpty())
        return {};
    return {std::nullopt, files.first().toLocal8Bit().toStdString()};
}

}  // namespace quilvex
