// TextToInt on arbitrary bytes, compared with a reading by the standard
// library: leading blanks, then a signed decimal or "$" and one to eight
// hexadecimal digits, nothing after it, and a value that fits 32 bits.
// Anything else must give the default, whichever default is passed.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "data/numtext.h"
#include "fuzz/fuzz_check.h"

using namespace quilvex;
using namespace quilvex::fuzz;

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::optional<std::int32_t> ReadHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    for (char c : digits)
        if (!IsHexDigit(c))
            return std::nullopt;
    std::uint32_t bits = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    return static_cast<std::int32_t>(bits);
}

std::optional<std::int32_t> ReadDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text[0] < '0' || text[0] > '9')  // from_chars would take a second sign
        return std::nullopt;
    const std::string signedText = (negative ? "-" : "") + std::string(text);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(signedText.data(), signedText.data() + signedText.size(), value);
    if (error != std::errc() || end != signedText.data() + signedText.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> Expected(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(start);
    return text[0] == '$' ? ReadHex(text.substr(1)) : ReadDecimal(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = AsText(data, size);
    const std::optional<std::int32_t> expected = Expected(text);
    // Two defaults: a result that equals one of them by chance cannot hide a rejection.
    for (const std::int32_t fallback : {INT32_MIN, 7}) {
        const std::int32_t got = TextToInt(text, fallback);
        const std::int32_t want = expected.value_or(fallback);
        if (got != want)
            Fail("TextToInt(" + Quoted(text) + ", " + std::to_string(fallback) + ") = " + std::to_string(got) +
                 ", expected " + std::to_string(want));
    }
    return 0;
}
