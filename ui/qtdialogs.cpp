#include "ui/qtdialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
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
