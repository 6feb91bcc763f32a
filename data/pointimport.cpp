#include "data/pointimport.h"

#include "data/datafile.h"
#include "data/numtext.h"

namespace quilvex {

namespace {

void MarkUnreadable(CellGrid& grid, int col, int row)
{
    const std::string text = grid.Cell(col, row);
    if (text.find("??") == std::string::npos)
        grid.SetCell(col, row, text + " ??");
}

Real ReadCell(CellGrid& grid, int col, int row)
{
    const FloatText read = TextToFloat(grid.Cell(col, row));
    if (!read.ok())
        MarkUnreadable(grid, col, row);
    return read.value;
}

// An empty sigma is no fault here: the weighting that needs it says so.
void CheckSigmaCell(CellGrid& grid, int row)
{
    const std::string text = grid.Cell(2, row);
    if (!text.empty() && !TextToFloat(text).ok())
        MarkUnreadable(grid, 2, row);
}

}  // namespace

void ReadPointTable(QuilvexState& s, CellGrid& grid, const std::function<void(const std::string&)>& warn)
{
    s.n = 0;
    const bool sigma = GridHasSigma(grid);
    do {
        const int row = s.n;
        if (grid.Cell(0, row).empty())
            return;
        if (s.n == MaxPoints) {
            warn("Too many X,Y values! (max " + FormatGeneral(MaxPoints, 8) + ")");
            grid.SetRowCount(MaxPoints);
            return;
        }
        s.x[row + 1] = ReadCell(grid, 0, row);
        s.y[row + 1] = ReadCell(grid, 1, row);
        if (sigma)
            CheckSigmaCell(grid, row);
        ++s.n;
    } while (s.n < grid.RowCount());
}

int RowsHoldingText(const CellGrid& grid)
{
    for (int row = grid.RowCount() - 1; row >= 0; --row)
        if (!grid.Cell(0, row).empty() || !grid.Cell(1, row).empty() || !grid.Cell(2, row).empty())
            return row + 1;
    return 0;
}

}  // namespace quilvex
