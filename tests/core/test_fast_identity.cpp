// The fast forms of the fits against their literal forms: the same bits, the
// same messages in the same order, the same error.
#include <gtest/gtest.h>

#include "core/identity_support.h"
#include "fit/lagrange.h"
#include "fit/regression.h"
#include "fit/fastsolve.h"
#include "fit/solver.h"
#include "fit/spline.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

constexpr Real kUntouched = 12345.6789L;  // marks what a call must not write

Outcome FastRegression(const Table& t, int m)
{
    return Capture([&](std::vector<Real>& values, MessageText& messages) {
        RealArray coef;
        for (int k = 1; k <= 300; ++k)
            coef[k] = kUntouched;
        try {
            FitRegression(t.n, m, t.x, t.y, coef, messages);
        } catch (...) {
            values.assign(coef.data(), coef.data() + 300);
            throw;
        }
        values.assign(coef.data(), coef.data() + 300);
    });
}

Outcome ExactRegression(const Table& t, int m)
{
    return Capture([&](std::vector<Real>& values, MessageText& messages) {
        RealArray coef;
        for (int k = 1; k <= 300; ++k)
            coef[k] = kUntouched;
        try {
            literal::FitRegression(t.n, m, t.x, t.y, coef, messages);
        } catch (...) {
            values.assign(coef.data(), coef.data() + 300);
            throw;
        }
        values.assign(coef.data(), coef.data() + 300);
    });
}

void ExpectSameRegression(const Table& t, int m)
{
    ExpectSameOutcome(FastRegression(t, m), ExactRegression(t, m), Describe(t) + " order " + std::to_string(m));
}

TEST(FastIdentity, RegressionOnRandomTables)
{
    TableMaker make(20240601);
    for (int round = 0; round < 40; ++round)
        for (Shape shape : kShapes) {
            const Table t = make.Make(make.Int(1, 14), shape);
            for (int m : {1, 2, 3, t.n - 1, t.n, t.n + 2, make.Int(0, 24)})
                ExpectSameRegression(t, m);
        }
}

TEST(FastIdentity, RegressionAtHighOrdersAndBeyondTheMatrix)
{
    TableMaker make(77);
    Table small = make.Make(3, Shape::Spread);
    small.x[1] = 0.5L, small.x[2] = -0.9L, small.x[3] = 1;
    for (int m : {299, 300, 301, 400, -1, -7})
        ExpectSameRegression(small, m);
    for (Shape shape : {Shape::Spread, Shape::Huge, Shape::Clustered})
        ExpectSameRegression(make.Make(40, shape), 60);
    ExpectSameRegression(make.Make(300, Shape::Spread), 3);
    Table empty;
    for (int m : {0, 1, 4})
        ExpectSameRegression(empty, m);
}

TEST(FastIdentity, RegressionOverflowAndNonFiniteTables)
{
    TableMaker make(5);
    for (Real big : {1e100L, 1e1000L, 1e2470L, 1e4000L}) {
        Table t = make.Make(6, Shape::Spread);
        t.x[4] = big;
        for (int m : {1, 2, 3, 10, 30})
            ExpectSameRegression(t, m);
    }
    for (Real odd : {HUGE_VALL, -HUGE_VALL, std::nanl("")}) {
        Table t = make.Make(5, Shape::Spread);
        t.x[2] = odd;
        ExpectSameRegression(t, 2);
        t = make.Make(5, Shape::Spread);
        t.y[3] = odd;
        ExpectSameRegression(t, 3);
    }
    // Infinities and NaNs anywhere, any kind of table: the fault of the literal form, at its place.
    const Real odd[] = {HUGE_VALL, -HUGE_VALL, std::nanl("")};
    for (int round = 0; round < 2000; ++round) {
        Table t = make.Make(make.Int(1, 12), kShapes[round % std::size(kShapes)]);
        for (int k = make.Int(1, 3); k > 0; --k)
            (make.Int(0, 1) ? t.x : t.y)[make.Int(1, t.n)] = odd[make.Int(0, 2)];
        ExpectSameRegression(t, make.Int(0, t.n + 2));
    }
}

TEST(FastIdentity, EvalRegressionTermByTerm)
{
    TableMaker make(11);
    for (int round = 0; round < 300; ++round) {
        RealArray coef;
        const int m = make.Int(-1, 299);
        for (int k = 1; k <= m + 1; ++k)
            coef[k] = make.Int(0, 6) == 0 ? 0 : make.Signed(std::pow(10.0L, make.Uniform(-30, 30)));
        const Real x = round % 7 == 0 ? make.Signed(std::pow(10.0L, make.Uniform(0, 100))) : make.Uniform(-3, 3);
        ExpectSameOutcome(Capture([&](std::vector<Real>& v, MessageText&) { v.push_back(EvalRegression(m, coef, x)); }),
                          Capture([&](std::vector<Real>& v, MessageText&) {
                              v.push_back(literal::EvalRegression(m, coef, x));
                          }),
                          "order " + std::to_string(m) + " at " + Show(x));
    }
}

// Singular pivots next to overflows, in both steps of a pair: the messages
// that come before the first fault, and no other.
TEST(FastIdentity, DenseSolverOnRandomSystems)
{
    TableMaker make(606);
    for (int round = 0; round < 3000; ++round) {
        const int N = make.Int(1, 9);
        std::vector<Real> a(static_cast<std::size_t>(N * (N + 1)));
        auto A = NewAugmentedMatrix();
        for (int r = 0; r < N; ++r)
            for (int c = 0; c <= N; ++c) {
                const int kind = make.Int(0, 9);
                const Real v = kind < 3 ? 0 : kind < 8 ? make.Int(-4, 4) : make.Signed(std::pow(10.0L, make.Uniform(2000, 4931)));
                a[static_cast<std::size_t>(r * (N + 1) + c)] = v;
                (*A)[r + 1][c + 1] = v;
            }
        const Outcome fast = Capture([&](std::vector<Real>& values, MessageText& messages) {
            SolveDense(N, a, messages);
            for (int r = 0; r < N; ++r)
                values.push_back(a[static_cast<std::size_t>(r * (N + 1) + N)]);
        });
        const Outcome exactOutcome = Capture([&](std::vector<Real>& values, MessageText& messages) {
            SolveLinearSystem(N, *A, messages);
            for (int r = 1; r <= N; ++r)
                values.push_back((*A)[r][N + 1]);
        });
        ExpectSameOutcome(fast, exactOutcome, "system " + std::to_string(round));
    }
}

Outcome SplineSetUp(const Table& t, bool fast)
{
    return Capture([&](std::vector<Real>& values, MessageText& messages) {
        RealArray d2;
        for (int k = 1; k <= 300; ++k)
            d2[k] = kUntouched;
        try {
            (fast ? SetUpSpline : literal::SetUpSpline)(t.n, t.x, t.y, d2, messages);
        } catch (...) {
            values.assign(d2.data(), d2.data() + 300);
            throw;
        }
        values.assign(d2.data(), d2.data() + 300);
    });
}

// Zero widths, negative pivots and zero right-hand sides: the signs of zeros
// and the messages have to come out as the dense elimination leaves them.
TEST(FastIdentity, SplineSetUpOnRandomTables)
{
    TableMaker make(424242);
    for (int round = 0; round < 120; ++round)
        for (Shape shape : kShapes) {
            const Table t = make.Make(make.Int(1, 24), shape);
            ExpectSameOutcome(SplineSetUp(t, true), SplineSetUp(t, false), Describe(t));
        }
    for (Shape shape : {Shape::Collinear, Shape::Descending}) {
        const Table t = make.Make(300, shape);
        ExpectSameOutcome(SplineSetUp(t, true), SplineSetUp(t, false), Describe(t));
    }
}

// Halves and small integers in any order: equal x, negative pivots and exact
// zeros everywhere, where skipping a zero product could flip a zero's sign.
TEST(FastIdentity, SplineSetUpOnSmallIntegerTables)
{
    TableMaker make(2718);
    for (int round = 0; round < 4000; ++round) {
        Table t;
        t.n = make.Int(3, 7);
        for (int i = 1; i <= t.n; ++i) {
            t.x[i] = make.Int(-2, 2) * 0.5L;
            t.y[i] = make.Int(-1, 1);
        }
        ExpectSameOutcome(SplineSetUp(t, true), SplineSetUp(t, false), Describe(t));
    }
}

TEST(FastIdentity, SplineSetUpEdges)
{
    TableMaker make(9);
    Table t = make.Make(5, Shape::Spread);
    for (int n : {0, -2, 301}) {
        t.n = n;
        ExpectSameOutcome(SplineSetUp(t, true), SplineSetUp(t, false), "n " + std::to_string(n));
    }
    for (Real odd : {HUGE_VALL, std::nanl(""), 1e4930L}) {
        t = make.Make(6, Shape::Spread);
        t.y[3] = odd;
        ExpectSameOutcome(SplineSetUp(t, true), SplineSetUp(t, false), "y " + Show(odd));
        t.x[6] = -odd;
        ExpectSameOutcome(SplineSetUp(t, true), SplineSetUp(t, false), "x " + Show(odd));
    }
}

Real DrawT(TableMaker& make, const Table& t)
{
    switch (make.Int(0, 4)) {
    case 0: return t.x[make.Int(1, t.n)];                    // at a point
    case 1: return t.x[1] - make.Uniform(0, 5);              // before the first
    case 2: return t.x[t.n] + make.Uniform(0, 5);            // after the last
    default: return make.Uniform(t.x[1] < t.x[t.n] ? t.x[1] : t.x[t.n], t.x[1] < t.x[t.n] ? t.x[t.n] : t.x[1]);
    }
}

TEST(FastIdentity, LagrangeOnRandomTables)
{
    TableMaker make(31337);
    for (int round = 0; round < 150; ++round)
        for (Shape shape : kShapes) {
            const Table t = make.Make(make.Int(1, 30), shape);
            for (int k = 0; k < 4; ++k) {
                const Real at = DrawT(make, t);
                const int order = make.Int(-1, t.n + 2);
                const std::string what = Describe(t) + " t " + Show(at) + " order " + std::to_string(order);
                ExpectSameOutcome(
                    Capture([&](std::vector<Real>& v, MessageText&) { v.push_back(EvalLagrange(t.n, t.x, t.y, at)); }),
                    Capture([&](std::vector<Real>& v, MessageText&) {
                        v.push_back(literal::EvalLagrange(t.n, t.x, t.y, at));
                    }),
                    what);
                ExpectSameOutcome(Capture([&](std::vector<Real>& v, MessageText& m) {
                                      v.push_back(lagrange_ord(order, t.n, t.x, t.y, at, m));
                                  }),
                                  Capture([&](std::vector<Real>& v, MessageText& m) {
                                      v.push_back(literal::lagrange_ord(order, t.n, t.x, t.y, at, m));
                                  }),
                                  what);
            }
        }
}

// A point dragged: first its Y alone moves (the whole basis products kept),
// then its X too (the products up to its factor kept), movement after
// movement, each value the literal sum's bits, fault or not.
TEST(FastIdentity, LagrangeFromProductsKeptWhileAPointIsDragged)
{
    TableMaker make(2718);
    for (int round = 0; round < 2000; ++round) {
        Table t = make.Make(make.Int(1, 30), kShapes[round % std::size(kShapes)]);
        const int p = make.Int(1, t.n);
        const Real at = DrawT(make, t);
        std::vector<Real> before(static_cast<std::size_t>(t.n)), after(before);
        const KeptBasis kept{before.data(), after.data()};
        bool usable = false;
        auto literalValue = [&] {
            return Capture([&](std::vector<Real>& v, MessageText&) { v.push_back(literal::EvalLagrange(t.n, t.x, t.y, at)); });
        };
        ExpectSameOutcome(Capture([&](std::vector<Real>& v, MessageText&) {
                              v.push_back(EvalLagrangeKeeping(t.n, t.x, t.y, at, p, kept, usable));
                          }),
                          literalValue(), Describe(t));
        for (int movement = 0; movement < 3 && usable; ++movement) {
            t.y[p] = make.Int(0, 9) == 0 ? make.Signed(1e4930L) : make.Uniform(-50, 50);
            ExpectSameOutcome(Capture([&](std::vector<Real>& v, MessageText&) {
                                  v.push_back(EvalLagrangeOfProducts(t.n, t.x, t.y, at, after.data()));
                              }),
                              literalValue(), Describe(t) + " Y of point " + std::to_string(p));
            t.x[p] += make.Int(0, 9) == 0 ? 0 : make.Uniform(-0.5L, 0.5L);
            ExpectSameOutcome(Capture([&](std::vector<Real>& v, MessageText&) {
                                  v.push_back(EvalLagrangeFrom(t.n, t.x, t.y, at, p, kept, usable));
                              }),
                              literalValue(), Describe(t) + " X of point " + std::to_string(p));
        }
    }
}

// Which fault comes first depends on the order of the operations: a zero
// denominator of an early basis product before an overflow of a later one.
TEST(FastIdentity, LagrangeFaultsComeInTheirOrder)
{
    struct Case {
        std::vector<Real> x;
        Real t;
    };
    const Case cases[] = {
        {{0, 0, 1, 2}, 0.5L},             // division by zero
        {{0, 0, 1, 2}, 0},                // 0 / 0
        {{0, 1, 1e4930L, -1e4930L}, 2},   // overflow of a difference
        {{1, 1, 1e-4000L, 1e4000L}, 3},   // zero denominator first, then overflow
        {{1e-4000L, 1e4000L, 1, 1}, 3},   // overflow first, then the zero denominator
        {{5}, 1e4930L},                   // one point: no factor at all
        {{-1e4000L, 0, 1e-4000L, 1e4000L}, 1e4000L},  // at a point, an overflow before the zero factor
        {{0, 1e-4000L, 1, 2}, 2},         // at a point, products past the bound: summed as usual
        {{-3, -1, 0.5L, 2}, 0.5L},        // at a point of a plain window
    };
    for (const Case& c : cases) {
        Table t;
        t.n = static_cast<int>(c.x.size());
        for (int i = 1; i <= t.n; ++i) {
            t.x[i] = c.x[static_cast<std::size_t>(i - 1)];
            t.y[i] = i;
        }
        const Outcome exactOutcome =
            Capture([&](std::vector<Real>& v, MessageText&) { v.push_back(literal::EvalLagrange(t.n, t.x, t.y, c.t)); });
        ExpectSameOutcome(
            Capture([&](std::vector<Real>& v, MessageText&) { v.push_back(EvalLagrange(t.n, t.x, t.y, c.t)); }),
            exactOutcome, Describe(t));
    }
}

// The examples of the fits' own tests, through both forms.
TEST(FastIdentity, ExamplesOfTheFitTests)
{
    auto table = [](std::vector<Real> x, std::vector<Real> y) {
        Table t;
        t.n = static_cast<int>(x.size());
        for (int i = 1; i <= t.n; ++i) {
            t.x[i] = x[static_cast<std::size_t>(i - 1)];
            t.y[i] = y[static_cast<std::size_t>(i - 1)];
        }
        return t;
    };
    const Table tables[] = {
        table({0, 1, 2, 3}, {1, 2, 2, 4}),
        table({0, 1, 2}, {1, 3, 7}),
        table({0, 0, 0}, {1, 2, 6}),
        table({-1, 0, 0.5L, 2, 3, 4.5L}, {2, -1, 0.25L, 3, -2, 1}),
        table({1e2000L, 2e2000L, 3e2000L}, {1e2000L, 2e2000L, 3e2000L}),
        table({0, 1, 2}, {0, 1, 0}),
        table({0, 0.5L, 1.75L, 2, 3.5L, 5, 6.25L, 8}, {1, -2, 0.5L, 4, 3, -1, 2, 2}),
        table({0, 0, 1}, {5, 0, 2}),
        table({0, 1, 1, 2}, {5, 0, 2, 3}),
        table({0, 1, 2, 2}, {5, 0, 2, 3}),
        table({0, 1, 2, 3, 4}, {0, 1, 8, 27, 64}),
        table({-3, -1.25L, 0, 0.7L, 2, 2.5L, 4, 7}, {2, -5, 0.3L, 1, 1e5L, -2, 3.25L, 0}),
        table({0, 0, 1, 2, 3}, {0, 1, 2, 3, 4}),
        table({0, 1, 2, 3}, {-0.0L, 1, -0.0L, 2}),
    };
    for (const Table& t : tables) {
        for (int m = 1; m <= t.n + 1; ++m)
            ExpectSameRegression(t, m);
        ExpectSameOutcome(SplineSetUp(t, true), SplineSetUp(t, false), Describe(t));
        for (Real at : {-1.0L, 0.0L, 0.5L, 1.5L, 2.0L, 3.0L, 3.5L, 5.0L, 9.0L})
            for (int order : {0, 1, 2, 3, 9}) {
                ExpectSameOutcome(Capture([&](std::vector<Real>& v, MessageText& m) {
                                      v.push_back(lagrange_ord(order, t.n, t.x, t.y, at, m));
                                      v.push_back(EvalLagrange(t.n, t.x, t.y, at));
                                  }),
                                  Capture([&](std::vector<Real>& v, MessageText& m) {
                                      v.push_back(literal::lagrange_ord(order, t.n, t.x, t.y, at, m));
                                      v.push_back(literal::EvalLagrange(t.n, t.x, t.y, at));
                                  }),
                                  Describe(t) + " t " + Show(at));
            }
    }
}

}  // namespace
