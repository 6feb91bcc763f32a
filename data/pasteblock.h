#pragma once
// A block of text pasted into the grid, as spreadsheets and text editors copy
// it: one row per line; the fields of a line are split on tabs when the block
// holds any, else on ";", else on ",", else on runs of blanks (separators
// inside quotes do not count). A field in double quotes, as spreadsheets write
// one that holds a separator, is read without them ("" inside stands for one
// quote; a line end inside belongs to the field and, as in every cell, ends
// its text). A field that reads as a number only with "," as its decimal
// separator ("1,5" from a spreadsheet in many locales) is given with "."
// instead.
#include <string>
#include <vector>

namespace quilvex {

using PastedRow = std::vector<std::string>;

std::vector<PastedRow> SplitPastedBlock(const std::string& text);

}  // namespace quilvex
