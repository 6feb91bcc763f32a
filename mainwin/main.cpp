#include "mainwin/QuilvexApp.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

int main(int argc, char** argv)
{
    quilvex::QuilvexApplication application(argc, argv);
    quilvex::QtDialogs dialogs;
    application.SetDialogs(&dialogs);
    quilvex::QuilvexApp quilvex(dialogs);
    quilvex.Start();
    return application.exec();
}
