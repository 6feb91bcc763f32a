#pragma once
// The point table the statistics are computed for: a data file read as File >
// Open reads it, imported into the table as a replot imports the grid, with
// the designed ascending adjustment of X.
#include <string>
#include <string_view>
#include <vector>

#include "data/state.h"

namespace quilvex {

struct TableLoad {
    std::string error;                  // not empty: no usable table, and why
    std::vector<std::string> warnings;  // one per adjusted X value
};

// Fills s.n, s.x and s.y from the bytes of the data file `name`. Any line the
// file reader would warn about, more than MaxPoints points and fewer than 3
// are errors, with the designed texts.
TableLoad LoadPointTable(std::string_view bytes, const std::string& name, QuilvexState& s);

// One warning per X value the replots adjusted that the table still holds, in
// the order of the points: "x values not ascending: point 3 x = 2 adjusted to 2.2...".
std::vector<std::string> AdjustmentWarnings(const QuilvexState& s);

}  // namespace quilvex
