// A number written with FormatGeneral at 8 and at 18 digits must read back with
// TextToFloat to a value that is written as the same text again.
//
// The value comes from the input: the first byte chooses between the raw
// 80-bit pattern of the next ten bytes (any exponent, any mantissa) and the
// rest of the input read as a decimal text by strtold (values near decimal
// halves, where the half-up rounding of the digits decides).
//
// The only texts allowed to fail are the two edges of the extended range that
// the rules give (see fuzz_check.h): at the top, a text rounded past the
// largest value raises "Floating point overflow"; at the bottom, at 8 digits,
// a text rounded below the smallest normal value reads back as a subnormal
// value, written "0".
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/numtext.h"
#include "fuzz/fuzz_check.h"

using namespace quilvex;
using namespace quilvex::fuzz;

namespace {

constexpr std::size_t kExtendedBytes = 10;

// Makes any ten bytes a value the arithmetic can produce: the explicit integer
// bit of the mantissa is set exactly when the exponent is not zero (no
// unnormals, pseudo-denormals or pseudo-infinities).
long double FromBits(const std::uint8_t* bytes)
{
    std::uint64_t mantissa = 0;
    std::uint16_t signAndExponent = 0;
    std::memcpy(&mantissa, bytes, sizeof mantissa);
    std::memcpy(&signAndExponent, bytes + sizeof mantissa, sizeof signAndExponent);
    const std::uint64_t integerBit = std::uint64_t{1} << 63;
    mantissa = (signAndExponent & 0x7fff) != 0 ? mantissa | integerBit : mantissa & ~integerBit;
    long double value = 0;
    std::memcpy(&value, &mantissa, sizeof mantissa);
    std::memcpy(reinterpret_cast<std::uint8_t*>(&value) + sizeof mantissa, &signAndExponent, sizeof signAndExponent);
    return value;
}

long double FromText(const std::uint8_t* data, std::size_t size)
{
    const std::string text(AsText(data, size));
    return std::strtold(text.c_str(), nullptr);
}

bool IsAboveTheLargest(std::string_view text, int digits)
{
    return Unsigned(text) == (digits == 8 ? kAboveTheLargest8 : kAboveTheLargest18);
}

bool IsBelowTheNormal(std::string_view text, int digits)
{
    return digits == 8 && Unsigned(text) == kBelowTheNormal8;
}

std::string Show(long double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.21Le", value);
    return text;
}

void CheckRoundTrip(long double value, int digits)
{
    const std::string once = FormatGeneral(value, digits, '.');
    if (once == "INF" || once == "NAN")
        return;
    if (IsAboveTheLargest(once, digits)) {
        try {
            TextToFloat(once);
        } catch (const QuilvexError&) {
            return;
        }
        Fail(once + " reads back although it is above the largest value");
    }
    FloatText back;
    try {
        back = TextToFloat(once);
    } catch (const QuilvexError& e) {
        Fail("FormatGeneral(" + Show(value) + ", " + std::to_string(digits) + ") wrote " + once + ", which raises " +
             e.what());
    }
    if (!back.ok())
        Fail("FormatGeneral(" + Show(value) + ", " + std::to_string(digits) + ") wrote " + Quoted(once) +
             ", which TextToFloat rejects at " + std::to_string(back.errorPos));
    const std::string twice = FormatGeneral(back.value, digits, '.');
    if (twice == once)
        return;
    if (IsBelowTheNormal(once, digits) && std::fpclassify(back.value) == FP_SUBNORMAL && twice == "0")
        return;
    Fail("FormatGeneral(" + Show(value) + ", " + std::to_string(digits) + ") = " + once + " reads back as " +
         Show(back.value) + ", written " + twice);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool raw = (data[0] & 1) != 0;
    if (raw && size < 1 + kExtendedBytes)
        return 0;
    const long double value = raw ? FromBits(data + 1) : FromText(data + 1, size - 1);
    for (int digits : {8, 18})
        CheckRoundTrip(value, digits);
    return 0;
}
