#pragma once
// The seven fitting methods in one table: what the main window's boxes show,
// the colour each curve is drawn in, the names the reports give it, where the
// curve is defined and its place in the drawing order. Everything that handles
// "each method" loops over this table; a new method is a row, its evaluator
// and its tracer.
#include <array>

#include "data/color.h"
#include "data/state.h"

namespace quilvex {

// In the order of the reports (and of the boxes).
enum class Method { Spline, Lagrange, LagrangeOrd, Regression, Exponential, Logarithmic, Power };
inline constexpr int kMethodCount = 7;

// Where a method's curve has values: between the first and the last data
// point, everywhere, or right of 0 (where ln is defined).
enum class Domain { DataRange, All, Positive };

struct MethodRow {
    Method method;
    bool QuilvexState::*show;  // the state's flag that the method's box sets
    const char* caption;       // the main window's check box
    const char* hint;          // its tool tip
    Color color;
    const char* colorName;  // the status report's heading: colorName + ": " + heading
    const char* heading;
    const char* name;  // the interpolation and fit quality reports' name
    Domain domain;
    int drawPlace;  // 0 is drawn first, later curves over earlier ones
};

namespace method_names {
inline constexpr const char Spline[] = "Cubic Spline";
inline constexpr const char Lagrange[] = "Lagrange";
inline constexpr const char Exponential[] = "Exponential";
inline constexpr const char Logarithmic[] = "Logarithmic";
inline constexpr const char Power[] = "Power";
}  // namespace method_names

inline constexpr std::array<MethodRow, kMethodCount> kMethods{{
    {Method::Spline, &QuilvexState::ShowSpline, method_names::Spline, "Exact fit, no extrapolation", colors::Black,
     "Black", method_names::Spline, method_names::Spline, Domain::DataRange, 1},
    {Method::Lagrange, &QuilvexState::ShowLagr, "\"n-1\" Order Lagrange Polynomial",
     "Exact fit polynomial through all points", colors::Yellow, "Yellow", "Lagrange Interpolating Polynomial",
     method_names::Lagrange, Domain::DataRange, 2},
    {Method::LagrangeOrd, &QuilvexState::ShowLagrO, "User Order Lagrange Polynomial",
     "Exact fit polynomial through \"n\" closest points, may be discontinuous", colors::Green, "Green",
     "Lagrange Polynomial", method_names::Lagrange, Domain::DataRange, 3},
    {Method::Regression, &QuilvexState::ShowRegr, "User Order Regression",
     "Least squares polynomial through all points, not always exact fit", colors::Red, "Red",
     "Least Squares Regression Polynomial", "Regression", Domain::All, 0},
    {Method::Exponential, &QuilvexState::ShowExp, "Exponential: y=ae^bx",
     "Least squares approximation using exponential formula", colors::Purple, "Purple", method_names::Exponential,
     method_names::Exponential, Domain::All, 4},
    {Method::Logarithmic, &QuilvexState::ShowLog, "Logarithmic: y=a + b ln x",
     "Least squares approximation using logarithmic formula", colors::Gray, "Gray", method_names::Logarithmic,
     method_names::Logarithmic,
     Domain::Positive, 5},
    {Method::Power, &QuilvexState::ShowPower, "Power:  y=ax^b", "Least squares approximation using power formula",
     colors::Blue, "Blue", method_names::Power, method_names::Power, Domain::Positive, 6},
}};

constexpr const MethodRow& RowOf(Method m) { return kMethods[static_cast<int>(m)]; }
inline bool Shown(const QuilvexState& s, Method m) { return s.*RowOf(m).show; }

// The methods in the order their curves are drawn and marked.
inline constexpr std::array<Method, kMethodCount> kDrawOrder = [] {
    std::array<Method, kMethodCount> order{};
    for (const MethodRow& row : kMethods)
        order[row.drawPlace] = row.method;
    return order;
}();

// The methods in the order of the reports.
inline constexpr std::array<Method, kMethodCount> kReportOrder = [] {
    std::array<Method, kMethodCount> order{};
    for (int k = 0; k < kMethodCount; ++k)
        order[k] = kMethods[k].method;
    return order;
}();

// How a method's curve meets the points: through every one, by least squares
// in y, or by least squares of ln y (the exponential and power fits as fitted).
enum class Fitting { ThroughPoints, LeastSquaresY, LeastSquaresLnY };

constexpr Fitting FittingOf(Method m)
{
    switch (m) {
    case Method::Spline:
    case Method::Lagrange:
    case Method::LagrangeOrd: return Fitting::ThroughPoints;
    case Method::Regression:
    case Method::Logarithmic: return Fitting::LeastSquaresY;
    case Method::Exponential:
    case Method::Power: return Fitting::LeastSquaresLnY;
    }
    return Fitting::ThroughPoints;
}

// True where the method's curve has a value at X; x[n] is read only when X >= x[1].
bool InDomain(const QuilvexState& s, Method m, Real X);

// The fast forms the program computes with, or the literal ones (namespace
// literal) that give the same bits and that the identity tests hold them to.
enum class Forms { Fast, Literal };

// The method's curve at t, by the evaluator that draws it, from the fits in
// the state; the evaluator's messages go to `messages`.
Real MethodValue(const QuilvexState& s, Method m, Real t, MessageText& messages, Forms forms = Forms::Fast);

}  // namespace quilvex
