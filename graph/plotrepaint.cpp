// How the window system's repaint requests reach the replot. A modal warning
// must never open while Qt paints, so the paint event only shows the kept
// picture; showing, uncovering and resizing the window ask for a replot that
// runs after the current event instead.
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include "graph/QuilvexG.h"

namespace quilvex {

void TPlotForm::RequestReplot()
{
    if (replotQueued_)
        return;
    replotQueued_ = true;
    QTimer::singleShot(0, this, [this] { ReplotIfStale(); });
}

void TPlotForm::ReplotIfStale()
{
    replotQueued_ = false;
    if (state_.DrawDepth != 0) {
        // Inside a replot's warning: asked again once that replot is over.
        requestMissed_ = true;
        return;
    }
    if (!PlotPaintBox->isVisible())
        return;
    // Closing a warning uncovers the graph; the picture of that same replot is
    // current, so no second replot (and no second warning) follows.
    if (picture_ == CurrentInputs(PlotPaintBox->size()))
        return;
    Draw();
}

void TPlotForm::NotePictureDrawn()
{
    const ImageCanvas& canvas = PlotPaintBox->Canvas();
    picture_ = CurrentInputs(QSize(canvas.Width(), canvas.Height()));
    if (methodsRead_)
        picture_->methods = *methodsRead_;
    if (requestMissed_) {
        requestMissed_ = false;
        RequestReplot();
    }
}

TPlotForm::PictureInputs TPlotForm::CurrentInputs(QSize size) const
{
    PictureInputs in;
    in.gridGeneration = document_.Grid().Generation();
    for (Parameter p : {Parameter::PlotPoints, Parameter::Cover, Parameter::LagrOrd, Parameter::RegrOrd})
        in.parameters += document_.ParameterText(p) + QChar('\n');
    in.methods = CheckedMethods();
    in.markX = document_.MarkText();
    in.confidenceBands = document_.Bands().confidence;
    in.predictionBands = document_.Bands().prediction;
    in.selected = state_.SelectedPoint;
    in.weighting = document_.GetWeighting();
    in.weightedCurves = document_.WeightedCurvesShown();
    in.constraints = document_.GetConstraints();
    in.size = size;
    return in;
}

unsigned TPlotForm::CheckedMethods() const
{
    unsigned methods = 0;
    for (const MethodRow& row : kMethods)
        methods |= document_.MethodChecked(row.method) ? 1u << static_cast<int>(row.method) : 0u;
    return methods;
}

void TPlotForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!watchingExposure_ && windowHandle() != nullptr) {
        windowHandle()->installEventFilter(this);
        watchingExposure_ = true;
    }
    RequestReplot();
}

}  // namespace quilvex
