// Number texts at the edges of the extended range, where the fuzzers of the
// conversions found faults.
#include <gtest/gtest.h>

#include <cmath>

#include "data/numtext.h"

using namespace quilvex;

namespace {

struct SignCase {
    const char* text;
    bool negative;
};

// A "-" makes the value negative whatever the exponent, down to a zero so small
// that it is beyond every scaling, as it does for the infinity at the top.
TEST(TextToFloatEdges, KeepsTheSignOfZero)
{
    const SignCase cases[] = {
        {"-1e-6000", true},   {"-12.5E-12345678906789012341234567890123460", true},
        {"-0", true},         {"-1e-4960", true},
        {"1e-6000", false},   {"+1e-6000", false},
        {"0e-5120", false},   {"-0e-5120", true},
    };
    for (const SignCase& c : cases) {
        const FloatText r = TextToFloat(c.text);
        ASSERT_TRUE(r.ok()) << c.text;
        EXPECT_EQ(r.value, 0) << c.text;
        EXPECT_EQ(std::signbit(r.value), c.negative) << c.text;
    }
}

}  // namespace
