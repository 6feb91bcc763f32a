// "Export graph…" and "Copy graph": the picture of the last replot leaves the program.
#include <QClipboard>
#include <QGuiApplication>

#include "data/datafile.h"
#include "graph/QuilvexG.h"
#include "graph/graphexport.h"
#include "mainwin/QuilvexD.h"
#include "ui/handler.h"
#include "ui/savefile.h"

namespace quilvex {

void TQuilvexForm::ExportGraphClick()
{
    RunHandler(dialogs_, [this] {
        std::optional<GraphFileChoice> choice = dialogs_.GraphFileName();
        if (!choice)
            return;
        const GraphFileType type = ApplyGraphFileExtension(choice->name, choice->type);
        if (DataFileExists(choice->name) &&
            dialogs_.MessageBox(BoxType::Warning, OverwriteQuestionText(choice->name), BoxButtons::YesNo) !=
                BoxAnswer::Yes)
            return;
        WriteWholeFile(choice->name, GraphFileBytes(*plotForm_, type));
    });
}

void TQuilvexForm::CopyGraphClick()
{
    // At the screen's own resolution, so that a high-density screen's copy is as sharp as what it shows.
    RunHandler(dialogs_, [this] {
        QGuiApplication::clipboard()->setImage(GraphImage(*plotForm_, plotForm_->devicePixelRatioF()));
    });
}

}  // namespace quilvex
