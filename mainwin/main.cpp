#include <QIcon>

#include "mainwin/QuilvexApp.h"
#include "mainwin/commandline.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

int main(int argc, char** argv)
{
    quilvex::QuilvexApplication application(argc, argv);
    const std::optional<std::string> file = quilvex::ParseCommandLine(application.arguments());
    // The desktop entry's name lets the desktop match the windows to its menu entry and icon.
    application.setDesktopFileName(quilvex::kDesktopId);
    application.setWindowIcon(QIcon(":/icons/quilvex.png"));
    quilvex::QtDialogs dialogs;
    application.SetDialogs(&dialogs);
    quilvex::QuilvexApp quilvex(dialogs);
    quilvex.Start();
    if (file)
        quilvex.OpenAtStart(*file);
    return application.exec();
}
