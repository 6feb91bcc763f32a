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
#include <algorithm>

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

std::optional<FileChoice> QtDialogs::ChooseFile(const FileRequest& request)
{
    FpuFlagsKeeper keep;
    QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(request.title));
    dialog.setOptions(kFileDialogOptions);
    // The provider goes in before the folder is listed, so that no entry is labelled by Qt's own.
    dialog.setIconProvider(&iconProvider_);
    QStringList filters;
    for (const std::string& filter : request.filters)
        filters << QString::fromUtf8(filter);
    dialog.setNameFilters(filters);
    if (!lastFolder_.isEmpty())
        dialog.setDirectory(lastFolder_);
    if (request.forSaving) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
    } else {
        // Any typed name is taken: a file that does not exist is reported by the reader.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    if (!request.offeredName.empty())
        dialog.selectFile(QFileInfo(QFile::decodeName(QByteArray::fromStdString(request.offeredName))).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString name = dialog.selectedFiles().first();
    lastFolder_ = QFileInfo(name).absolutePath();
    return FileChoice{QFile::encodeName(name).toStdString(),
                      static_cast<std::size_t>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
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
