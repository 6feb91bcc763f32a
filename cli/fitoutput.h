#pragma once
// The three forms `quilvex fit` prints its figures in: JSON and CSV for
// programs, aligned text for a person. Numbers are written with "." whatever
// the locale; in JSON and CSV with 18 significant digits, more where 18 would
// not read back as the same long double.
#include <string>
#include <vector>

#include "stats/figures.h"

namespace quilvex {

struct FitReport {
    std::string file;
    int points = 0;
    std::vector<MethodFigures> methods;
};

std::string FormatJson(const FitReport& report);
std::string FormatCsv(const FitReport& report);
std::string FormatText(const FitReport& report);

// The shortest text of at least 18 significant digits that reads back as v.
std::string ExactNumber(Real v);

}  // namespace quilvex
