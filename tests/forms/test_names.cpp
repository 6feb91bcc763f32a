// File names through the program's real boxes and file dialogs: shown as typed
// (plain text, UTF-8 from the dialog to the status report), and dialogs that
// start where the last file was chosen and label entries by name alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "app/QuilvexApp.h"
#include "ui/nameiconprovider.h"
#include "ui/qtdialogs.h"
#include "support/controls.h"

using namespace quilvex;

namespace {

class RealDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { Answer(QApplication::activeModalWidget()); });
        timer.start(5);
        app.Start();
    }
    // Answers a box with Yes or OK and a file dialog with the next name; records what each showed.
    void Answer(QWidget* modal)
    {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown.push_back((box->textFormat() == Qt::PlainText ? "" : "markup: ") + box->text().toStdString());
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            (yes != nullptr ? yes : box->button(QMessageBox::Ok))->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            const bool byName = dynamic_cast<NameIconProvider*>(dialog->iconProvider()) != nullptr;
            folders.push_back((byName ? "" : "Qt's labels: ") + dialog->directory().path().toStdString());
            if (names.isEmpty())
                return dialog->reject();
            dialog->selectFile(names.takeFirst());
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own, which checks the name
        }
    }
    QString Write(const QString& name, const std::string& bytes)
    {
        std::ofstream(QFile::encodeName(dir.filePath(name)).toStdString(), std::ios::binary) << bytes;
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    QStringList names;
    std::vector<std::string> shown, folders;
    QTimer timer;
    QtDialogs dialogs;
    QuilvexApp app{dialogs};
};

TEST_F(RealDialogsTest, NamesShowAsTypedInTheLabelTheBoxesAndTheReport)
{
    for (const QString name : {"<b>x<u>y.dta", "a & b.dta", "mesures-été.dta"}) {
        shown.clear();
        const QString path = Write(name, "1 2\r\nbad 3\r\n4 5\r\n");
        const std::string typed = path.toStdString();
        names << path << path;
        app.Main().MenuOpenClick();
        app.Main().Saveas1Click();
        app.Main().Status1Click();
        EXPECT_EQ(shown, (std::vector<std::string>{"Invalid data in file " + typed + ", line 2: \"bad\", \"3\"",
                                                   "File " + typed + " already exists. Overwrite?"}));
        EXPECT_EQ(quilvex::testing::Find<QLabel>(app.Main(), "FileNameLabel")->text(), path);
        EXPECT_EQ(quilvex::testing::Find<QLabel>(app.Main(), "FileNameLabel")->textFormat(), Qt::PlainText);
        const QString report = quilvex::testing::Find<RichTextArea>(app.Status(), "StatusRichEdit")->toPlainText();
        EXPECT_TRUE(report.contains("data from file: \"" + path + "\""));
    }
}

TEST_F(RealDialogsTest, DialogsStartInTheFolderOfTheLastFileChosenAndLabelByName)
{
    QDir(dir.path()).mkdir("sub");
    names << Write("sub/in.dta", "1 2\r\n") << Write("out.dta", "") << dir.filePath("sub/in.dta");
    app.Main().MenuOpenClick();
    app.Main().Saveas1Click();
    app.Main().MenuOpenClick();
    app.Main().Saveas1Click();  // cancelled
    const std::string top = dir.path().toStdString();
    EXPECT_EQ(folders, (std::vector<std::string>{folders.at(0), top + "/sub", top, top + "/sub"}));

    // The first bytes of this file tell an image; its name tells nothing.
    const QString picture = Write("picture", "\x89PNG\r\n\x1a\n");
    const QString png = QMimeDatabase().mimeTypeForName("image/png").comment();
    ASSERT_EQ(QMimeDatabase().mimeTypeForFile(picture).comment(), png);
    EXPECT_NE(NameIconProvider().type(QFileInfo(picture)), png);
}

}  // namespace
