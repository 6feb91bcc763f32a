// A file given on the command line or dropped on a window opens as "Open"
// does; the Help menu and Enter in the status window.
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <fstream>

#include "support/app_fixture.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class DesktopTest : public AppTest {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (dir.path() + "/").toStdString() + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Everything a user sees of an opened file.
    std::vector<std::string> Seen()
    {
        std::vector<std::string> seen = dialogs.BoxTexts();
        seen.insert(seen.end(), dialogs.errors.begin(), dialogs.errors.end());
        for (int r = 0; r < Grid().RowCount(); ++r)
            seen.push_back(Cell(0, r) + "|" + Cell(1, r));
        seen.push_back(Find<QLabel>(Main(), "FileNameLabel")->text().toStdString());
        seen.push_back(Msg());
        seen.push_back(std::to_string(Find<QCheckBox>(Main(), "SplineCheckBox")->isChecked()) +
                       std::to_string(S().ShowSpline) +
                       std::to_string(S().ShowRegr) + std::to_string(S().NewFileLoaded) +
                       std::to_string(S().DataModified) + std::to_string(S().n));
        return seen;
    }
    // Restarts the program and opens the file one of three ways.
    std::vector<std::string> OpenBy(const std::string& way, const std::string& path)
    {
        TearDown();
        dialogs = ScriptedDialogs{};
        SetUp();
        if (way == "menu") {
            dialogs.openNames.push_back(path);
            Find<QAction>(Main(), "MenuOpen")->trigger();
        } else if (way == "command line") {
            app->OpenAtStart(path);
        } else {
            Drop(Plot(), QUrl::fromLocalFile(QString::fromStdString(path)));
        }
        QCoreApplication::processEvents();
        return Seen();
    }
    // Sends a drag over the window and a drop, a web address before the file.
    static void Drop(QWidget& target, const QUrl& url)
    {
        QMimeData data;
        data.setUrls({QUrl("https://example.org/remote.dta"), url});
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &drop);
    }

    QTemporaryDir dir;
};

TEST_F(DesktopTest, CommandLineAndDropOpenAsTheMenuDoes)
{
    // One line is not a number: its warning box must come up on every way.
    const std::string path = Write("set.dta", "; set\r\n0 1\r\n1 x\r\n2 5\r\n3 4\r\n");
    const std::vector<std::string> byMenu = OpenBy("menu", path);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(byMenu.back().substr(0, 5), "11100");  // both replots ran: boxes ticked, then drawn
    EXPECT_EQ(OpenBy("command line", path), byMenu);
    EXPECT_EQ(OpenBy("drop", path), byMenu);
}

TEST_F(DesktopTest, AMissingFileOnTheCommandLineGivesTheErrorBoxAndAnEmptyGrid)
{
    app->OpenAtStart(dir.path().toStdString() + "/missing.dta");
    EXPECT_TRUE(dialogs.errors.empty());  // not before the event loop runs
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(Grid().Cell(0, 0), "");
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text(), "");
    EXPECT_TRUE(Main().isVisible());
}

TEST_F(DesktopTest, HelpMenuAndEnterInTheXValueField)
{
    Find<QAction>(Main(), "About1")->trigger();
    Find<QAction>(Main(), "Help1")->trigger();
    ASSERT_EQ(dialogs.informations.size(), 1u);
    for (const char* part : {"About Quilvex\tQuilvex 0.9", "MIT", qVersion()})
        EXPECT_NE(dialogs.informations[0].find(part), std::string::npos) << part;
    ASSERT_EQ(dialogs.pages.size(), 1u);
    EXPECT_NE(dialogs.pages[0].find("Power"), std::string::npos);

    SetGrid({{"1", "1"}, {"2", "4"}, {"3", "9"}});
    Doc().SetMethodChecked(Method::Regression, true);
    Find<QLineEdit>(Status(), "XvalueEdit")->setText("2.5");
    Find<QPushButton>(Status(), "ExtrapButton")->click();
    const QString byButton = Find<RichTextArea>(Status(), "StatusRichEdit")->toPlainText();
    Find<RichTextArea>(Status(), "StatusRichEdit")->ClearLines();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(Find<QLineEdit>(Status(), "XvalueEdit"), &enter);
    EXPECT_FALSE(byButton.isEmpty());
    EXPECT_EQ(Find<RichTextArea>(Status(), "StatusRichEdit")->toPlainText(), byButton);
}

}  // namespace
