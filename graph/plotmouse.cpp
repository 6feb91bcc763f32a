// Picking, dragging and releasing data points in the graph window, and the
// right button's menu that leaves a point out of the fits.
#include <QCursor>
#include <QMenu>
#include <algorithm>
#include <cmath>

#include "data/numtext.h"
#include "graph/QuilvexG.h"
#include "graph/core/plotter.h"
#include "graph/core/setaside.h"
#include "ui/handler.h"

namespace quilvex {

namespace {
constexpr int kPickReach = 5;
constexpr Real kPixelLimit = 2e9L;

// The first point, in grid-row order, whose mark holds (X, Y).
std::optional<ShownPoint> PointAt(const Plotter& plot, const QuilvexState& s, int X, int Y)
{
    for (const ShownPoint& p : ShownPoints(s)) {
        const Real px = plot.XToPixel(p.x);
        const Real py = plot.YToPixel(p.y);
        if (std::fabs(px) > kPixelLimit || std::fabs(py) > kPixelLimit)
            continue;
        const int rx = Round(px), ry = Round(py);
        if (rx - kPickReach <= X && X <= rx + kPickReach && ry - kPickReach <= Y && Y <= ry + kPickReach)
            return p;
    }
    return std::nullopt;
}

}  // namespace

void TPlotForm::ConnectMouse()
{
    PlotPaintBox->onMouseDown = [this](QPoint at) { PlotPaintBoxMouseDown(at.x(), at.y()); };
    PlotPaintBox->onMouseMove = [this](QPoint at) { PlotPaintBoxMouseMove(at.x(), at.y()); };
    PlotPaintBox->onMouseUp = [this](QPoint at) { PlotPaintBoxMouseUp(at.x(), at.y()); };
    PlotPaintBox->onRightPress = [this](QPoint at) { PlotPaintBoxRightClick(at.x(), at.y()); };
    ShowPointMenu = [](QMenu& menu) { return menu.exec(QCursor::pos()); };
}

void TPlotForm::PlotPaintBoxMouseDown(int X, int Y)
{
    RunHandler(dialogs_, [&] {
        ClearFpu();
        QuilvexState& s = state_;
        s.MouseIsDown = true;
        draggedAside_.reset();
        Plotter plot(s, PlotPaintBox->PreparedCanvas());
        if (const std::optional<ShownPoint> p = PointAt(plot, s, X, Y)) {
            if (p->excluded)
                draggedAside_ = p->index;
            else
                s.SelectedPoint = p->index;
            s.DragOrigin = ShownXOrigin(s);
            s.PointPicked = true;
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
        // The point keeps its place among its neighbours in the grid, fitted or not.
        const std::vector<ShownPoint> points = ShownPoints(s);
        const auto at = std::find_if(points.begin(), points.end(), [&](const ShownPoint& p) {
            return draggedAside_ ? p.excluded && p.index == *draggedAside_ : !p.excluded && p.index == s.SelectedPoint;
        });
        if (at == points.end())
            return;
        if (at != points.begin() && !(nx > std::prev(at)->x))
            return;
        if (std::next(at) != points.end() && !(nx < std::next(at)->x))
            return;
        CheckFpu();
        Real& x = draggedAside_ ? s.Excluded[static_cast<std::size_t>(*draggedAside_)].x : s.x[at->index];
        Real& y = draggedAside_ ? s.Excluded[static_cast<std::size_t>(*draggedAside_)].y : s.y[at->index];
        x = nx;
        y = ny;
        s.DataModified = true;
        pointMoved_ = true;
        document_.History().NoteDragging();
        document_.Grid().SetCell(0, at->row, FormatCell(nx));
        document_.Grid().SetCell(1, at->row, FormatCell(ny));
        Draw();
    });
}

void TPlotForm::PlotPaintBoxMouseUp(int, int)
{
    state_.MouseIsDown = false;
    state_.PointPicked = false;
    draggedAside_.reset();
    Draw();
    if (pointMoved_)
        document_.RecordStep("drag");
    pointMoved_ = false;
}

void TPlotForm::PlotPaintBoxRightClick(int X, int Y)
{
    Plotter plot(state_, PlotPaintBox->PreparedCanvas());
    const std::optional<ShownPoint> p = PointAt(plot, state_, X, Y);
    if (!p)
        return;
    QMenu menu(this);
    menu.setObjectName("PointMenu");
    const QAction* toggle = menu.addAction(p->excluded ? "Include point" : "Exclude point");
    if (ShowPointMenu(menu) == toggle)
        RunHandler(dialogs_, [&] {
            ClearFpu();  // the menu's own event loop may leave flags that are not ours
            ToggleExclusionAt(X, Y);
        });
}

bool TPlotForm::ToggleExclusionAt(int X, int Y)
{
    Plotter plot(state_, PlotPaintBox->PreparedCanvas());
    const std::optional<ShownPoint> p = PointAt(plot, state_, X, Y);
    return p && document_.SetPointsExcluded({p->row}, !p->excluded);
}

}  // namespace quilvex
