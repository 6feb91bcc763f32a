#pragma once
// The command line: quilvex [--help] [--version] [FILE]. It is read before
// any window exists, so --help, --version and a mistyped option need no display.
#include <QStringList>
#include <optional>
#include <string>

namespace quilvex {

inline constexpr const char* kDesktopId = "io.github.quilvex.Quilvex";

// Exit status of a command line the program cannot read.
inline constexpr int kUsageError = 2;

struct CommandLine {
    // Set when the program ends here: after --help or --version (0), or after
    // printing why it cannot read the command line (kUsageError).
    std::optional<int> exitStatus;
    std::optional<std::string> file;
};

// Reads the arguments (the program's name first) and prints what they ask
// for; needs a QCoreApplication, never a display.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace quilvex
