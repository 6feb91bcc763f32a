#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/datafile.h"
#include "data/fpfault.h"
#include "data/pointimport.h"
#include "support/vector_grid.h"

using namespace quilvex;
using namespace std::string_literals;
using quilvex::testing::VectorGrid;

namespace quilvex {
void PrintTo(const DataRow& row, std::ostream* out)
{
    *out << '{' << row.x << ", " << row.y << ", " << row.sigma << (row.excluded ? ", excluded}" : "}");
}
}  // namespace quilvex

namespace {

struct Loaded {
    ReadOutcome outcome = ReadOutcome::Loaded;
    std::vector<DataRow> rows;
    std::vector<std::string> warnings;
};

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "quilvex_datafile_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string PathOf(const std::string& leaf) const { return folder_ + "/" + leaf; }

    std::string Write(const std::string& bytes, const std::string& leaf = "test.dta") const
    {
        const std::string path = PathOf(leaf);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Reads the file, answering every warning with goOn.
    static Loaded Read(const std::string& path, bool goOn = true)
    {
        Loaded result;
        result.outcome = ReadDataFile(path, result.rows, [&](const std::string& warning) {
            result.warnings.push_back(warning);
            return goOn;
        });
        return result;
    }

    Loaded Load(const std::string& bytes) { return Read(Write(bytes)); }

    static std::string ErrorOf(const std::string& path)
    {
        std::vector<DataRow> rows{{"keep", "me"}};
        try {
            ReadDataFile(path, rows, [](const std::string&) { return true; });
        } catch (const QuilvexError& e) {
            EXPECT_EQ(rows, (std::vector<DataRow>{{"keep", "me"}})) << path;
            return e.what();
        }
        return "no error";
    }

    std::string folder_;
};

TEST_F(DataFileTest, TableExampleLoadsSavesAndReadsBackUnchanged)
{
    const Loaded first = Load("; bridge test, run 2\r\n0 1.5\r\n1,2.25\r\n2.0 3e1\r\n3.123456789 -4\r\n");
    EXPECT_EQ(first.outcome, ReadOutcome::Loaded);
    EXPECT_TRUE(first.warnings.empty());
    const std::vector<DataRow> expected{{"0", "1.5"}, {"1", "2.25"}, {"2", "30"}, {"3.1234568", "-4"}};
    EXPECT_EQ(first.rows, expected);

    VectorGrid grid(7);
    grid.SetCell(0, 6, "stale");
    FillGridWithRows(first.rows, grid);
    ASSERT_EQ(grid.RowCount(), 4);
    const std::string bytes = FormatDataFile(grid);
    EXPECT_EQ(bytes, "0 1.5\r\n1 2.25\r\n2 30\r\n3.1234568 -4\r\n");

    const Loaded second = Load(bytes);
    EXPECT_TRUE(second.warnings.empty());
    EXPECT_EQ(second.rows, expected);

    FillGridWithRows(Load("; comments only\r\n").rows, grid);
    ASSERT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(FormatDataFile(grid), " \r\n");
}

TEST_F(DataFileTest, WriterKeepsCellTextsAndWritesEmptyRowsAsOneBlank)
{
    const VectorGrid grid{{"1.50", "abc"}, {"", ""}, {" 7", "8"}};
    EXPECT_EQ(FormatDataFile(grid), "1.50 abc\r\n \r\n 7 8\r\n");
    const Loaded back = Load(FormatDataFile(grid));
    ASSERT_EQ(back.rows.size(), 3u);
    EXPECT_EQ(back.rows[1], (DataRow{"0", "0"}));
    EXPECT_EQ(back.rows[2], (DataRow{"7", "8"}));
    EXPECT_EQ(back.warnings.size(), 2u);  // "abc" and the empty row
}

TEST_F(DataFileTest, ACellNeverHoldsOrWritesALineBreakOrControlCharacter)
{
    EXPECT_EQ(CleanCellText("1.5\n2.5\r\n3"), "1.5");
    EXPECT_EQ(CleanCellText("\r\n7"), "");
    EXPECT_EQ(CleanCellText(std::string("1\t2\0" "3\x7f", 6)), "1 2 3 ");
    EXPECT_EQ(CleanCellText("-1.5e3 \xe9"), "-1.5e3 \xe9");  // printable bytes stay

    // Texts that reached a grid some other way still make one line per row.
    const VectorGrid grid{{"1\n2", "3"}, {"4", "5\r6"}};
    EXPECT_EQ(FormatDataFile(grid), "1 3\r\n4 5\r\n");
}

struct WarningCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> warnings;  // after "Invalid data in file <path>, line "
    std::vector<DataRow> rows;
};

TEST_F(DataFileTest, SigmaAndExclusionsRoundTripAndAreWrittenOnlyWhenPresent)
{
    struct Case {
        const char* what;
        std::vector<DataRow> rows;
        std::string bytes;
    };
    const std::vector<Case> cases{
        {"neither", {{"1", "2"}, {"3", "4"}}, "1 2\r\n3 4\r\n"},
        {"sigma", {{"1", "2", "0.1"}, {"3", "4", ""}, {"5", "6", "0.3"}},
         "; columns: x y sigma\r\n1 2 0.1\r\n3 4 \r\n5 6 0.3\r\n"},
        {"exclusions", {{"1", "2"}, {"3", "4", "", true}, {"5", "6", "", true}},
         "; excluded: 2 3\r\n1 2\r\n3 4\r\n5 6\r\n"},
        {"both", {{"1", "2", "abc", true}, {"3", "4", "0.2"}},
         "; columns: x y sigma\r\n; excluded: 1\r\n1 2 abc\r\n3 4 0.2\r\n"},
    };
    for (const Case& c : cases) {
        const VectorGrid grid(c.rows);
        EXPECT_EQ(FormatDataFile(grid), c.bytes) << c.what;
        const Loaded back = Load(c.bytes);
        EXPECT_TRUE(back.warnings.empty()) << c.what;
        EXPECT_EQ(back.rows, c.rows) << c.what;
        VectorGrid filled(9);
        filled.SetCell(2, 8, "stale");
        filled.SetExcluded(7, true);
        FillGridWithRows(back.rows, filled);
        EXPECT_EQ(filled.Rows(), c.rows) << c.what;
    }
    // An empty Y (read as 0, with the designed warning) keeps its sigma apart.
    const VectorGrid emptyY(std::vector<DataRow>{{"5", "", "0.3"}});
    EXPECT_EQ(FormatDataFile(emptyY), "; columns: x y sigma\r\n5 ,0.3\r\n");
    EXPECT_EQ(Load(FormatDataFile(emptyY)).rows, (std::vector<DataRow>{{"5", "0", "0.3"}}));
}

TEST_F(DataFileTest, DeclaredSigmaColumnIsCutAsYIsCutFromX)
{
    struct Case {
        std::string bytes;
        std::vector<DataRow> rows;
        std::vector<DataValues> values;
    };
    const std::vector<Case> cases{
        // Without the declaration a third field stays in Y, as ever.
        {"1 2 3\r\n", {{"1", "2"}}, {{1, 2}}},
        {"; columns: x y sigma\r\n1  2   0.5 \r\n4,5,6\r\n7 8,9\ta\r\n", {{"1", "2", "0.5"}, {"4", "5", "6"}, {"7", "8", "9 a"}},
         {{1, 2}, {4, 5}, {7, 8}}},
        // Only a data line after the declaration has three fields; other columns turn it off.
        {"1 2\r\n; columns: x y sigma\r\n3 4 5\r\n;columns: x y\r\n6 7 8\r\n", {{"1", "2"}, {"3", "4", "5"}, {"6", "7"}},
         {{1, 2}, {3, 4}, {6, 7}}},
        // Unknown and malformed numbers are ignored; the list may come anywhere.
        {"1 2\r\n3 4\r\n;excluded: 0 2 9 x1 2,\r\n", {{"1", "2"}, {"3", "4", "", true}}, {{1, 2}, {3, 4}}},
    };
    for (const Case& c : cases) {
        const Loaded loaded = Load(c.bytes);
        EXPECT_EQ(loaded.rows, c.rows) << c.bytes;
        const std::vector<DataValues> values = ReadDataValues(c.bytes);
        ASSERT_EQ(values.size(), c.values.size()) << c.bytes;
        for (std::size_t k = 0; k < values.size(); ++k)
            EXPECT_TRUE(values[k].x == c.values[k].x && values[k].y == c.values[k].y) << c.bytes << " row " << k;
    }
    EXPECT_EQ(Load("; columns: x y sigma\r\n1 2 3 4\r\n").warnings.size(), 0u);
    EXPECT_EQ(Load("1 2 3\r\n").warnings.size(), 1u);
}

TEST(SigmaCell, AnUnreadableSigmaOfAPointIsMarkedAsXAndYAre)
{
    struct Case {
        std::vector<DataRow> rows;
        std::vector<std::string> sigmaAfter;
    };
    const std::vector<Case> cases{
        {{{"1", "2", "abc"}, {"3", "4", ""}, {"5", "6", "0.5"}, {"7", "8", "x ??"}}, {"abc ??", "", "0.5", "x ??"}},
        // Beyond the points (from the first empty X) nothing is read.
        {{{"1", "2", "0.1"}, {"", "", "bad"}}, {"0.1", "bad"}},
    };
    for (const Case& c : cases) {
        VectorGrid grid(c.rows);
        QuilvexState s;
        ReadPointTable(s, grid, [](const std::string&) {});
        for (std::size_t row = 0; row < c.sigmaAfter.size(); ++row)
            EXPECT_EQ(grid.Cell(2, static_cast<int>(row)), c.sigmaAfter[row]) << "row " << row;
    }
}

TEST_F(DataFileTest, InvalidDataWarnsWithDataLineNumberAndStillGivesTheRow)
{
    const WarningCase cases[] = {
        {"comma then blank", "0 0\r\n1 1\r\n1.5, 2\r\n", {"3: \"1.5,\", \"2\""}, {{"0", "0"}, {"1", "1"}, {"15", "2"}}},
        {"blank wins over comma", "1, 2\r\n", {"1: \"1,\", \"2\""}, {{"1", "2"}}},
        {"comma alone", "1,2\r\n", {}, {{"1", "2"}}},
        {"three fields", "1 2 3\r\n", {"1: \"1\", \"2 3\""}, {{"1", "2"}}},
        {"many blanks between", "1      2\r\n", {}, {{"1", "2"}}},
        {"blank line", "1 2\r\n\r\n3 4\r\n", {"2: \"\", \"\""}, {{"1", "2"}, {"0", "0"}, {"3", "4"}}},
        {"line of blanks", "1 2\r\n   \r\n", {"2: \"\", \"\""}, {{"1", "2"}, {"0", "0"}}},
        {"tab separated", "1\t2\r\n", {"1: \"1\t2\", \"\""}, {{"1", "0"}}},
        {"comments not counted", "; a\r\n  ; b\r\n1 2\r\n3 4\r\nx 5\r\n", {"3: \"x\", \"5\""},
         {{"1", "2"}, {"3", "4"}, {"0", "5"}}},
        {"decimal comma", "2,5 1\r\n", {"1: \"2,5\", \"1\""}, {{"2", "1"}}},
        {"two bad lines", "a b\r\n1 2\r\nc\r\n", {"1: \"a\", \"b\"", "3: \"c\", \"\""}, {{"0", "0"}, {"1", "2"}, {"0", "0"}}},
        {"NUL inside a field", "1\0" "5 2\r\n"s, {"1: \"1\0" "5\", \"2\""s}, {{"1", "2"}}},
        {"NUL bytes at the ends", "\0\0 1 2\0\r\n"s, {}, {{"1", "2"}}},
        {"only NUL bytes", "\0\0\0"s, {"1: \"\", \"\""}, {{"0", "0"}}},
    };
    for (const WarningCase& c : cases) {
        const std::string path = Write(c.bytes);
        const Loaded result = Read(path);
        std::vector<std::string> expected;
        for (const std::string& tail : c.warnings)
            expected.push_back("Invalid data in file " + path + ", line " + tail);
        EXPECT_EQ(result.outcome, ReadOutcome::Loaded) << c.what;
        EXPECT_EQ(result.warnings, expected) << c.what;
        EXPECT_EQ(result.rows, c.rows) << c.what;
    }
}

struct RowsCase {
    const char* what;
    std::string bytes;
    std::vector<DataRow> rows;
};

TEST_F(DataFileTest, LineEndsCommentsAndEndOfFileMark)
{
    const RowsCase cases[] = {
        {"CR LF", "1 2\r\n3 4\r\n", {{"1", "2"}, {"3", "4"}}},
        {"lone LF", "1 2\n3 4\n", {{"1", "2"}, {"3", "4"}}},
        {"lone CR", "1 2\r3 4\r", {{"1", "2"}, {"3", "4"}}},
        {"mixed, last line unended", "1 2\r\n3 4\n5 6\r7 8", {{"1", "2"}, {"3", "4"}, {"5", "6"}, {"7", "8"}}},
        {"Ctrl-Z after a line end", "1 2\r\n\x1a" "3 4\r\n", {{"1", "2"}}},
        {"Ctrl-Z inside a line", "1 2\x1a" "5\r\n3 4\r\n", {{"1", "2"}}},
        {"Ctrl-Z first", "\x1a" "1 2\r\n", {}},
        {"empty file", "", {}},
        {"comments only", "; one\r\n\t; two\n;\r", {}},
        {"comment with a separator", ";1 2\r\n3 4", {{"3", "4"}}},
        {"more than 8 digits, signs, exponents", "-0.000035 +1e20\r\n123456789 .5\r\n",
         {{"-3.5E-5", "1E20"}, {"1.2345679E8", "0.5"}}},
    };
    for (const RowsCase& c : cases) {
        const Loaded result = Load(c.bytes);
        EXPECT_EQ(result.outcome, ReadOutcome::Loaded) << c.what;
        EXPECT_TRUE(result.warnings.empty()) << c.what;
        EXPECT_EQ(result.rows, c.rows) << c.what;
    }
}

TEST_F(DataFileTest, LongLinesDoNotBreakTheReader)
{
    const std::string blanks(100000, ' ');
    const std::string junk(100000, 'x');
    const Loaded result = Load(";" + junk + "\r\n1" + blanks + "2\r\n" + junk + "\r\n3 4");
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0], (DataRow{"1", "0"}));  // the rest is cut to 255 blanks, so Y is empty
    EXPECT_EQ(result.rows[1], (DataRow{"0", "0"}));
    EXPECT_EQ(result.rows[2], (DataRow{"3", "4"}));
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_NE(result.warnings[1].find("line 2: \"" + junk + "\", \"\""), std::string::npos);
}

TEST(DataFileText, LinesWithACutFieldAreNamedByTheirNumberInTheFile)
{
    const std::string full(kMaxRestLength, '7');
    struct Case {
        std::string bytes;
        std::vector<std::size_t> lines;
    };
    const Case cases[] = {
        {"1 " + full + "\r\n", {}},
        {"1 " + full + "7\r\n", {1}},
        {"1,7" + full + "\n", {1}},
        {"1  " + full + "\n", {1}},              // the blank after the separator counts
        {"1 " + full + "\t \r\n", {}},           // trailing blanks are trimmed before the cut
        {"; " + full + full + "\n" + full + full + "\n", {}},  // a comment, and a line with no separator
        {"; note\r\n\n1 2\r" + std::string("3 ") + full + "77\n4 4", {4}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinesWithCutField(c.bytes), c.lines) << c.bytes.substr(0, 12);
}

TEST_F(DataFileTest, NumberBeyondTheRangeRaisesOverflow)
{
    for (const char* bytes : {"1 2\r\n1e5000 3\r\n", "1 2\r\n3 -1e5000\r\n"}) {
        const std::string error = ErrorOf(Write(bytes));
        EXPECT_EQ(error, kOverflowText) << bytes;
    }
    EXPECT_EQ(Load("1e6000 1e-6000\r\n").rows, (std::vector<DataRow>{{"INF", "0"}}));
}

TEST_F(DataFileTest, CancelStopsReadingAndYieldsNoRows)
{
    const std::string path = Write("1 2\r\nbad 3\r\n4 5\r\nworse\r\n");
    Loaded result;
    result.rows = {{"old", "row"}};
    int asked = 0;
    result.outcome = ReadDataFile(path, result.rows, [&](const std::string&) {
        ++asked;
        return false;
    });
    EXPECT_EQ(result.outcome, ReadOutcome::Cancelled);
    EXPECT_TRUE(result.rows.empty());
    EXPECT_EQ(asked, 1);

    const Loaded goingOn = Read(path, true);
    EXPECT_EQ(goingOn.outcome, ReadOutcome::Loaded);
    EXPECT_EQ(goingOn.rows.size(), 4u);
    EXPECT_EQ(goingOn.warnings.size(), 2u);
}

TEST_F(DataFileTest, FilesThatCannotBeReadRaiseTheirErrorAndChangeNothing)
{
    const std::string plain = Write("1 2\r\n", "plain.dta");
    std::filesystem::create_directory(PathOf("folder.dta"));
    EXPECT_EQ(ErrorOf(PathOf("missing.dta")), "File not found");
    EXPECT_EQ(ErrorOf(PathOf("folder.dta")), kDirectoryText);
    ASSERT_EQ(::mkfifo(PathOf("pipe.dta").c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf(PathOf("pipe.dta")), kEmptyPipeText);  // nothing writes to it
    EXPECT_EQ(ErrorOf(plain + "/inside.dta"), "Invalid filename");
    EXPECT_EQ(ErrorOf(plain + "\0x"s), "Invalid filename");
    EXPECT_EQ(ErrorOf(PathOf(std::string(5000, 'n'))), "Invalid filename");
    EXPECT_EQ(ErrorOf(""), "File not found");
}

TEST_F(DataFileTest, PermissionBitsDecideReadingAndExistence)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    const std::string unreadable = Write("1 2\r\n", "unreadable.dta");
    const std::string readOnly = Write("1 2\r\n", "readonly.dta");
    ASSERT_EQ(::chmod(unreadable.c_str(), 0), 0);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_EQ(ErrorOf(unreadable), "File access denied");
    EXPECT_FALSE(DataFileExists(readOnly));  // saving over it asks no question
    EXPECT_EQ(Read(readOnly).rows.size(), 1u);
}

TEST_F(DataFileTest, ExistenceNeedsAFileOpenForReadingAndWriting)
{
    const std::string path = Write("1 2\r\n");
    std::filesystem::create_directory(PathOf("folder.dta"));
    EXPECT_TRUE(DataFileExists(path));
    EXPECT_FALSE(DataFileExists(PathOf("missing.dta")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing.dta")));  // never created
    EXPECT_FALSE(DataFileExists(PathOf("folder.dta")));
    EXPECT_FALSE(DataFileExists(path + "\0"s + "x"));
}

TEST_F(DataFileTest, MillionLinesLoadQuickly)
{
    std::string bytes;
    bytes.reserve(20'000'000);
    char line[48];
    for (int i = 0; i < 1'000'000; ++i) {
        const int length = std::snprintf(line, sizeof line, "%d %d.25\r\n", i, i % 977);
        bytes.append(line, static_cast<std::size_t>(length));
    }
    const std::string path = Write(bytes);
    const auto start = std::chrono::steady_clock::now();
    const Loaded result = Read(path);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("read_seconds", std::to_string(seconds));
    ASSERT_EQ(result.rows.size(), 1'000'000u);
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(result.rows[999'999], (DataRow{"999999", "528.25"}));
    EXPECT_EQ(result.rows[123'456], (DataRow{"123456", "354.25"}));
}

TEST(DataFileText, TrimRemovesControlBytesOnlyAtTheEnds)
{
    EXPECT_EQ(TrimControls("\t\0 1 2\r\n "s), "1 2");
    EXPECT_EQ(TrimControls("\xa0x\xff"), "\xa0x\xff");  // bytes above 127 are text
    EXPECT_EQ(TrimControls(" \x1f\x01 "), "");
}

TEST(DataFileText, SplitFieldCutsAtTheFirstSeparatorThatOccurs)
{
    struct Case {
        std::string line, field, rest;
    };
    const Case cases[] = {
        {"1 2", "1", "2"},          {"1,2", "1", "2"},     {"1, 2", "1,", "2"},   {"a,b c", "a,b", "c"},
        {"1  2", "1", " 2"},        {"abc", "abc", ""},    {"", "", ""},          {" 1", "", "1"},
        {"1 " + std::string(300, 'y'), "1", std::string(255, 'y')},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(SplitField(line, " ,"), c.field) << c.line;
        EXPECT_EQ(line, c.rest) << c.line;
    }
}

TEST(DataFileText, SaveNameGetsOrKeepsTheDataExtension)
{
    struct Case {
        std::string name, result;
        NameCheck check;
    };
    const Case cases[] = {
        {"data", "data.dta", NameCheck::Ok},
        {"data.dta", "data.dta", NameCheck::Ok},
        {"data.Dta", "data.Dta", NameCheck::Ok},
        {"/home/u/a.b.DTA", "/home/u/a.b.DTA", NameCheck::Ok},
        {"data.txt", "data.txt", NameCheck::WrongExtension},
        {"data.", "data.", NameCheck::WrongExtension},
        {"data.dta.bak", "data.dta.bak", NameCheck::WrongExtension},
        {"/home/u/my.data/set", "/home/u/my.data/set.dta", NameCheck::Ok},
        {"C:\\my.data\\set", "C:\\my.data\\set.dta", NameCheck::Ok},
        {"D:set", "D:set.dta", NameCheck::Ok},
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        EXPECT_EQ(ApplyDataFileExtension(name), c.check) << c.name;
        EXPECT_EQ(name, c.result) << c.name;
    }
}

TEST(DataFileText, SystemErrorsMapToTheirTextsWithoutCollidingCodes)
{
    EXPECT_EQ(ErrnoErrorText(ENOSPC), "Disk full");
    EXPECT_EQ(ErrnoErrorText(EMFILE), "Too many open files");
    EXPECT_EQ(ErrnoErrorText(EIO), "I/O error " + std::to_string(EIO));  // EIO is 5, yet no access fault
    EXPECT_EQ(IoErrorText(32), "I/O error 32");
}

}  // namespace
