#pragma once
// The three forms `quilvex fit` prints its figures in: JSON and CSV for
// programs, aligned text for a person. Numbers are written with "." whatever
// the locale; in JSON and CSV with 18 significant digits, more where 18 would
// not read back as the same long double.
#include <string>
#include <vector>

#include "stats/figures.h"
#include "stats/weights.h"

namespace quilvex {

struct FitReport {
    std::string file;
    int points = 0;
    std::vector<MethodFigures> methods;
    std::vector<Real> x, y;  // the table fitted, in its order
    // Where the file gives sigma or excludes a point: each point's sigma text
    // and data line (from 1), and the lines left out of every fit.
    std::vector<std::string> sigma;
    std::vector<int> rows, excludedRows;
    Weighting weighting = Weighting::None;
};

// One object, over several lines.
std::string FormatJson(const FitReport& report);
// The same object on one line, for JSON Lines.
std::string FormatJsonLine(const FitReport& report);
// The header, then the report's rows. With a weighting, the columns of the
// weighted figures follow agreement_digits.
std::string FormatCsv(const FitReport& report);
// With a leading file column, for the rows of several files under one header.
std::string CsvHeaderWithFile(Weighting weighting = Weighting::None);
std::string FormatCsvRowsWithFile(const FitReport& report);
std::string FormatText(const FitReport& report);

// The shortest text of at least 18 significant digits that reads back as v.
std::string ExactNumber(Real v);

}  // namespace quilvex
