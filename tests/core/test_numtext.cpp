#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "data/numtext.h"

using namespace quilvex;

namespace {

struct FloatCase {
    const char* text;
    long double value;
    int errorPos;
};

TEST(TextToFloat, AcceptsAndRejectsAsTheRulesSay)
{
    const FloatCase cases[] = {
        {" 5", 5, 0},     {".5", 0.5L, 0},  {"5.e1", 50, 0},  {"e5", 0, 0},     {"-2.5E-1", -0.25L, 0},
        {"+7", 7, 0},     {"5.", 5, 2},     {"5 ", 5, 2},     {"-", 0, 2},      {"1e", 1, 3},
        {"", 0, 1},       {"   ", 0, 4},    {"1.5,", 15, 4},  {"2 3", 2, 2},    {"1x", 1, 2},
        {"1e+", 1, 4},    {"1e+x", 1, 4},   {"\t1", 0, 1},    {"2,5", 2, 2},    {"1,000", 1, 2},
        {"12.34.5", 1234, 6},
    };
    for (const FloatCase& c : cases) {
        const FloatText r = TextToFloat(c.text);
        EXPECT_EQ(r.errorPos, c.errorPos) << '"' << c.text << '"';
        EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
    }
}

TEST(TextToFloat, ExponentLimitsAndOverflow)
{
    EXPECT_TRUE(std::isinf(TextToFloat("1e6000").value));
    EXPECT_TRUE(TextToFloat("1e6000").ok());
    EXPECT_EQ(TextToFloat("-1e6000").value, -HUGE_VALL);
    EXPECT_EQ(TextToFloat("1e-6000").value, 0);
    EXPECT_TRUE(TextToFloat("0e5120").ok());
    EXPECT_TRUE(std::isinf(TextToFloat("0e5120").value));
    EXPECT_THROW(TextToFloat("1e5000"), QuilvexError);
    try {
        TextToFloat("1e5000");
    } catch (const QuilvexError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    EXPECT_EQ(TextToFloat("1e-4960").value, 0);  // below the subnormal range: silently 0
    EXPECT_GT(TextToFloat("1e-4940").value, 0);   // subnormal
    EXPECT_TRUE(TextToFloat("1e99999999999999999999").ok());
}

TEST(TextToFloat, SmallExponentsAreOneRounding)
{
    // Up to 10^27 the power is exact, so the result is the correctly rounded value.
    EXPECT_EQ(TextToFloat("0.1").value, 0.1L);
    EXPECT_EQ(TextToFloat("3.14159").value, 3.14159L);
    EXPECT_EQ(TextToFloat("1e27").value, 1e27L);
    EXPECT_EQ(TextToFloat("123456789e-20").value, 123456789e-20L);
}

TEST(TextToInt, WholeNumbersOrTheDefault)
{
    EXPECT_EQ(TextToInt(" 12", 7), 12);
    EXPECT_EQ(TextToInt("12 ", 7), 7);
    EXPECT_EQ(TextToInt("$FF", 7), 255);
    EXPECT_EQ(TextToInt("$ff", 7), 255);
    EXPECT_EQ(TextToInt("-$1", 7), 7);
    EXPECT_EQ(TextToInt("$FFFFFFFF", 7), -1);
    EXPECT_EQ(TextToInt("$100000000", 7), 7);
    EXPECT_EQ(TextToInt("2.5", 7), 7);
    EXPECT_EQ(TextToInt("", 7), 7);
    EXPECT_EQ(TextToInt("-", 7), 7);
    EXPECT_EQ(TextToInt("+3", 7), 3);
    EXPECT_EQ(TextToInt("-2147483648", 7), INT32_MIN);
    EXPECT_EQ(TextToInt("2147483647", 7), INT32_MAX);
    EXPECT_EQ(TextToInt("2147483648", 7), 7);
    EXPECT_EQ(TextToInt("99999999999999999999", 7), 7);
}

struct FormatCase {
    long double value;
    int digits;
    const char* text;
};

TEST(FormatGeneral, Layouts)
{
    const FormatCase cases[] = {
        {123456789, 8, "1.2345679E8"}, {0.00001L, 8, "1E-5"},    {0.0001L, 8, "0.0001"},
        {1e20L, 8, "1E20"},            {-0.000035L, 8, "-3.5E-5"}, {12345678, 8, "12345678"},
        {1e7L, 8, "10000000"},         {2.5L, 8, "2.5"},         {9.999999999L, 8, "10"},
        {1.0L / 3, 8, "0.33333333"},   {2.0L / 3, 8, "0.66666667"}, {300, 8, "300"},
        {1234567, 6, "1.23457E6"},     {0, 8, "0"},              {-0.0L, 8, "0"},
        {HUGE_VALL, 8, "INF"},         {-HUGE_VALL, 8, "INF"},   {NAN, 8, "NAN"},
        {0.5L, 1, "0.5"},              {123, 1, "1.2E2"},        {99999999.5L, 8, "1E8"},
        {-1.5L, 8, "-1.5"},            {100, 2, "1E2"},           {0.00123456789L, 8, "0.0012345679"},
        {1.0000000000000000001L, 20, "1"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatGeneral(c.value, c.digits, '.'), c.text) << static_cast<double>(c.value);
    EXPECT_EQ(FormatGeneral(std::numeric_limits<long double>::denorm_min(), 8, '.'), "0");
}

TEST(FormatGeneral, DecimalSeparatorOnlyInTheFraction)
{
    EXPECT_EQ(FormatGeneral(2.5L, 8, ','), "2,5");
    EXPECT_EQ(FormatGeneral(1.5e-5L, 8, ','), "1,5E-5");
    EXPECT_EQ(FormatGeneral(300, 8, ','), "300");
}

TEST(FormatCell, ReadsBackWhateverTheLocale)
{
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatGeneral(2.5L, 8), "2,5");
    EXPECT_EQ(FormatCell(2.5L), "2.5");
    EXPECT_TRUE(TextToFloat(FormatCell(2.5L)).ok());
    EXPECT_FALSE(TextToFloat(FormatGeneral(2.5L, 8)).ok());
    SetDecimalSeparator('.');
}

TEST(RoundTrip, TextsComeBackUnchanged)
{
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> expo(-4900, 4900);
    for (int i = 0; i < 20000; ++i) {
        const long double v = std::ldexp(static_cast<long double>(mant(rng)), expo(rng) / 3) ;
        for (int digits : {8, 18}) {
            const std::string once = FormatGeneral(v, digits, '.');
            const FloatText back = TextToFloat(once);
            ASSERT_TRUE(back.ok()) << once;
            EXPECT_EQ(FormatGeneral(back.value, digits, '.'), once);
        }
    }
}

}  // namespace
