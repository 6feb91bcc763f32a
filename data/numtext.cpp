#include "data/numtext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quilvex {

namespace {

char gDecimalSeparator = '.';

constexpr int kExponentLimit = 5120;

// Extended values nearest to 10^a (a = 0..31), 10^(32b) (b = 0..15) and
// 10^(512c) (c = 0..9); strtold rounds correctly to nearest.
struct PowerTables {
    std::array<Real, 32> low{};
    std::array<Real, 16> mid{};
    std::array<Real, 10> high{};
    PowerTables()
    {
        for (int a = 0; a < 32; ++a)
            low[a] = Power(a);
        for (int b = 0; b < 16; ++b)
            mid[b] = Power(32 * b);
        for (int c = 0; c < 10; ++c)
            high[c] = Power(512 * c);
    }
    static Real Power(int e)
    {
        char text[16];
        std::snprintf(text, sizeof text, "1e%d", e);
        return std::strtold(text, nullptr);
    }
};

const PowerTables& Powers()
{
    static const PowerTables tables;
    return tables;
}

// The overflow flag is cleared, since the error itself reports the fault.
[[noreturn]] void RaiseOverflow()
{
    ClearFpu();
    throw QuilvexError(kOverflowText);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Applies 10^e to m, lowest part first: 10^a, then 10^(32b), then 10^(512c).
Real ScaleByPowerOfTen(Real m, int e)
{
    const PowerTables& p = Powers();
    const int magnitude = e < 0 ? -e : e;
    const Real parts[3] = {p.low[magnitude % 32], p.mid[(magnitude / 32) % 16], p.high[magnitude / 512]};
    for (Real part : parts) {
        if (part == 1)
            continue;
        m = e < 0 ? m / part : m * part;
    }
    return m;
}

int HexDigit(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

char DecimalSeparator() { return gDecimalSeparator; }
void SetDecimalSeparator(char separator) { gDecimalSeparator = separator; }

FloatText TextToFloat(std::string_view text)
{
    const std::size_t len = text.size();
    std::size_t i = 0;
    Real mantissa = 0;
    auto fail = [&](std::size_t at) { return FloatText{mantissa, static_cast<int>(at + 1)}; };
    auto accumulate = [&](char digit) {
        mantissa = mantissa * 10 + (digit - '0');
        if (std::isinf(mantissa))
            RaiseOverflow();
    };

    while (i < len && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < len && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == len)
        return fail(i);
    while (i < len && IsDigit(text[i]))
        accumulate(text[i++]);
    int fractionDigits = 0;
    if (i < len && text[i] == '.') {
        if (i + 1 == len)
            return fail(i);
        ++i;
        while (i < len && IsDigit(text[i])) {
            accumulate(text[i++]);
            ++fractionDigits;
        }
    }
    long exponent = 0;
    if (i < len && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < len && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        if (i == len || !IsDigit(text[i]))
            return fail(i);
        while (i < len && IsDigit(text[i])) {
            if (exponent < 1000000)  // far beyond every limit; keeps the sum in range
                exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != len)
        return fail(i);

    const long effective = exponent - fractionDigits;
    Real value;
    if (effective >= kExponentLimit)
        value = HUGE_VALL;
    else if (effective <= -kExponentLimit)
        value = 0;
    else if (value = ScaleByPowerOfTen(mantissa, static_cast<int>(effective)); std::isinf(value))
        RaiseOverflow();
    return FloatText{negative ? -value : value, 0};
}

std::int32_t TextToInt(std::string_view text, std::int32_t defaultValue)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && text[i] == '$') {
        ++i;
        if (i == text.size() || text.size() - i > 8)
            return defaultValue;
        std::uint32_t bits = 0;
        for (; i < text.size(); ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0)
                return defaultValue;
            bits = bits * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(bits);
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return defaultValue;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return defaultValue;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            return defaultValue;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return defaultValue;
    return static_cast<std::int32_t>(value);
}

std::string FormatGeneral(Real value, int digits, char separator)
{
    const int n = digits < 2 ? 2 : (digits > 18 ? 18 : digits);
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return "INF";
    if (value == 0 || std::fpclassify(value) == FP_SUBNORMAL)
        return "0";

    // 18 significant digits, correctly rounded: "d.ddddddddddddddddde+X".
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(value));
    std::string d;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (IsDigit(*p))
            d += *p;
    int e = std::atoi(p + 1) + 1;  // |value| = 0.d1d2... * 10^e

    // Reduce to n digits, rounding half up on the 18-digit text.
    const bool roundUp = d[static_cast<std::size_t>(n)] >= '5';
    d.resize(static_cast<std::size_t>(n));
    if (roundUp) {
        int k = n - 1;
        while (k >= 0 && d[static_cast<std::size_t>(k)] == '9')
            d[static_cast<std::size_t>(k--)] = '0';
        if (k < 0) {
            d.assign(1, '1');
            ++e;
        } else {
            ++d[static_cast<std::size_t>(k)];
        }
    }
    while (d.size() > 1 && d.back() == '0')
        d.pop_back();
    const int k = static_cast<int>(d.size());

    std::string out = value < 0 ? "-" : "";
    if (e > n || e < -3) {
        out += d[0];
        if (k > 1) {
            out += separator;
            out += d.substr(1);
        }
        out += 'E';
        out += std::to_string(e - 1);
    } else if (e >= 1) {
        out += d.substr(0, static_cast<std::size_t>(std::min(k, e)));
        if (k < e)
            out.append(static_cast<std::size_t>(e - k), '0');
        if (k > e) {
            out += separator;
            out += d.substr(static_cast<std::size_t>(e));
        }
    } else {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-e), '0');
        out += d;
    }
    return out;
}

std::string FormatGeneral(Real value, int digits) { return FormatGeneral(value, digits, gDecimalSeparator); }

std::string FormatCell(Real value) { return FormatGeneral(value, 8, '.'); }

}  // namespace quilvex
