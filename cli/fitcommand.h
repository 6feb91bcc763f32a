#pragma once
// `quilvex fit`: the figures of the fits of a data file, printed for scripts,
// with no display. Usage errors and unusable input exit with status 2 and
// print nothing on standard output.
#include <QStringList>

namespace quilvex {

// True when the command line (the program's name first) asks for `fit`.
bool IsFitCommand(int argc, char** argv);

// Runs the command for the arguments (the program's name, "fit", its options
// and FILE); needs a QCoreApplication, never a display. Returns the exit status.
int RunFitCommand(const QStringList& arguments);

}  // namespace quilvex
