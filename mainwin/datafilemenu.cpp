// "Open" and "Save as": the data file meets the grid.
#include <QFile>
#include <QSaveFile>

#include "data/datafile.h"
#include "data/fpfault.h"
#include "graph/QuilvexG.h"
#include "mainwin/QuilvexD.h"
#include "ui/handler.h"

namespace quilvex {

namespace {

// Writes the bytes through a temporary file in the same folder that takes the
// place of the old file only when everything was written. Where no new file
// may be made in the folder, a writable file is written over in place.
void SaveFileBytes(const std::string& name, const std::string& bytes)
{
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(name)));
    file.setDirectWriteFallback(true);
    errno = 0;
    // Unbuffered, so that a write that fails is seen here and not lost in a late flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw QuilvexError(ErrnoErrorText(errno != 0 ? errno : EACCES));
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw QuilvexError(IoErrorText(101));
    errno = 0;
    if (!file.commit())
        throw QuilvexError(errno != 0 ? ErrnoErrorText(errno) : IoErrorText(101));
}

}  // namespace

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
        history_->MarkSaved();
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
        SaveFileBytes(*name, FormatDataFile(Grid()));
        history_->MarkSaved();
    });
}

}  // namespace quilvex
