#include "ui/qtdialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "data/fpfault.h"

namespace quilvex {

namespace {

QMessageBox::StandardButtons ToQt(BoxButtons buttons)
{
    switch (buttons) {
    case BoxButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::SaveDiscardCancel: return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
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
    case QMessageBox::Save: return BoxAnswer::Save;
    case QMessageBox::Discard: return BoxAnswer::Discard;
    default: return BoxAnswer::Ok;
    }
}

// Native dialogs would add the filter's extension by themselves; the program
// applies its own extension rule.
constexpr QFileDialog::Options kFileDialogOptions =
    QFileDialog::DontUseNativeDialog | QFileDialog::DontUseCustomDirectoryIcons;

// Names and messages are UTF-8 and shown exactly as they are, never as markup.
int ShowBox(QMessageBox::Icon icon, const QString& title, const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

}  // namespace

BoxAnswer QtDialogs::MessageBox(BoxType type, const std::string& text, BoxButtons buttons)
{
    FpuFlagsKeeper keep;
    const bool warning = type == BoxType::Warning;
    return FromQt(ShowBox(warning ? QMessageBox::Warning : QMessageBox::Critical, warning ? "Warning" : "Error",
                          QString::fromUtf8(text), ToQt(buttons)));
}

void QtDialogs::ErrorBox(const std::string& errorText)
{
    FpuFlagsKeeper keep;
    ShowBox(QMessageBox::Critical, kAppTitle, QString::fromUtf8(errorText) + ".", QMessageBox::Ok);
}

std::optional<std::string> QtDialogs::OpenFileName()
{
    FpuFlagsKeeper keep;
    // Any typed name is taken: a file that does not exist is reported by the reader.
    QFileDialog dialog(QApplication::activeWindow(), "Open");
    Prepare(dialog, {kDataFileFilter});
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return Chosen(dialog);
}

std::optional<std::string> QtDialogs::SaveFileName()
{
    FpuFlagsKeeper keep;
    QFileDialog dialog(QApplication::activeWindow(), "Save as");
    Prepare(dialog, {kDataFileFilter});
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!lastSaveName_.isEmpty())
        dialog.selectFile(QFileInfo(lastSaveName_).fileName());
    return Chosen(dialog);
}

void QtDialogs::OfferSaveName(const std::string& name) { lastSaveName_ = QFile::decodeName(QByteArray::fromStdString(name)); }

void QtDialogs::Prepare(QFileDialog& dialog, const QStringList& filters)
{
    dialog.setOptions(kFileDialogOptions);
    // The provider goes in before the folder is listed, so that no entry is labelled by Qt's own.
    dialog.setIconProvider(&iconProvider_);
    dialog.setNameFilters(filters);
    if (!lastFolder_.isEmpty())
        dialog.setDirectory(lastFolder_);
}

std::optional<std::string> QtDialogs::Chosen(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString name = dialog.selectedFiles().first();
    lastFolder_ = QFileInfo(name).absolutePath();
    return QFile::encodeName(name).toStdString();
}

std::optional<GraphFileChoice> QtDialogs::GraphFileName()
{
    FpuFlagsKeeper keep;
    QFileDialog dialog(QApplication::activeWindow(), "Export graph");
    Prepare(dialog, {kPngFilter, kPngDoubleFilter, kSvgFilter});
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
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
    QFileDialog dialog(QApplication::activeWindow(), "Save results");
    Prepare(dialog, {kTextFilter});
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return Chosen(dialog);
}

void QtDialogs::ShowInformation(const std::string& title, const std::string& text)
{
    FpuFlagsKeeper keep;
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(title), QString::fromUtf8(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box.exec();
}

void QtDialogs::ShowPage(const std::string& title, const std::string& html)
{
    FpuFlagsKeeper keep;
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromUtf8(title));
    dialog.resize(560, 480);
    auto* page = new QTextBrowser(&dialog);
    page->setHtml(QString::fromUtf8(html));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(page);
    layout->addWidget(buttons);
    dialog.exec();
}

}  // namespace quilvex
