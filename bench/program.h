#pragma once
// The whole program built offscreen with scripted dialogs, set up for a replot.
#include <QCheckBox>
#include <QCoreApplication>
#include <vector>

#include "bench/tables.h"
#include "graph/core/plotter.h"
#include "app/QuilvexApp.h"
#include "support/recording_canvas.h"
#include "support/scripted_dialogs.h"
#include "support/controls.h"

namespace quilvex::bench {

enum Method { Spline, Lagrange, LagrangeOrd, Regression, Exponential, Logarithmic, Power };
inline constexpr const char* kMethodNames[] = {"spline", "lagrange", "lagrange_ord", "regression",
                                               "exp",    "log",      "power"};

class Program {
public:
    Program() : app_(dialogs_)
    {
        app_.Start();
        QCoreApplication::processEvents();
    }

    // Puts the table into the grid and ticks the methods, then replots once.
    void Show(const PointTable& table, const std::vector<Method>& methods)
    {
        QuilvexDocument& document = app_.Document();
        document.SetGraphingEnabled(false);
        document.Grid().SetRows(GridRows(table));
        for (int m = Spline; m <= Power; ++m)
            Box(static_cast<Method>(m))->setChecked(false);
        for (Method m : methods)
            Box(m)->setChecked(true);
        document.SetGraphingEnabled(true);  // the box follows, and replots
    }

    QCheckBox* Box(Method m)
    {
        const char* const names[] = {"SplineCheckBox", "LagrCheckBox", "LagrOCheckBox", "RegrCheckBox",
                                     "ExpCheckBox",    "LogCheckBox",  "PowerCheckBox"};
        return testing::Find<QCheckBox>(app_.Main(), names[m]);
    }

    // The pixel of point i as the last replot placed it.
    std::pair<int, int> PixelOf(int i)
    {
        testing::RecordingCanvas canvas(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->width(), quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->height());
        Plotter plot(State(), canvas);
        return {Round(plot.XToPixel(State().x[i])), Round(plot.YToPixel(State().y[i]))};
    }

    // The X that a press or a movement at pixel column px stands for.
    Real XAtColumn(int px)
    {
        testing::RecordingCanvas canvas(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->width(), quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->height());
        return Plotter(State(), canvas).PixelToX(px);
    }

    // Two pixel columns near px whose X lies strictly between the neighbours of
    // point k, where a movement is accepted; fewer when there are none.
    std::vector<int> ColumnsBetweenNeighbours(int k, int px)
    {
        const QuilvexState& s = State();
        std::vector<int> columns;
        for (int c : {px, px + 1, px - 1, px + 2, px - 2}) {
            const Real x = XAtColumn(c);
            if ((k == 1 || x > s.x[k - 1]) && (k == s.n || x < s.x[k + 1]) && columns.size() < 2)
                columns.push_back(c);
        }
        return columns;
    }

    // Forgets what the last replot computed, so the next one computes it all.
    void ForgetReuse() { State().Reuse = FitCache{}; }

    QuilvexState& State() { return app_.State(); }
    TPlotForm& Plot() { return app_.Plot(); }
    TQuilvexForm& Main() { return app_.Main(); }
    TFitDetailsForm& Details() { return app_.Details(); }
    QuilvexDocument& Document() { return app_.Document(); }

private:
    testing::ScriptedDialogs dialogs_;
    QuilvexApp app_;
};

}  // namespace quilvex::bench
