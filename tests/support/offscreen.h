#pragma once
// Builds the windows offscreen, so nothing needs or waits on a display, and
// keeps out the notes the offscreen platform prints for every window shown.
#include <QString>
#include <QtGlobal>

namespace quilvex::testing {

inline void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains("This plugin does not support"))
        return;
    qt_message_output(type, context, text);
}

// Call before the application object is created.
inline void UseOffscreenPlatform()
{
    qInstallMessageHandler(QuietOffscreenNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace quilvex::testing
