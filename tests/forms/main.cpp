#include <gtest/gtest.h>

#include <QString>
#include <QtGlobal>

#include "ui/application.h"

namespace {

// The offscreen platform reports what it cannot do for every window shown.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains("This plugin does not support"))
        return;
    qt_message_output(type, context, text);
}

}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(QuietOffscreenNotes);
    // The windows are built offscreen: no test needs, or waits on, a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    quilvex::QuilvexApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
