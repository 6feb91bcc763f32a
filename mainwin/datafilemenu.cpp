// "Open" and "Save as": the data file meets the grid.
#include <QFile>

#include "data/datafile.h"
#include "data/fpfault.h"
#include "data/pointimport.h"
#include "graph/QuilvexG.h"
#include "mainwin/QuilvexD.h"
#include "ui/handler.h"
#include "ui/savefile.h"

namespace quilvex {

void TQuilvexForm::MenuOpenClick()
{
    RunHandler(dialogs_, [this] {
        if (const std::optional<std::string> name = dialogs_.OpenFileName())
            OpenDataFile(*name);
    });
}

void TQuilvexForm::OpenDataFile(const std::string& name)
{
    RunHandler(dialogs_, [this, &name] {
        ClearFpu();
        std::vector<DataRow> rows;
        const ReadOutcome outcome = ReadDataFile(name, rows, [this](const std::string& warning) {
            return dialogs_.MessageBox(BoxType::Warning, warning, BoxButtons::OkCancel) == BoxAnswer::Ok;
        });
        if (outcome == ReadOutcome::Cancelled)
            return;
        const std::size_t rowsInFile = RowsHoldingText(rows);
        Grid().SetRows(std::move(rows));
        state_.NewFileLoaded = true;
        state_.DataModified = false;
        FileNameLabel->setText(QFile::decodeName(QByteArray::fromStdString(name)));
        FileNameLabel->adjustSize();
        if (plotForm_ != nullptr && GraphEnableCheckBox->isChecked()) {
            plotForm_->Draw();
            plotForm_->Draw();
        }
        RecordTableStep("open file");
        history_->MarkSaved(rowsInFile);
    });
}

void TQuilvexForm::Saveas1Click()
{
    RunHandler(dialogs_, [this] {
        std::optional<std::string> name = dialogs_.SaveFileName();
        if (!name)
            return;
        if (ApplyDataFileExtension(*name) == NameCheck::WrongExtension) {
            dialogs_.MessageBox(BoxType::Error, kWrongExtensionText, BoxButtons::Ok);
            return;
        }
        dialogs_.OfferSaveName(*name);
        if (DataFileExists(*name) &&
            dialogs_.MessageBox(BoxType::Warning, OverwriteQuestionText(*name), BoxButtons::YesNo) != BoxAnswer::Yes)
            return;
        WriteWholeFile(*name, QByteArray::fromStdString(FormatDataFile(Grid())));
        history_->MarkSaved(static_cast<std::size_t>(RowsHoldingText(Grid())));
    });
}

}  // namespace quilvex
