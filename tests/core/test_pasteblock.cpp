#include <gtest/gtest.h>

#include "data/pasteblock.h"

using namespace quilvex;

namespace {

struct PasteCase {
    const char* what;
    std::string text;
    std::vector<PastedRow> rows;
    friend void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.what; }
};

class PasteBlockTest : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PasteBlockTest, SplitsLinesAndFields)
{
    EXPECT_EQ(SplitPastedBlock(GetParam().text), GetParam().rows) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, PasteBlockTest,
    ::testing::Values(
        PasteCase{"tabs, as spreadsheets copy", "1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}},
        PasteCase{"tabs win over the other separators", "1,5\t2;5\n", {{"1.5", "2;5"}}},
        PasteCase{"semicolons with decimal commas", "1,5;-2,25e3\n0,5;7", {{"1.5", "-2.25e3"}, {"0.5", "7"}}},
        PasteCase{"commas", "1.5,2\n3, 4\n", {{"1.5", "2"}, {"3", "4"}}},
        PasteCase{"runs of blanks", "  1   2 \n3 4", {{"1", "2"}, {"3", "4"}}},
        PasteCase{"ragged rows and empty fields", "1\t2\t9\n3\n\t5\n", {{"1", "2", "9"}, {"3"}, {"", "5"}}},
        PasteCase{"an empty line stays a row", "1;2\n\n3;4", {{"1", "2"}, {}, {"3", "4"}}},
        PasteCase{"old Mac line ends", "1 2\r3 4\r", {{"1", "2"}, {"3", "4"}}},
        PasteCase{"a comma that is no decimal one stays", "a,b;1,2,3\n", {{"a,b", "1,2,3"}}},
        PasteCase{"control characters become blanks", std::string("1\x01" "5;2\n", 6), {{"1 5", "2"}}},
        PasteCase{"quoted decimal commas", "\"1,5\";\"2,5\"\n", {{"1.5", "2.5"}}},
        PasteCase{"quoted commas among blanks", "\"1,5\"  \"-2,5\"\n3 4", {{"1.5", "-2.5"}, {"3", "4"}}},
        PasteCase{"doubled quotes and empty quoted fields", "\"a \"\"b\"\"\",\"\",2", {{"a \"b\"", "", "2"}}},
        PasteCase{"a line end inside quotes ends the cell", "\"x\ny\"\t1\r\n2\t3", {{"x", "1"}, {"2", "3"}}},
        PasteCase{"quotes inside a field are text", "2\"\t3\"4\n", {{"2\"", "3\"4"}}},
        PasteCase{"a quote that never closes is text", "\"5;1\n6;\"\"7", {{"\"5", "1"}, {"6", "\"\"7"}}}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
