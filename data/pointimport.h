#pragma once
// Building the point table from the data grid, as every replot does first.
#include <functional>
#include <string>

#include "data/cellgrid.h"
#include "data/state.h"

namespace quilvex {

// Reads rows from row 0 until the first empty X cell: n points, unreadable cells
// marked with " ??" once (the point keeps the conversion's failure value), more
// than MaxPoints rows warned about and cut. Row 0 is always read. A sigma cell
// of a point that holds text but no number is marked as well.
void ReadPointTable(QuilvexState& s, CellGrid& grid, const std::function<void(const std::string&)>& warn);

// One past the last row that holds text in either cell (0 for an empty grid).
int RowsHoldingText(const CellGrid& grid);

}  // namespace quilvex
