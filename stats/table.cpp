#include "stats/table.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "data/datafile.h"
#include "data/fitcache.h"
#include "data/numtext.h"
#include "data/pointimport.h"
#include "graph/core/scaling.h"

namespace quilvex {

namespace {

// The paint box of the graph window; its size sets only the scales, which the
// statistics do not use.
constexpr int kPaintWidth = 538;
constexpr int kPaintHeight = 402;

class MemoryGrid : public CellGrid {
public:
    std::string Cell(int col, int row) const override
    {
        if (row < 0 || row >= RowCount() || col < 0 || col > 2)
            return {};
        const DataRow& r = rows_[static_cast<std::size_t>(row)];
        return col == 0 ? r.x : col == 1 ? r.y : r.sigma;
    }
    void SetCell(int col, int row, const std::string& text) override
    {
        if (row < 0 || row >= RowCount() || col < 0 || col > 2)
            return;
        DataRow& r = rows_[static_cast<std::size_t>(row)];
        (col == 0 ? r.x : col == 1 ? r.y : r.sigma) = text;
    }
    bool Excluded(int row) const override { return row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)].excluded; }
    void SetExcluded(int row, bool excluded) override
    {
        if (row >= 0 && row < RowCount())
            rows_[static_cast<std::size_t>(row)].excluded = excluded;
    }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows) override { rows_.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows)); }

private:
    std::vector<DataRow> rows_{1};
};

std::string Digits(Real v) { return FormatGeneral(v, 18, '.'); }

// The ascending adjustment of a replot, each changed X reported.
void AdjustAscending(QuilvexState& s, MemoryGrid& grid, TableLoad& load)
{
    s.AdjustedXs.clear();
    ClearFpu();
    try {
        ScaleGraph(s, grid, kPaintWidth, kPaintHeight);
    } catch (const QuilvexError& e) {
        load.error = std::string("x values not ascending, and adjusting them failed: ") + e.what();
        ClearFpu();
        return;
    }
    ClearFpu();
    load.warnings = AdjustmentWarnings(s);
}

std::string Counted(std::size_t count, const std::string& what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// The values the grid's 8 significant digits changed, x and y counted.
std::size_t RoundedValues(const std::vector<DataValues>& written, const QuilvexState& s)
{
    std::size_t rounded = 0;
    for (int i = 1; i <= s.n; ++i) {
        const DataValues& v = written[static_cast<std::size_t>(i - 1)];
        rounded += (v.x != s.x[i]) + (v.y != s.y[i]);
    }
    return rounded;
}

void NoteGridChanges(std::size_t rounded, std::size_t adjusted, TableLoad& load)
{
    if (rounded > 0)
        load.notes.push_back(Counted(rounded, "value") +
                             " rounded to 8 significant digits, as the grid holds them (x and y counted); "
                             "--as-written fits the values as the file writes them");
    if (adjusted > 0)
        load.notes.push_back(Counted(adjusted, "x value") +
                             " moved by the ascending adjustment, as a replot moves them; "
                             "--as-written fits the points as written, sorted by x");
}

// The first n values as written, in ascending order of X; points of equal X
// keep the file's order.
void TakeSortedAsWritten(const std::vector<DataValues>& written, QuilvexState& s)
{
    std::vector<std::size_t> order(static_cast<std::size_t>(s.n));
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return written[a].x < written[b].x; });
    for (int i = 1; i <= s.n; ++i) {
        s.x[i] = written[order[static_cast<std::size_t>(i - 1)]].x;
        s.y[i] = written[order[static_cast<std::size_t>(i - 1)]].y;
    }
}

}  // namespace

std::vector<std::string> AdjustmentWarnings(const QuilvexState& s)
{
    std::vector<std::string> warnings;
    for (const AdjustedX& a : s.AdjustedXs) {
        if (StillAdjusted(s, a) && !SameBits(a.read, s.x[a.point]))
            warnings.push_back("x values not ascending: point " + std::to_string(a.point) + " x = " +
                               Digits(a.read) + " adjusted to " + Digits(s.x[a.point]));
    }
    return warnings;
}

TableLoad LoadPointTable(std::string_view bytes, const std::string& name, QuilvexState& s, TableForm form)
{
    TableLoad load;
    std::vector<DataRow> rows;
    try {
        ParseDataFile(bytes, name, rows, [&](const std::string& warning) {
            load.error = warning;
            return false;
        });
    } catch (const QuilvexError& e) {
        load.error = name + ": " + e.what();
    }
    if (!load.error.empty())
        return load;
    MemoryGrid grid;
    FillGridWithRows(rows, grid);
    ReadPointTable(s, grid, [&](const std::string& warning) { load.error = warning; });
    if (load.error.empty() && s.n < 3)
        load.error = "Too few X,Y values, must be at least 3!";
    if (!load.error.empty())
        return load;
    const std::vector<DataValues> written = ReadDataValues(bytes);
    if (form == TableForm::AsWritten) {
        TakeSortedAsWritten(written, s);
        return load;
    }
    const std::size_t rounded = RoundedValues(written, s);
    AdjustAscending(s, grid, load);
    NoteGridChanges(rounded, load.warnings.size(), load);
    return load;
}

bool HasRepeatedX(const QuilvexState& s)
{
    std::vector<Real> x(s.x.data(), s.x.data() + s.n);
    std::sort(x.begin(), x.end());
    return std::adjacent_find(x.begin(), x.end()) != x.end();
}

}  // namespace quilvex
