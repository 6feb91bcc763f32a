// The one extension rule of the files the program writes, for the three ways
// a file type treats another extension.
#include <gtest/gtest.h>

#include "data/filename.h"
#include "fit/method.h"

namespace quilvex {
namespace {

TEST(ExtensionRule, AppendsKeepsOrRefusesByTheNamesLastPart)
{
    const ExtensionRule refuse{{".dta"}, 0, OtherExtension::Refuse};
    const ExtensionRule keep{{".txt"}, 0, OtherExtension::Keep};
    const ExtensionRule append{{".png", ".svg"}, 1, OtherExtension::Append};
    struct Case {
        const ExtensionRule* rule;
        const char* name;
        const char* result;
        bool refused;
        int known;
    };
    const Case cases[] = {
        {&refuse, "data", "data.dta", false, 0},
        {&refuse, "a.b/data.DtA", "a.b/data.DtA", false, 0},
        {&refuse, "data.", "data.", true, -1},
        {&refuse, "D:set", "D:set.dta", false, 0},
        {&keep, "results.csv", "results.csv", false, -1},
        {&keep, "my.dir\\results", "my.dir\\results.txt", false, 0},
        {&keep, "results.TXT", "results.TXT", false, 0},
        {&append, "graph", "graph.svg", false, 1},
        {&append, "graph.PNG", "graph.PNG", false, 0},
        {&append, "graph.jpg", "graph.jpg.svg", false, 1},
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        const NamedFile named = ApplyExtensionRule(name, *c.rule);
        EXPECT_EQ(name, c.result) << c.name;
        EXPECT_EQ(named.refused, c.refused) << c.name;
        EXPECT_EQ(named.known, c.known) << c.name;
    }
}

TEST(MethodTable, RowsStandInTheirEnumsPlaceAndEachIsDrawnOnce)
{
    for (int k = 0; k < kMethodCount; ++k)
        EXPECT_EQ(static_cast<int>(kMethods[k].method), k);
    const std::array<Method, kMethodCount> drawn{Method::Regression,  Method::Spline,      Method::Lagrange,
                                                 Method::LagrangeOrd, Method::Exponential, Method::Logarithmic,
                                                 Method::Power};
    EXPECT_EQ(kDrawOrder, drawn);
}

}  // namespace
}  // namespace quilvex
