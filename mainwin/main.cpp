#include <QCoreApplication>
#include <QIcon>

#include "app/QuilvexApp.h"
#include "cli/fitcommand.h"
#include "mainwin/commandline.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

namespace {

// The command line is read under a core application, which needs no display,
// before the windowed one that does.
quilvex::CommandLine ReadCommandLine(int argc, char** argv)
{
    QCoreApplication reader(argc, argv);
    return quilvex::ParseCommandLine(reader.arguments());
}

}  // namespace

int main(int argc, char** argv)
{
    if (quilvex::IsFitCommand(argc, argv)) {
        QCoreApplication command(argc, argv);
        return quilvex::RunFitCommand(command.arguments());
    }
    const quilvex::CommandLine command = ReadCommandLine(argc, argv);
    if (command.exitStatus)
        return *command.exitStatus;
    quilvex::QuilvexApplication application(argc, argv);
    // The desktop entry's name lets the desktop match the windows to its menu entry and icon.
    application.setDesktopFileName(quilvex::kDesktopId);
    application.setWindowIcon(QIcon(":/icons/quilvex.png"));
    quilvex::QtDialogs dialogs;
    application.SetDialogs(&dialogs);
    quilvex::QuilvexApp quilvex(dialogs);
    quilvex.Start();
    if (command.file)
        quilvex.OpenAtStart(*command.file);
    return application.exec();
}
