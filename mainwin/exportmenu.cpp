// "Export graph…" and "Copy graph": the picture of the last replot leaves the program.
#include <QClipboard>
#include <QGuiApplication>

#include "mainwin/QuilvexD.h"
#include "ui/graphexport.h"
#include "ui/handler.h"
#include "ui/fileactions.h"

namespace quilvex {

void TQuilvexForm::ExportGraphClick()
{
    RunHandler(dialogs_, [this] {
        SaveRequest request = GraphSaveRequest();
        SaveThroughDialog(dialogs_, request, [this](const SaveTarget& target) {
            return GraphFileBytes(pictureSource_(), GraphTypeOf(target));
        });
    });
}

void TQuilvexForm::CopyGraphClick()
{
    // At the screen's own resolution, so that a high-density screen's copy is as sharp as what it shows.
    RunHandler(dialogs_, [this] {
        const GraphPicture picture = pictureSource_();
        QGuiApplication::clipboard()->setImage(GraphImage(picture, picture.deviceRatio));
    });
}

}  // namespace quilvex
