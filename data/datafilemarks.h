#pragma once
// The comment lines of a data file that carry what the designed file has not:
// "; columns: x y sigma" (the third column) and "; excluded: 3 7" (data lines
// left out of every fit, numbered from 1) and "; constraints: regression a0=0"
// (a fit's constraints, kept as text for the fits to read). Other readers
// skip them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "data/cellgrid.h"
#include "data/datafile.h"

namespace quilvex {

// What the comment lines read so far declare.
struct FileDeclarations {
    bool sigma = false;
    std::vector<std::size_t> excluded;
    std::vector<std::string> constraints;  // the text after "constraints:", trimmed
    // Takes in one comment line: a "columns:" line turns sigma on (x y sigma)
    // or off (any other columns); an "excluded:" line adds its numbers; a
    // "constraints:" line adds its text.
    void Take(std::string_view line);

private:
    void TakeLineNumber(std::string_view text);
};

// Marks the rows of those data line numbers; numbers without a row are ignored.
void MarkExcludedLines(const std::vector<std::size_t>& numbers, std::vector<DataRow>& rows);

// The declaration (when any sigma cell holds text), then the excluded line
// (when any row is excluded), each ending in CR LF; empty for neither.
std::string DeclarationLines(const CellGrid& grid);

// "; constraints: <text>" CR LF for each text.
std::string ConstraintLines(const std::vector<std::string>& texts);

// The text of a row with sigma.
std::string SigmaRowText(const std::string& x, const std::string& y, const std::string& sigma);

}  // namespace quilvex
