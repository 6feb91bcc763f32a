#pragma once
// "Copy results": every enabled method's formula and coefficients at full
// precision, the point count, the data file and the fit quality figures, as
// plain text for the clipboard or a text file.
#include <string>

#include "data/state.h"

namespace quilvex {

// Numbers at 18 significant digits with "." whatever the locale; lines end
// with "\n". fileName is the data file opened last (empty before any). All
// read from the state as the last replot left it; with no points the text
// says so and holds nothing else.
std::string ResultsText(const QuilvexState& s, const std::string& fileName);

// Said beside figures that a replot with graphing off did not bring up to date.
inline constexpr const char* kGraphingOffNote =
    "Graphing is off: the figures describe the table as it was last plotted, which may differ from the grid.";

}  // namespace quilvex
