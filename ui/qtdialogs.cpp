#include "ui/qtdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "data/fpfault.h"

namespace quilvex {

namespace {

QMessageBox::StandardButtons ToQt(BoxButtons buttons)
{
    switch (buttons) {
    case BoxButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

BoxAnswer FromQt(int button)
{
    switch (button) {
    case QMessageBox::Cancel: return BoxAnswer::Cancel;
    case QMessageBox::Yes: return BoxAnswer::Yes;
    case QMessageBox::No: return BoxAnswer::No;
    default: return BoxAnswer::Ok;
    }
}

std::optional<std::string> Chosen(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toLocal8Bit().toStdString();
}

// Native dialogs would add the filter's extension by themselves; the program
// applies its own extension rule.
constexpr QFileDialog::Options kFileDialogOptions = QFileDialog::DontUseNativeDialog;

}  // namespace

BoxAnswer QtDialogs::MessageBox(BoxType type, const std::string& text, BoxButtons buttons)
{
    FpuFlagsKeeper keep;
    const bool warning = type == BoxType::Warning;
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Critical, warning ? "Warning" : "Error",
                    QString::fromLatin1(text), ToQt(buttons), QApplication::activeWindow());
    return FromQt(box.exec());
}

void QtDialogs::ErrorBox(const std::string& errorText)
{
    FpuFlagsKeeper keep;
    QMessageBox box(QMessageBox::Critical, kAppTitle, QString::fromLatin1(errorText) + ".", QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

std::optional<std::string> QtDialogs::OpenFileName()
{
    FpuFlagsKeeper keep;
    // Any typed name is taken: a file that does not exist is reported by the reader.
    QFileDialog dialog(QApplication::activeWindow(), "Open", {}, kDataFileFilter);
    dialog.setOptions(kFileDialogOptions);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return Chosen(dialog);
}

std::optional<std::string> QtDialogs::SaveFileName()
{
    FpuFlagsKeeper keep;
    QFileDialog dialog(QApplication::activeWindow(), "Save as", lastSaveName_, kDataFileFilter);
    dialog.setOptions(kFileDialogOptions | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return Chosen(dialog);
}

}  // namespace quilvex

namespace quilvex {

std::optional<GraphFileChoice> QtDialogs::GraphFileName()
{
    FpuFlagsKeeper keep;
    QFileDialog dialog(QApplication::activeWindow(), "Export graph");
    dialog.setNameFilters({kPngFilter, kPngDoubleFilter, kSvgFilter});
    dialog.setOptions(kFileDialogOptions | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    std::optional<std::string> name = Chosen(dialog);
    if (!name)
        return std::nullopt;
    const QString filter = dialog.selectedNameFilter();
    GraphFileType type = GraphFileType::Png;
    if (filter == kPngDoubleFilter)
        type = GraphFileType::PngDoubleSize;
    else if (filter == kSvgFilter)
        type = GraphFileType::Svg;
    return GraphFileChoice{*name, type};
}

std::optional<std::string> QtDialogs::ResultsFileName()
{
    FpuFlagsKeeper keep;
    QFileDialog dialog(QApplication::activeWindow(), "Save results", {}, kTextFilter);
    dialog.setOptions(kFileDialogOptions | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return Chosen(dialog);
}

}  // namespace quilvex
