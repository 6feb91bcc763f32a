#pragma once
// The data grid as the data set sees it: cell texts by column (0 = X, 1 = Y,
// 2 = sigma, the uncertainty of Y) and row (from 0), a row count that never
// goes below 1, and the rows the user left out of every fit.
#include <string>

namespace quilvex {

// A cell holds one line of printable text: the text ends at the first line
// break, and any other control character (tab, NUL, ...) becomes a blank, so
// that a saved row never spans two lines.
std::string CleanCellText(std::string text);

class CellGrid {
public:
    virtual ~CellGrid() = default;
    virtual std::string Cell(int col, int row) const = 0;
    virtual void SetCell(int col, int row, const std::string& text) = 0;
    virtual int RowCount() const = 0;
    virtual void SetRowCount(int rows) = 0;
    virtual bool Excluded(int /*row*/) const { return false; }
    // A grid that cannot hold the marks ignores them.
    virtual void SetExcluded(int /*row*/, bool /*excluded*/) {}
};

}  // namespace quilvex
