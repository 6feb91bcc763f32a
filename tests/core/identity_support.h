#pragma once
// Seeded random point tables and bit-for-bit comparison of what a fast form and
// its exact form leave behind: values, messages and the error, if any.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "data/checked.h"
#include "data/fitcache.h"
#include "data/messagetext.h"

namespace quilvex::testing {

// What one call left behind.
struct Outcome {
    std::vector<Real> values;
    std::string messages;
    std::string error;
};

// Runs action with clear fault flags, catching the error that ends it.
inline Outcome Capture(const std::function<void(std::vector<Real>&, MessageText&)>& action)
{
    Outcome out;
    MessageText messages;
    ClearFpu();
    try {
        action(out.values, messages);
    } catch (const QuilvexError& e) {
        out.error = e.what();
    }
    ClearFpu();
    out.messages = messages.Text();
    return out;
}

inline std::string Show(Real v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", v);
    return text;
}

inline void ExpectSameOutcome(const Outcome& fast, const Outcome& exact, const std::string& what)
{
    EXPECT_EQ(fast.error, exact.error) << what;
    EXPECT_EQ(fast.messages, exact.messages) << what;
    ASSERT_EQ(fast.values.size(), exact.values.size()) << what;
    for (std::size_t k = 0; k < fast.values.size(); ++k)
        if (!SameBits(fast.values[k], exact.values[k])) {
            ADD_FAILURE() << what << ": value " << k << " is " << Show(fast.values[k]) << ", exact "
                          << Show(exact.values[k]);
            return;
        }
}

// The kinds of tables the fits meet, the awkward ones included.
enum class Shape {
    Spread,      // ascending, moderate values
    Clustered,   // ascending x within 1e-9 of 1000: ill-conditioned
    Repeated,    // ascending small integers, many equal x
    Huge,        // magnitudes up to 1e4900: overflows
    Tiny,        // magnitudes down to 1e-4900
    Descending,  // negative widths and pivots
    Collinear,   // exact straight lines, x up or down: right-hand sides of +0 and -0
    Integers,    // -3..3 in any order: zeros, repeats, not ascending
};
inline constexpr Shape kShapes[] = {Shape::Spread,     Shape::Clustered, Shape::Repeated, Shape::Huge,
                                    Shape::Tiny,       Shape::Descending, Shape::Collinear, Shape::Integers};

struct Table {
    int n = 0;
    RealArray x, y;
    Shape shape = Shape::Spread;
};

class TableMaker {
public:
    explicit TableMaker(unsigned seed) : rng_(seed) {}

    Real Uniform(Real lo, Real hi) { return lo + (hi - lo) * static_cast<Real>(std::uniform_real_distribution<double>(0, 1)(rng_)); }
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    Real Signed(Real magnitude) { return Int(0, 1) ? magnitude : -magnitude; }

    Table Make(int n, Shape shape)
    {
        Table t;
        t.n = n;
        t.shape = shape;
        std::vector<Real> xs, ys;
        for (int i = 0; i < n; ++i) {
            xs.push_back(X(shape));
            ys.push_back(Y(shape));
        }
        if (shape != Shape::Integers)
            std::sort(xs.begin(), xs.end());
        if (shape == Shape::Descending || (shape == Shape::Collinear && Int(0, 1)))
            std::reverse(xs.begin(), xs.end());
        const Real slope = Int(-3, 3), intercept = Int(-5, 5);
        for (int i = 0; i < n; ++i) {
            t.x[i + 1] = xs[static_cast<std::size_t>(i)];
            t.y[i + 1] = shape == Shape::Collinear ? slope * xs[static_cast<std::size_t>(i)] + intercept
                                                   : ys[static_cast<std::size_t>(i)];
        }
        return t;
    }

private:
    Real X(Shape shape)
    {
        switch (shape) {
        case Shape::Clustered: return 1000 + Uniform(0, 1e-9L);
        case Shape::Repeated: return Int(0, 4);
        case Shape::Huge: return Signed(std::pow(10.0L, Uniform(0, 4900)));
        case Shape::Tiny: return Signed(std::pow(10.0L, -Uniform(0, 4900)));
        case Shape::Collinear: return Int(-200, 200);
        case Shape::Integers: return Int(-3, 3);
        default: return Uniform(-10, 10);
        }
    }
    Real Y(Shape shape)
    {
        switch (shape) {
        case Shape::Huge: return Signed(std::pow(10.0L, Uniform(0, 4900)));
        case Shape::Tiny: return Signed(std::pow(10.0L, -Uniform(0, 4900)));
        case Shape::Repeated:
        case Shape::Integers: return Int(-3, 3);
        default: return Uniform(-100, 100);
        }
    }

    std::mt19937_64 rng_;
};

inline std::string Describe(const Table& t)
{
    std::string text = "shape " + std::to_string(static_cast<int>(t.shape)) + ", n " + std::to_string(t.n) + ":";
    for (int i = 1; i <= t.n && i <= 8; ++i)
        text += " (" + Show(t.x[i]) + ", " + Show(t.y[i]) + ")";
    return text;
}

}  // namespace quilvex::testing
