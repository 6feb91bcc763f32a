// What the user sees when a file is not what the program expects.
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "data/datafile.h"
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
    // A named pipe with both ends open, so that its writer may start before the
    // program opens it; returns the reading end, which keeps the pipe whole.
    int OpenFifo(const std::string& path, int& writer)
    {
        ::mkfifo(path.c_str(), 0600);
        const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        writer = ::open(path.c_str(), O_WRONLY);
        return reader;
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
    Doc().SetGraphingEnabled(false);
    Open(path);
    EXPECT_EQ(Grid().RowCount(), 1'000'000);
    EXPECT_EQ(Cell(0, 999'999), "999999");
    Doc().SetGraphingEnabled(true);
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
    Doc().SetGraphingEnabled(false);
    Open(Write("nul.dta", std::string("1 2\r\n3\0 4\r\n5 6\r\n", 16)));
    EXPECT_TRUE(dialogs.boxes.empty());  // a NUL is trimmed like a blank
    EXPECT_EQ(Grid().RowCount(), 3);
    EXPECT_EQ(Cell(0, 1) + " " + Cell(1, 1), "3 4");
    EXPECT_EQ(Cell(0, 2), "5");
}

TEST_F(BadFilesTest, LongLinesAndExtremeNumbers)
{
    Doc().SetGraphingEnabled(false);
    Open(Write("long.dta", "1 " + std::string(100'000, '9') + "\r\n"));
    EXPECT_EQ(Cell(1, 0), "1E255");  // the rest of a line is cut to 255 characters
    EXPECT_EQ(Grid().RowCount(), 1);

    Open(Write("tiny.dta", "1 1e-5000\r\n2 2\r\n"));
    EXPECT_EQ(Cell(1, 0), "0");
    Open(Write("inf.dta", "1 1e6000\r\n2 2\r\n"));
    EXPECT_EQ(Cell(1, 0), "INF");

    SetGrid({{"7", "8"}});
    dialogs.answers.push_back(BoxAnswer::Discard);  // the table no longer holds the file's rows
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
    EXPECT_EQ(dialogs.errors[1], kDirectoryText);
    EXPECT_EQ(Cell(0, 0), "7");

    dialogs.saveNames.push_back(dir.path().toStdString() + "/sub.dta");
    QDir(dir.path()).mkdir("sub.dta");
    Main().Saveas1Click();
    EXPECT_EQ(dialogs.errors.size(), 3u);  // a folder cannot be saved over
}

TEST_F(BadFilesTest, DevicesEndlessPipesAndHugeFilesChangeNothingButAPipeThatEndsLoads)
{
    SetGrid({{"7", "8"}});
    Find<QLabel>(Main(), "FileNameLabel")->setText("before");
    S().DataModified = true;
    Open("/dev/zero");

    const std::string sparse = Write("sparse.dta", "");
    ASSERT_EQ(::truncate(sparse.c_str(), static_cast<off_t>(kMaxDataFileBytes) + 1), 0);
    Open(sparse);
    Open(Write("lines.dta", std::string(kMaxDataFileLines + 1, '\n')));

    const auto oldPipeSignal = std::signal(SIGPIPE, SIG_IGN);
    const std::string endless = (dir.path() + "/endless.dta").toStdString();
    int writer = -1;
    const int reader = OpenFifo(endless, writer);
    std::thread feed([writer] {
        const std::string block(1 << 16, '\n');
        while (::write(writer, block.data(), block.size()) > 0) {
        }
    });
    Open(endless);
    ::close(reader);  // the pipe breaks, and the writer stops
    feed.join();
    ::close(writer);
    std::signal(SIGPIPE, oldPipeSignal);

    EXPECT_EQ(dialogs.errors, (std::vector<std::string>{kDeviceFileText, kFileTooLargeText, kFileTooLargeText,
                                                        kFileTooLargeText}));
    EXPECT_EQ(Grid().RowCount(), 1);
    EXPECT_EQ(Cell(0, 0) + " " + Cell(1, 0), "7 8");
    EXPECT_EQ(Find<QLabel>(Main(), "FileNameLabel")->text(), "before");
    EXPECT_TRUE(S().DataModified);
    EXPECT_FALSE(S().NewFileLoaded);

    const int again = OpenFifo(endless, writer);
    ASSERT_EQ(::write(writer, "1 2\r\n3 4\r\n", 10), 10);
    ::close(writer);
    Doc().SetGraphingEnabled(false);
    Open(endless);
    ::close(again);
    EXPECT_EQ(dialogs.errors.size(), 4u);
    EXPECT_EQ(Cell(0, 1) + " " + Cell(1, 1), "3 4");
}

}  // namespace
