#pragma once
// What every fuzz target shares: the input as text, and a failed check that
// stops the run with a message libFuzzer keeps next to the crashing input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quilvex::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Shows a text with its bytes escaped, so that blanks and controls can be seen.
inline std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        }
    }
    return out + '"';
}

// The two 8-digit texts that do not read back to themselves, by the rules of
// the conversions: the values within half a unit of the 8th digit below the
// largest extended value are written rounded up past it, so reading the text
// raises "Floating point overflow"; and the smallest normal values are written
// rounded down below it, so the text reads as a subnormal value, written "0".
inline constexpr std::string_view kAboveTheLargest8 = "1.1897315E4932";
inline constexpr std::string_view kBelowTheNormal8 = "3.3621031E-4932";
// At 18 digits only the top end remains: the smallest normal value rounds up.
inline constexpr std::string_view kAboveTheLargest18 = "1.18973149535723177E4932";

inline std::string_view Unsigned(std::string_view text)
{
    return !text.empty() && text[0] == '-' ? text.substr(1) : text;
}

[[noreturn]] inline void Fail(const std::string& what)
{
    std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n", what.c_str());
    std::abort();
}

}  // namespace quilvex::fuzz
