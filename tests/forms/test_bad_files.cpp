// What the user sees when a file is not what the program expects.
#include <QTemporaryDir>
#include <fstream>
#include <sys/resource.h>

#include "support/app_fixture.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class BadFilesTest : public AppTest {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (dir.path() + "/").toStdString() + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    void Open(const std::string& path)
    {
        dialogs.openNames.push_back(path);
        Main().MenuOpenClick();
    }
    QTemporaryDir dir;
};

TEST_F(BadFilesTest, AMillionLinesLoadInFullAndTheReplotTakes300)
{
    std::string bytes;
    bytes.reserve(20'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        bytes += std::to_string(i) + " " + std::to_string(i % 97) + "\r\n";
    const std::string path = Write("million.dta", bytes);
    Main().GraphEnableCheckBox->setChecked(false);
    Open(path);
    EXPECT_EQ(Grid().RowCount(), 1'000'000);
    EXPECT_EQ(Cell(0, 999'999), "999999");
    Main().GraphEnableCheckBox->setChecked(true);
    EXPECT_EQ(dialogs.BoxTexts(), std::vector<std::string>{"Too many X,Y values! (max 300)"});
    EXPECT_EQ(S().n, 300);
    EXPECT_EQ(Grid().RowCount(), 300);
}

TEST_F(BadFilesTest, BinaryAndNulBytesWarnPerLineAndCancelKeepsTheGrid)
{
    SetGrid({{"7", "8"}});
    std::string binary;
    for (int i = 0; i < 200; ++i)
        binary += std::string("\x01\x7f\xff\x80garbage\x1a", i % 2 ? 12 : 11) + "\r\n";
    dialogs.answers.push_back(BoxAnswer::Ok);
    dialogs.answers.push_back(BoxAnswer::Cancel);
    Open(Write("binary.dta", binary));
    EXPECT_EQ(dialogs.boxes.size(), 2u);  // the second box was cancelled
    EXPECT_EQ(Cell(0, 0), "7");

    dialogs.boxes.clear();
    Main().GraphEnableCheckBox->setChecked(false);
    Open(Write("nul.dta", std::string("1 2\r\n3\0 4\r\n5 6\r\n", 16)));
    EXPECT_TRUE(dialogs.boxes.empty());  // a NUL is trimmed like a blank
    EXPECT_EQ(Grid().RowCount(), 3);
    EXPECT_EQ(Cell(0, 1) + " " + Cell(1, 1), "3 4");
    EXPECT_EQ(Cell(0, 2), "5");
}

TEST_F(BadFilesTest, LongLinesAndExtremeNumbers)
{
    Main().GraphEnableCheckBox->setChecked(false);
    Open(Write("long.dta", "1 " + std::string(100'000, '9') + "\r\n"));
    EXPECT_EQ(Cell(1, 0), "1E255");  // the rest of a line is cut to 255 characters
    EXPECT_EQ(Grid().RowCount(), 1);

    Open(Write("tiny.dta", "1 1e-5000\r\n2 2\r\n"));
    EXPECT_EQ(Cell(1, 0), "0");
    Open(Write("inf.dta", "1 1e6000\r\n2 2\r\n"));
    EXPECT_EQ(Cell(1, 0), "INF");

    SetGrid({{"7", "8"}});
    Open(Write("huge.dta", "1 1e5000\r\n"));
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Floating point overflow"});
    EXPECT_EQ(Cell(0, 0), "7");
}

TEST_F(BadFilesTest, NamesThatCannotBeOpened)
{
    SetGrid({{"7", "8"}});
    Open((dir.path() + "/absent.dta").toStdString());
    Open(dir.path().toStdString());  // a folder
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(dialogs.errors[0], "File not found");
    EXPECT_EQ(dialogs.errors[1], "File access denied");
    EXPECT_EQ(Cell(0, 0), "7");

    dialogs.saveNames.push_back(dir.path().toStdString() + "/sub.dta");
    QDir(dir.path()).mkdir("sub.dta");
    Main().Saveas1Click();
    EXPECT_EQ(dialogs.errors.size(), 3u);  // a folder cannot be saved over
}

}  // namespace
