#pragma once
// The point table the statistics are computed for: a data file read as File >
// Open reads it, imported into the table as a replot imports the grid, with
// the designed ascending adjustment of X; or, asked for, the values as the
// file writes them.
#include <string>
#include <string_view>
#include <vector>

#include "data/state.h"

namespace quilvex {

enum class TableForm {
    Grid,       // as the grid holds the file: 8 significant digits, then the ascending adjustment
    AsWritten,  // every digit the file writes, sorted by X (a stable sort), repeated X kept, never adjusted
};

struct TableLoad {
    std::string error;                  // not empty: no usable table, and why
    std::vector<std::string> warnings;  // one per adjusted X value
    std::vector<std::string> notes;     // how many values the grid's digits and the adjustment changed
    std::vector<std::string> constraints;  // the texts of the file's constraint lines
};

// Fills s.n, s.x and s.y from the bytes of the data file `name`. Any line the
// file reader would warn about, more than MaxPoints points and fewer than 3
// are errors, with the designed texts, in either form.
// The rows the file excludes and alsoExcluded (data lines from 1) are set
// aside as a replot sets them aside: s.x and s.y hold the points fitted, and
// s.PointRows, s.SigmaTexts and s.Excluded say where each came from, when the
// file gives sigma or excludes a point. A row beyond the table, or exclusions
// that leave fewer than 3 points to fit, are errors.
TableLoad LoadPointTable(std::string_view bytes, const std::string& name, QuilvexState& s,
                         TableForm form = TableForm::Grid, const std::vector<int>& alsoExcluded = {});

// "rows 3, 7" ("row 3" for one): the rows a report names.
std::string RowsText(const std::vector<int>& rows);

// True when two points of the table share an X, which the ascending
// adjustment never leaves.
bool HasRepeatedX(const QuilvexState& s);

// One warning per X value the replots adjusted that the table still holds, in
// the order of the points: "x values not ascending: point 3 x = 2 adjusted to 2.2...".
std::vector<std::string> AdjustmentWarnings(const QuilvexState& s);

}  // namespace quilvex
