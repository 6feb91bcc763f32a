#pragma once
// The status report: the seven fitting methods with their colours, which of
// them are active and their coefficients, then the data file, the ranges of the
// data and the latest messages, all as the last replot left them.
#include <string>
#include <vector>

#include "data/state.h"

namespace quilvex {

struct ReportLine {
    enum class Style { Plain, Heading };
    std::string text;
    Style style = Style::Plain;
    Color color = colors::Black;  // black for every plain line
    friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

// Every line of the report below the window's title, each in the style it is
// appended in. With no points the single line "**** No data yet loaded".
// fileName is the data file opened last (empty before any); numbers are
// written with FormatGeneral at 8 digits. A message line longer than 255
// characters is cut there, closing quote and all.
// "Excluded from every fit: rows 3, 7" (grid rows from 1) while the user
// leaves points out of the fits; empty otherwise.
std::string ExcludedPointsText(const QuilvexState& s);

std::vector<ReportLine> StatusReportLines(const QuilvexState& s, const std::string& fileName);

}  // namespace quilvex
