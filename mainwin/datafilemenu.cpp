// "Open" and "Save as": the data file meets the grid.
#include <QFile>

#include "data/datafile.h"
#include "data/fpfault.h"
#include "data/pointimport.h"
#include "mainwin/QuilvexD.h"
#include "ui/handler.h"
#include "ui/fileactions.h"

namespace quilvex {

void TQuilvexForm::MenuOpenClick()
{
    RunHandler(dialogs_, [this] {
        if (!MayLeaveTable())
            return;
        if (const std::optional<FileChoice> choice = dialogs_.ChooseFile(FileRequest{"Open", {kDataFileFilter}, false, ""}))
            ReadIntoGrid(choice->name);
    });
}

void TQuilvexForm::OpenDataFile(const std::string& name)
{
    if (MayLeaveTable())
        ReadIntoGrid(name);
}

void TQuilvexForm::ReadIntoGrid(const std::string& name)
{
    RunHandler(dialogs_, [this, &name] {
        ClearFpu();
        std::vector<DataRow> rows;
        std::vector<std::string> constraints;
        const ReadOutcome outcome = ReadDataFile(
            name, rows,
            [this](const std::string& warning) {
                return dialogs_.MessageBox(BoxType::Warning, warning, BoxButtons::OkCancel) == BoxAnswer::Ok;
            },
            &constraints);
        if (outcome == ReadOutcome::Cancelled)
            return;
        const std::size_t rowsInFile = RowsHoldingText(rows);
        Grid().SetRows(std::move(rows));
        document_.TakeFileConstraints(ReadConstraintLines(constraints));
        state_.NewFileLoaded = true;
        state_.DataModified = false;
        document_.SetFileName(QFile::decodeName(QByteArray::fromStdString(name)));
        if (document_.GraphingEnabled()) {
            document_.Replot();
            document_.Replot();
        }
        RecordTableStep("open file");
        document_.MarkSaved(rowsInFile);
    });
}

void TQuilvexForm::Saveas1Click() { SaveAs(); }

bool TQuilvexForm::SaveAs()
{
    bool saved = false;
    RunHandler(dialogs_, [this, &saved] {
        saved = SaveThroughDialog(dialogs_, saveRequest_, [this](const SaveTarget&) {
            return QByteArray::fromStdString(FormatDataFile(Grid(), ConstraintLineTexts(document_.GetConstraints())));
        });
        if (saved)
            document_.MarkSaved(RowsHoldingText(Grid()));
    });
    return saved;
}

}  // namespace quilvex
