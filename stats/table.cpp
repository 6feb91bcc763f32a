#include "stats/table.h"

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
        if (row < 0 || row >= RowCount())
            return {};
        const DataRow& r = rows_[static_cast<std::size_t>(row)];
        return col == 0 ? r.x : r.y;
    }
    void SetCell(int col, int row, const std::string& text) override
    {
        if (row >= 0 && row < RowCount())
            (col == 0 ? rows_[static_cast<std::size_t>(row)].x : rows_[static_cast<std::size_t>(row)].y) = text;
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

TableLoad LoadPointTable(std::string_view bytes, const std::string& name, QuilvexState& s)
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
    if (load.error.empty())
        AdjustAscending(s, grid, load);
    return load;
}

}  // namespace quilvex
