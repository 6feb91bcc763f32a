// TextToFloat on arbitrary bytes: it must never crash, the error position must
// lie within the text (or one past it), the sign must be kept, and an accepted
// text of at most 19 digits must come within a few units in the last place of
// the correctly rounded value (three table powers and three operations, each
// rounded once, stay below 6).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/numtext.h"
#include "fuzz/fuzz_check.h"

using namespace quilvex;
using namespace quilvex::fuzz;

namespace {

constexpr int kMaxExactDigits = 19;  // below 2^64: the mantissa accumulates exactly
constexpr long double kMaxErrorUlps = 6;

// The digits and the effective exponent of an accepted text, as a text that
// strtold reads: "[-]digits e exponent".
struct Decimal {
    std::string digits;
    long exponent = 0;  // effective: written exponent minus fraction digits
    bool negative = false;
};

Decimal Decompose(std::string_view text)
{
    Decimal d;
    std::size_t i = text.find_first_not_of(' ');
    if (text[i] == '+' || text[i] == '-')
        d.negative = text[i++] == '-';
    bool fraction = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            fraction = true;
            continue;
        }
        d.digits += text[i];
        if (fraction)
            --d.exponent;
    }
    if (i < text.size()) {
        const std::string written(text.substr(i + 1));
        // Far beyond every limit, and the sum with the fraction digits stays in range.
        d.exponent += std::clamp(std::strtol(written.c_str(), nullptr, 10), -1000000L, 1000000L);
    }
    return d;
}

std::size_t SignificantDigits(const std::string& digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? 0 : digits.size() - first;
}

void CheckAccuracy(std::string_view text, long double value)
{
    const Decimal d = Decompose(text);
    if (SignificantDigits(d.digits) > kMaxExactDigits || d.digits.empty() || std::labs(d.exponent) > 5000)
        return;
    const std::string reference = (d.negative ? "-" : "") + d.digits + "e" + std::to_string(d.exponent);
    const long double exact = std::strtold(reference.c_str(), nullptr);
    if (!std::isnormal(exact) || std::isinf(value))
        return;
    const long double ulp = std::fabs(std::nextafter(exact, 0.0L) - exact);
    const long double error = std::fabs(value - exact) / ulp;
    if (!(error <= kMaxErrorUlps)) {
        char values[160];
        std::snprintf(values, sizeof values, "%.21Le, correctly rounded %.21Le (%Lg ulp)", value, exact, error);
        Fail("TextToFloat(" + Quoted(text) + ") = " + values);
    }
}

bool StartsWithMinus(std::string_view text)
{
    const std::size_t i = text.find_first_not_of(' ');
    return i != std::string_view::npos && text[i] == '-';
}

void CheckResult(std::string_view text, const FloatText& r)
{
    if (r.errorPos < 0 || static_cast<std::size_t>(r.errorPos) > text.size() + 1)
        Fail("error position " + std::to_string(r.errorPos) + " outside " + Quoted(text));
    if (std::isnan(r.value))
        Fail("TextToFloat(" + Quoted(text) + ") is not a number");
    if (!r.ok()) {
        if (std::signbit(r.value))
            Fail("the value of the failed text " + Quoted(text) + " has a sign");
        return;
    }
    if (std::signbit(r.value) != StartsWithMinus(text))
        Fail("TextToFloat(" + Quoted(text) + ") lost or gained its sign");
    CheckAccuracy(text, r.value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = AsText(data, size);
    try {
        CheckResult(text, TextToFloat(text));
    } catch (const QuilvexError& e) {
        if (std::strcmp(e.what(), kOverflowText) != 0)
            Fail("TextToFloat(" + Quoted(text) + ") raised " + e.what());
    }
    return 0;
}
