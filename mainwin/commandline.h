#pragma once
// The command line: quilvex [--help] [--version] [FILE].
#include <QStringList>
#include <optional>
#include <string>

namespace quilvex {

inline constexpr const char* kDesktopId = "io.github.quilvex.Quilvex";

// The file to open at start, if one is named. --help and --version print
// their text and end the program, as does a command line it cannot read.
std::optional<std::string> ParseCommandLine(const QStringList& arguments);

}  // namespace quilvex
