// Picking, dragging and releasing data points in the graph window.
#include <cmath>

#include "data/numtext.h"
#include "graph/QuilvexG.h"
#include "graph/core/plotter.h"
#include "ui/handler.h"

namespace quilvex {

namespace {
constexpr int kPickReach = 5;
constexpr Real kPixelLimit = 2e9L;
}  // namespace

void TPlotForm::ConnectMouse()
{
    PlotPaintBox->onMouseDown = [this](QPoint at) { PlotPaintBoxMouseDown(at.x(), at.y()); };
    PlotPaintBox->onMouseMove = [this](QPoint at) { PlotPaintBoxMouseMove(at.x(), at.y()); };
    PlotPaintBox->onMouseUp = [this](QPoint at) { PlotPaintBoxMouseUp(at.x(), at.y()); };
}

void TPlotForm::PlotPaintBoxMouseDown(int X, int Y)
{
    RunHandler(dialogs_, [&] {
        ClearFpu();
        QuilvexState& s = state_;
        s.MouseIsDown = true;
        Plotter plot(s, PlotPaintBox->PreparedCanvas());
        for (int i = 1; i <= s.n; ++i) {
            const Real px = plot.XToPixel(s.x[i]);
            const Real py = plot.YToPixel(s.y[i]);
            if (std::fabs(px) > kPixelLimit || std::fabs(py) > kPixelLimit)
                continue;
            const int rx = Round(px), ry = Round(py);
            if (rx - kPickReach <= X && X <= rx + kPickReach && ry - kPickReach <= Y && Y <= ry + kPickReach) {
                s.SelectedPoint = i;
                s.DragOrigin = s.x[1];
                s.PointPicked = true;
                break;
            }
        }
        Draw();
    });
}

void TPlotForm::PlotPaintBoxMouseMove(int X, int Y)
{
    QuilvexState& s = state_;
    if (!(s.MouseIsDown && s.PointPicked))
        return;
    RunHandler(dialogs_, [&] {
        ClearFpu();
        Plotter plot(s, PlotPaintBox->PreparedCanvas());
        const Real nx = plot.PixelToX(X);
        const Real ny = plot.PixelToY(Y);
        const int k = s.SelectedPoint;
        if (k > 1 && !(nx > s.x[k - 1]))
            return;
        if (k < s.n && !(nx < s.x[k + 1]))
            return;
        CheckFpu();
        s.x[k] = nx;
        s.y[k] = ny;
        s.DataModified = true;
        pointMoved_ = true;
        document_.History().NoteDragging();
        document_.Grid().SetCell(0, k - 1, FormatCell(nx));
        document_.Grid().SetCell(1, k - 1, FormatCell(ny));
        Draw();
    });
}

void TPlotForm::PlotPaintBoxMouseUp(int, int)
{
    state_.MouseIsDown = false;
    state_.PointPicked = false;
    Draw();
    if (pointMoved_)
        document_.RecordStep("drag");
    pointMoved_ = false;
}

}  // namespace quilvex
