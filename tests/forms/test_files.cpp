// "Open" and "Save as" through the real main window, with files in a
// temporary folder and scripted dialogs.
#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fstream>
#include <iterator>

#include "support/app_fixture.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class FilesTest : public AppTest {
protected:
    std::string Path(const std::string& name) { return (dir.path() + "/").toStdString() + name; }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Open(const std::string& path)
    {
        dialogs.openNames.push_back(path);
        Main().MenuOpenClick();
    }
    void SaveAs(const std::string& path)
    {
        dialogs.saveNames.push_back(path);
        Main().Saveas1Click();
    }
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (int r = 0; r < Grid().RowCount(); ++r)
            rows.push_back(Cell(0, r) + "|" + Cell(1, r));
        return rows;
    }

    QTemporaryDir dir;
};

TEST_F(FilesTest, OpenFillsTheGridAtEightDigitsAndShowsSplineAndRegression)
{
    const std::string path =
        Write("set.dta", "; bridge test, run 2\r\n0 1.5\r\n1,2.25\r\n2.0 3e1\r\n3.123456789 -4\r\n");
    S().DataModified = true;
    S().SelectedPoint = 3;
    Open(path);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0|1.5", "1|2.25", "2|30", "3.1234568|-4"}));
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text().toStdString(), path);
    EXPECT_FALSE(S().DataModified);
    EXPECT_FALSE(S().NewFileLoaded);
    EXPECT_EQ(S().SelectedPoint, 1);
    EXPECT_TRUE(Find<QCheckBox>(Main(), "SplineCheckBox")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(Main(), "RegrCheckBox")->isChecked());
    EXPECT_TRUE(S().ShowSpline);  // the second replot drew them
    EXPECT_TRUE(S().ShowRegr);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(FilesTest, LinuxLineEndsLoadRowByRow)
{
    Open(Write("lf.dta", "1 2\n3 4\n5 6\n"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1|2", "3|4", "5|6"}));
}

TEST_F(FilesTest, AFileThatCannotBeReadLeavesEverythingAsItWas)
{
    SetGrid({{"7", "8"}, {"9", "10"}});
    Find<QLabel>(Main(), "FileNameLabel")->setText("before");
    S().DataModified = true;
    Open(Path("missing.dta"));
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"File not found"});
    EXPECT_EQ(Rows(), (std::vector<std::string>{"7|8", "9|10"}));
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text(), "before");
    EXPECT_TRUE(S().DataModified);

    Open(Write("huge.dta", "1 2\r\n1e5000 3\r\n"));
    EXPECT_EQ(dialogs.errors.back(), "Floating point overflow");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"7|8", "9|10"}));
}

TEST_F(FilesTest, InvalidLinesWarnAndCancelStopsReading)
{
    const std::string path = Write("bad.dta", "; c\r\n1 2\r\n\r\n1.5, 2\r\n4 5\r\n");
    Doc().SetGraphingEnabled(false);  // the grid as loaded, before a replot adjusts X
    Open(path);
    EXPECT_EQ(dialogs.BoxTexts(), (std::vector<std::string>{
                                      "Invalid data in file " + path + ", line 2: \"\", \"\"",
                                      "Invalid data in file " + path + ", line 3: \"1.5,\", \"2\""}));
    EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::OkCancel);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1|2", "0|0", "15|2", "4|5"}));

    dialogs.boxes.clear();
    SetGrid({{"7", "8"}});
    Find<QLabel>(Main(), "FileNameLabel")->setText("before");
    dialogs.answers.push_back(BoxAnswer::Cancel);
    Open(path);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(Rows(), std::vector<std::string>{"7|8"});
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text(), "before");
}

TEST_F(FilesTest, SaveWritesTheGridAndAddsTheExtension)
{
    SetGrid({{"1", "2.5"}, {"abc ??", ""}, {"3", "4"}});
    SaveAs(Path("out"));
    EXPECT_EQ(Read(Path("out.dta")), "1 2.5\r\nabc ?? \r\n3 4\r\n");
    EXPECT_TRUE(dialogs.boxes.empty());

    SaveAs(Path("out.txt"));
    EXPECT_EQ(dialogs.BoxTexts(), std::vector<std::string>{"File extension must be .dta"});
    EXPECT_EQ(dialogs.boxes[0].type, BoxType::Error);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("out.txt"))));
}

TEST_F(FilesTest, OverwriteIsAskedBothWays)
{
    const std::string path = Write("old.dta", "9 9\r\n");
    SetGrid({{"1", "2"}});
    dialogs.answers.push_back(BoxAnswer::No);
    SaveAs(path);
    EXPECT_EQ(dialogs.BoxTexts(), std::vector<std::string>{"File " + path + " already exists. Overwrite?"});
    EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(Read(path), "9 9\r\n");
    dialogs.answers.push_back(BoxAnswer::Yes);
    SaveAs(path);
    EXPECT_EQ(Read(path), "1 2\r\n");
}

TEST_F(FilesTest, AFailedSaveShowsTheErrorBox)
{
    SetGrid({{"1", "2"}});
    SaveAs(Path("no/such/folder/out.dta"));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_FALSE(dialogs.errors[0].empty());
}

TEST_F(FilesTest, AFailedSaveLeavesTheEarlierFileIntact)
{
    const std::string path = Write("kept.dta", "9 9\r\n");
    std::vector<std::pair<std::string, std::string>> rows(200, {"123456", "654321"});
    SetGrid(rows);
    // A file size limit makes the write fail part way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    dialogs.answers.push_back(BoxAnswer::Yes);
    SaveAs(path);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Disk full"});
    EXPECT_EQ(Read(path), "9 9\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.dta"});  // no half-written file left
}

TEST_F(FilesTest, WhereNoNewFileMayBeMadeAWritableFileIsWrittenInPlace)
{
    QDir(dir.path()).mkdir("locked");
    const std::string path = Write("locked/kept.dta", "9 9\r\n9 9\r\n");
    ::chmod(path.c_str(), 0666);
    ::chmod(Path("locked").c_str(), 0555);
    ::chmod(dir.path().toLocal8Bit().constData(), 0755);
    // Root passes every permission check: run the saves under an ordinary user id.
    const uid_t root = ::geteuid();
    if (root == 0 && ::seteuid(65534) != 0)
        GTEST_SKIP() << "cannot give up root, so a folder cannot refuse new files";
    SetGrid({{"1", "2"}});
    SaveAs(path);
    SaveAs(Path("locked/new.dta"));
    ASSERT_TRUE(root != 0 || ::seteuid(0) == 0);
    ::chmod(Path("locked").c_str(), 0755);
    EXPECT_EQ(Read(path), "1 2\r\n");
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"File access denied"});  // a new file still cannot be made
    EXPECT_EQ(QDir(QString::fromStdString(Path("locked"))).entryList(QDir::Files), QStringList{"kept.dta"});
}

TEST_F(FilesTest, SavedThenOpenedGivesTheSameGrid)
{
    Open(QUILVEX_EXAMPLES "/noisy.dta");
    ASSERT_TRUE(dialogs.errors.empty());
    const std::vector<std::string> loaded = Rows();
    ASSERT_GE(loaded.size(), 10u);
    S().DataModified = true;
    SaveAs(Path("copy.dta"));
    EXPECT_TRUE(S().DataModified);  // saving changes nothing else
    SetGrid({{"", ""}});
    dialogs.answers.push_back(BoxAnswer::Discard);  // the table no longer holds the file's rows
    Open(Path("copy.dta"));
    EXPECT_EQ(Rows(), loaded);
}

// "Open" over a changed table asks first, with the closing question; so does a
// drop (the command line opens over the new table, which has nothing to ask).
TEST_F(FilesTest, OpeningOverUnsavedChangesAsksAsClosingDoes)
{
    const std::string file = Write("new.dta", "0 1\r\n1 3\r\n2 2\r\n");
    const std::vector<std::string> edited{"7|8", "9|10"}, opened{"0|1", "1|3", "2|2"};
    struct Case {
        bool dropped;
        BoxAnswer answer;
        std::vector<std::string> rows;
        std::vector<std::string> fileDialogs;
    };
    const Case cases[] = {
        {false, BoxAnswer::Cancel, edited, {}},
        {false, BoxAnswer::Discard, opened, {"Open"}},
        {false, BoxAnswer::Save, opened, {"Save as", "Open"}},
        {true, BoxAnswer::Cancel, edited, {}},
        {true, BoxAnswer::Discard, opened, {}},
    };
    for (const Case& c : cases) {
        SetGrid({{"7", "8"}, {"9", "10"}});
        Main().RecordTableStep("typing");
        dialogs = ScriptedDialogs{};
        dialogs.answers = {c.answer};
        dialogs.saveNames.push_back(Path("kept.dta"));
        if (c.dropped) {
            Main().OpenDataFile(file);
        } else {
            dialogs.openNames.push_back(file);
            Main().MenuOpenClick();
        }
        const std::string how = std::string(c.dropped ? "drop, " : "menu, ") + std::to_string(static_cast<int>(c.answer));
        EXPECT_EQ(dialogs.BoxTexts(),
                  std::vector<std::string>{"The table has changes that are not saved. Save them before closing?"})
            << how;
        std::vector<std::string> titles;
        for (const FileRequest& request : dialogs.fileRequests)
            titles.push_back(request.title);
        EXPECT_EQ(titles, c.fileDialogs) << how;
        EXPECT_EQ(Rows(), c.rows) << how;
        EXPECT_EQ(Doc().Unsaved(), c.answer == BoxAnswer::Cancel) << how;
    }
    EXPECT_EQ(Read(Path("kept.dta")), "7 8\r\n9 10\r\n");
}

}  // namespace
