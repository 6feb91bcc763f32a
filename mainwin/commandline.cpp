#include "mainwin/commandline.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

namespace quilvex {

std::optional<std::string> ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Quilvex fits curves to measured data and draws them.");
    parser.addHelpOption();
    const QCommandLineOption version({"v", "version"}, "Displays version information.");
    parser.addOption(version);
    parser.addPositionalArgument("FILE", "A data file (.dta) to open at start.", "[FILE]");
    parser.process(arguments);
    if (parser.isSet(version)) {
        std::printf("quilvex %s\n", QUILVEX_VERSION);
        std::exit(EXIT_SUCCESS);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "quilvex: one FILE at most; see quilvex --help\n");
        std::exit(EXIT_FAILURE);
    }
    if (files.isEmpty())
        return std::nullopt;
    return files.first().toLocal8Bit().toStdString();
}

}  // namespace quilvex
