// The benchmarks run with the windows built offscreen.
#include <benchmark/benchmark.h>

#include <QString>
#include <QtGlobal>

#include "ui/application.h"

namespace {

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains("propagateSizeHints"))
        return;
    qt_message_output(type, context, text);
}

}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(QuietOffscreenNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    quilvex::QuilvexApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
