// ParseDataFile on arbitrary bytes. Besides not crashing:
//   - an error is only ever "Floating point overflow" (or, for more lines than
//     a data file may hold, the too-large text) and leaves the rows as they were;
//   - every cell it writes reads back as a number (but for those that cannot
//     by rule);
//   - cancelling at the first warning gives no rows, and without warnings the
//     cancelling reader gives the same rows;
//   - the rows saved as a data file and read again come back unchanged.
#include <cstring>
#include <string>
#include <vector>

#include "data/datafile.h"
#include "data/numtext.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/vector_grid.h"

using namespace quilvex;
using namespace quilvex::fuzz;

namespace {

const std::string kName = "fuzz.dta";

std::string Describe(const DataRow& row) { return Quoted(row.x) + " " + Quoted(row.y); }

// The cells that do not read back by rule: "INF" is no number text, and the
// two edges of the extended range (see fuzz_check.h).
bool ReadsBackByRule(const std::string& cell)
{
    const std::string_view digits = Unsigned(cell);
    return cell != "INF" && digits != kAboveTheLargest8 && digits != kBelowTheNormal8;
}

void CheckCells(const std::vector<DataRow>& rows)
{
    for (const DataRow& row : rows)
        for (const std::string* cell : {&row.x, &row.y})
            if (ReadsBackByRule(*cell) && !TextToFloat(*cell).ok())
                Fail("the reader wrote the cell " + Quoted(*cell) + ", which does not read back");
}

void CheckCancelling(std::string_view bytes, const std::vector<DataRow>& rows, int warnings)
{
    std::vector<DataRow> again{{"old", "row"}};
    const ReadOutcome outcome = ParseDataFile(bytes, kName, again, [](const std::string&) { return false; });
    if (warnings > 0 && (outcome != ReadOutcome::Cancelled || !again.empty()))
        Fail("cancelling at a warning still gave " + std::to_string(again.size()) + " rows");
    if (warnings == 0 && (outcome != ReadOutcome::Loaded || again != rows))
        Fail("a file without warnings read differently when cancelling was offered");
}

void CheckReloading(const std::vector<DataRow>& rows)
{
    if (rows.empty())
        return;
    for (const DataRow& row : rows)
        if (!ReadsBackByRule(row.x) || !ReadsBackByRule(row.y))
            return;
    testing::VectorGrid grid;
    FillGridWithRows(rows, grid);
    const std::string saved = FormatDataFile(grid);
    std::vector<DataRow> reloaded;
    const ReadOutcome outcome = ParseDataFile(saved, kName, reloaded, [](const std::string& warning) -> bool {
        Fail("a saved file warns: " + warning);
    });
    if (outcome != ReadOutcome::Loaded || reloaded.size() != rows.size())
        Fail("a saved file of " + std::to_string(rows.size()) + " rows reads back as " +
             std::to_string(reloaded.size()));
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (reloaded[k] != rows[k])
            Fail("row " + std::to_string(k) + " " + Describe(rows[k]) + " reads back as " + Describe(reloaded[k]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = AsText(data, size);
    const std::vector<DataRow> before{{"old", "row"}};
    std::vector<DataRow> rows = before;
    int warnings = 0;
    try {
        const ReadOutcome outcome = ParseDataFile(bytes, kName, rows, [&warnings](const std::string&) {
            ++warnings;
            return true;
        });
        if (outcome != ReadOutcome::Loaded)
            Fail("a reader that always goes on was cancelled");
    } catch (const QuilvexError& e) {
        if (std::strcmp(e.what(), kOverflowText) != 0 && std::strcmp(e.what(), kFileTooLargeText) != 0)
            Fail(std::string("the reader raised ") + e.what());
        if (rows != before)
            Fail("a failed read changed the rows");
        return 0;
    }
    CheckCells(rows);
    CheckCancelling(bytes, rows, warnings);
    CheckReloading(rows);
    return 0;
}
