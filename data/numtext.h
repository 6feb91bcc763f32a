#pragma once
// The three number text conversions shared by every subsystem.
//
//   TextToFloat: [blanks] [+|-] digits [. digit...] [(E|e) [+|-] digit...]
//     value = mantissa * 10^(exponent - fraction digits), the power applied from
//     a table; error position 0 on success, else the 1-based position of the
//     first character that does not fit (length + 1 when the text ended early).
//   TextToInt:   [blanks] ([+|-] decimal digits | $ hex digits), else the default.
//   FormatGeneral: N (2..18) significant digits, fixed when -3 <= E <= N,
//     scientific ("1.5E-5") otherwise; "INF", "NAN", "0" for zero and subnormals.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/fpfault.h"

namespace quilvex {

struct FloatText {
    Real value = 0;
    int errorPos = 0;  // 0: the whole text is a number
    bool ok() const { return errorPos == 0; }
};

FloatText TextToFloat(std::string_view text);
std::int32_t TextToInt(std::string_view text, std::int32_t defaultValue);

// With the system's decimal separator: for labels, edits and reports.
std::string FormatGeneral(Real value, int digits);
// With an explicit separator.
std::string FormatGeneral(Real value, int digits, char separator);
// The form for texts the program writes into grid cells: 8 digits, always ".",
// so that every such text reads back with TextToFloat whatever the locale.
std::string FormatCell(Real value);

// The system's decimal separator used by FormatGeneral (initially ".").
char DecimalSeparator();
void SetDecimalSeparator(char separator);

}  // namespace quilvex
