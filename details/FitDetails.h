#pragma once
// The "Fit details" window: every enabled method's coefficients with their
// standard errors and intervals, its figures and warnings, side by side, a
// residual plot below, and the switches of the 95 % bands on the graph. It
// follows every replot; the figures are computed on a thread of their own,
// so a drag never waits for them. Closing it only hides it.
#include <QCheckBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QWidget>
#include <functional>

#include "data/state.h"
#include "details/detailsjob.h"
#include "details/detailsmodel.h"
#include "details/residualplot.h"
#include "graph/core/bands.h"
#include "ui/dialogs.h"

namespace quilvex {

class TFitDetailsForm : public QWidget {
    Q_OBJECT
public:
    // setBands hands the graph the bands to draw and replots it.
    TFitDetailsForm(QuilvexState& state, Dialogs& dialogs, std::function<void(BandChoice)> setBands);

    void ShowAndRaise();
    // A replot has ended: the window takes its table when it is shown.
    void FollowReplot();
    // Waits for the figures of the last replot and shows them (tests and benchmarks).
    void FinishUpdate();

    // Ctrl+C: the selected cells as tab-separated lines, at full precision.
    QString SelectionAsTsv() const;
    // "Copy as CSV": the whole table as it is sorted, with a heading line.
    QString TableAsCsv() const;
    void ExportPlotClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    // Each control is named after its field, so that tests find it.
    void NameControls();
    void ShowLatestResult();
    void UpdateResidualPlot();
    void BandsToggled();

    QTableView* Table = nullptr;
    QSortFilterProxyModel* Sorted = nullptr;
    DetailsModel* Model = nullptr;
    ResidualPlot* Residuals = nullptr;
    QCheckBox* BandsCheckBox = nullptr;
    QCheckBox* PredictionCheckBox = nullptr;
    QPushButton* CopyCsvButton = nullptr;
    QPushButton* ExportPlotButton = nullptr;

    QuilvexState& state_;
    Dialogs& dialogs_;
    std::function<void(BandChoice)> setBands_;
    DetailsWorker worker_;
};

}  // namespace quilvex
