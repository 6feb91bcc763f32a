// The error model: rounding into 32-bit integers, logarithms and exponentials,
// and which fault is reported when an expression flags more than one.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "data/checked.h"
#include "data/fpfault.h"

using namespace quilvex;

namespace {

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const QuilvexError& e) {
        return e.what();
    }
    return "";
}

TEST(Round, HalvesToEvenWithinThe32BitRange)
{
    EXPECT_EQ(Round(0.5L), 0);
    EXPECT_EQ(Round(1.5L), 2);
    EXPECT_EQ(Round(2.5L), 2);
    EXPECT_EQ(Round(-2.5L), -2);
    EXPECT_EQ(Round(-3.5L), -4);
    EXPECT_EQ(Round(2147483647.4L), 2147483647);
    EXPECT_EQ(Round(-2147483648.5L), -2147483648);
    for (long double v : {2147483647.5L, -2147483649.0L, 1e30L, std::numeric_limits<long double>::infinity(),
                          std::numeric_limits<long double>::quiet_NaN()})
        EXPECT_EQ(ErrorOf([&] { Round(v); }), "Invalid floating point operation") << static_cast<double>(v);
}

TEST(LnAndExp, DomainAndRangeFaults)
{
    EXPECT_EQ(ErrorOf([] { Ln(0); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([] { Ln(-1); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([] { Exp(20000); }), "Floating point overflow");
    EXPECT_EQ(Exp(-20000), 0);  // underflow passes silently
    EXPECT_EQ(Ln(1), 0);
}

TEST(CheckFpu, ReportsTheFaultThatCameFirst)
{
    ClearFpu();
    volatile long double big = 1e4000L, zero = 0;
    EXPECT_EQ(ErrorOf([&] {
                  volatile long double inf = big * big;  // overflow ...
                  volatile long double nan = inf - inf;  // ... then an invalid operation
                  (void)nan;
                  CheckFpu();
              }),
              "Floating point overflow");
    EXPECT_EQ(ErrorOf([&] {
                  volatile long double inf = 1 / zero;
                  volatile long double nan = inf * zero;
                  (void)nan;
                  CheckFpu();
              }),
              "Floating point division by zero");
    EXPECT_EQ(ErrorOf([&] {
                  volatile long double nan = zero / zero;
                  (void)nan;
                  CheckFpu();
              }),
              "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([] { CheckFpu(); }), "");  // the error cleared the flags
}

TEST(FpuFlagsKeeper, ForeignCodeCannotAddOrRemoveFaults)
{
    ClearFpu();
    volatile long double zero = 0;
    {
        FpuFlagsKeeper keep;
        volatile long double nan = zero / zero;
        (void)nan;
    }
    EXPECT_EQ(ErrorOf([] { CheckFpu(); }), "");
    volatile long double inf = 1 / zero;
    (void)inf;
    { FpuFlagsKeeper keep; ClearFpu(); }
    EXPECT_EQ(ErrorOf([] { CheckFpu(); }), "Floating point division by zero");
}

TEST(Checked, IndicesOutside1To300AreRangeErrors)
{
    RealArray a;
    a[1] = 1;
    a[300] = 300;
    EXPECT_EQ(a[300], 300);
    EXPECT_EQ(ErrorOf([&] { a[0] = 1; }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { a[301] = 1; }), "Range check error");
    const RealArray& c = a;
    EXPECT_EQ(ErrorOf([&] { (void)c[-5]; }), "Range check error");
}

}  // namespace
