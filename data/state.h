#pragma once
// The program-wide variables of Quilvex, in one object that the application owns.
// Every replot rebuilds the point table and the settings from the windows; the
// other results live on between replots for the reports and the mouse.
#include <cstdint>
#include <string>
#include <vector>

#include "data/checked.h"
#include "data/color.h"
#include "data/fitcache.h"
#include "data/messagetext.h"

namespace quilvex {

struct Pixel {
    std::int32_t x = 30000, y = 30000;  // (30000, 30000): nothing reached since the last move
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// The sums of the exponential, logarithmic and power fits.
struct FitSums {
    Real SumX = 0, SumY = 0, SumXX = 0, SumLnX = 0, SumLnX2 = 0, SumLnY = 0, SumXLnY = 0, SumYLnX = 0,
         SumLnXLnY = 0;
};

// An X value the scaling replaced to keep the table ascending.
struct AdjustedX {
    std::int32_t point = 0;
    Real read = 0;      // the value the table held
    Real written = 0;   // the value put in its place
    Real readBack = 0;  // the grid cell written, as the next replot reads it
};

// A point the user left out of every fit: drawn, dragged and saved, never fitted.
struct SetAsidePoint {
    std::int32_t row = 0;  // its grid row, from 0
    Real x = 0, y = 0;
    std::string sigma;  // its sigma cell as typed
};

struct QuilvexState {
    // Point table.
    std::int32_t n = 0;
    RealArray x, y;
    std::int32_t SelectedPoint = 1;
    // What the user knows beyond X and Y. After the replot has set the
    // excluded points aside, x and y hold the points fitted only:
    // PointRows[i - 1] is the grid row (from 0) of point i, SigmaTexts[i - 1]
    // its sigma cell as typed. Both are empty when the table has no sigma and
    // no excluded point, and point i is then grid row i - 1.
    std::vector<std::int32_t> PointRows;
    std::vector<std::string> SigmaTexts;
    std::vector<SetAsidePoint> Excluded;

    // Plot settings.
    std::int32_t LagrOrd = 3;
    std::int32_t RegrOrd = 3;
    bool ShowSpline = false, ShowLagr = false, ShowLagrO = false, ShowRegr = false, ShowExp = false,
         ShowLog = false, ShowPower = false;
    Real Cover = 80;
    Real PlotPoints = 512;

    // Scaling.
    Real XScale = 1, YScale = 1, YMin = 0, YMax = 0;
    std::int32_t MarginX = 0, MarginY = 0;
    Pixel LastPixel;
    // The X values replaced since the file was opened, while each point holds what was written.
    std::vector<AdjustedX> AdjustedXs;

    // Flags.
    bool NewFileLoaded = false;
    bool DataModified = false;
    bool MouseIsDown = false;
    bool PointPicked = false;
    // x[1] as it was when the dragged point was picked: the X origin of the
    // mapping while the drag lasts, as the scale is kept.
    Real DragOrigin = 0;

    // Replot.
    std::int32_t DrawDepth = 0;
    MessageText MessageBuffer;
    Color SavedPenColor = colors::Black;
    Real PlotXStart = 0, PlotXEnd = 0, PlotStep = 0, PlotX = 0;

    // Fit results.
    RealArray RegrCoef;
    RealArray SplineD2;
    FitSums Sums;
    Real FitDet = 0;
    Real ExpA = 0, ExpB = 0, LogA = 0, LogB = 0, PowerA = 0, PowerB = 0;

    // The regression fit and the costly curve samples of the last replot, with
    // their inputs: a replot whose inputs are unchanged reuses them.
    FitCache Reuse;
};

// x[1] <= X <= x[n]: where the spline and the Lagrange curves are evaluated.
// With no points, reading x[n] is a range error, as the reports rely on.
inline bool InDataRange(const QuilvexState& s, Real X) { return s.x[1] <= X && X <= s.x[s.n]; }

}  // namespace quilvex
