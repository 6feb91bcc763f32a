// "Export graph…" and "Copy graph": the picture of the last replot leaves the program.
#include <QClipboard>
#include <QGuiApplication>

#include "graph/QuilvexG.h"
#include "graph/graphexport.h"
#include "mainwin/QuilvexD.h"
#include "ui/handler.h"
#include "ui/fileactions.h"

namespace quilvex {

void TQuilvexForm::ExportGraphClick()
{
    RunHandler(dialogs_, [this] {
        SaveRequest request = GraphSaveRequest();
        SaveThroughDialog(dialogs_, request, [this](const SaveTarget& target) {
            return GraphFileBytes(*plotForm_, GraphTypeOf(target));
        });
    });
}

void TQuilvexForm::CopyGraphClick()
{
    RunHandler(dialogs_, [this] { QGuiApplication::clipboard()->setImage(GraphImage(*plotForm_, 1)); });
}

}  // namespace quilvex
