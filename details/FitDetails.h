#pragma once
// The "Fit details" window: every enabled method's coefficients with their
// standard errors and intervals, its figures and warnings, side by side, a
// residual plot below, and the switches of the 95 % bands on the graph. It
// follows every replot; the figures are computed on a thread of their own,
// so a drag never waits for them, and a note above the table tells when the
// grid is no longer the table they describe. The weighting chosen adds each
// least-squares method's weighted fit and its figures; the points left out
// of the fits are named. Closing it, or Escape, only hides it.
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QWidget>
#include <vector>

#include "app/document.h"
#include "data/datafile.h"
#include "details/constraintseditor.h"
#include "details/detailsjob.h"
#include "details/detailsmodel.h"
#include "details/residualplot.h"
#include "ui/dialogs.h"

namespace quilvex {

class TFitDetailsForm : public QWidget {
    Q_OBJECT
public:
    TFitDetailsForm(QuilvexDocument& document, Dialogs& dialogs);

    // Shows the window in front with the focus, restored if minimised. The
    // first time it is placed within the available area of mainWindow's screen.
    void ShowAndRaise(const QWidget* mainWindow = nullptr);
    // A replot has ended: the window takes its table when it is shown.
    void FollowReplot();
    // Waits for the figures of the last replot and shows them (tests and benchmarks).
    void FinishUpdate();

    // Ctrl+C: the selected cells as tab-separated lines, at full precision.
    QString SelectionAsTsv() const;
    // "Copy as CSV": the whole table as it is sorted, with a heading line.
    QString TableAsCsv() const;
    void ExportPlotClick();

signals:
    // Ctrl+D in this window: back to the main window.
    void mainWindowAsked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    // The Weights selector, its hint, the weighted curves and normalised
    // residuals boxes and the line of the excluded rows; made after the
    // designed controls, so the designed focus order holds.
    void BuildWeightControls(QVBoxLayout* layout);
    // The "Constraints…" button at the end of the Weights row, and its editor.
    void BuildConstraintControls(QHBoxLayout* row);
    // The model whose constraints the table's row at index edits, if it takes any.
    std::optional<StatsMethod> ConstrainableModelAt(const QModelIndex& index) const;
    void UpdateConstraintsButton();
    void ShowConstraintsSummary();
    // The row the user was on, found again by its method once a change of
    // the rows (a constrained or weighted row added or gone) cleared it.
    void KeepCurrentRow(std::optional<StatsMethod> method, int column);
    void AddConstraintsEntry(QMenu& menu, const QModelIndex& index);
    void WeightingChosen(int index);
    void ShowWeighting(Weighting weighting);
    // The hint and the excluded rows of the figures shown.
    void UpdateWeightNotes();
    // Escape, Ctrl+D, Ctrl+C and the table's sort menu.
    void BuildKeys();
    // Each control is named after its field, so that tests find it.
    void NameControls();
    void PlaceOnScreenOf(const QWidget* mainWindow);
    void ShowSortMenu(const QPoint& at);
    void CopySelection();
    // The note above the table while the grid is not the table of the figures.
    void UpdateStaleNote();
    void ShowLastReplot();
    void ShowLatestResult();
    void UpdateResidualPlot();
    void BandsToggled();

    QLabel* StaleNote = nullptr;
    QLabel* MarkNote = nullptr;
    QTableView* Table = nullptr;
    QSortFilterProxyModel* Sorted = nullptr;
    DetailsModel* Model = nullptr;
    ResidualPlot* Residuals = nullptr;
    QCheckBox* BandsCheckBox = nullptr;
    QCheckBox* PredictionCheckBox = nullptr;
    QPushButton* CopyCsvButton = nullptr;
    QPushButton* ExportPlotButton = nullptr;
    QComboBox* WeightsCombo = nullptr;
    QLabel* WeightsHint = nullptr;
    QLabel* ExcludedNote = nullptr;
    QCheckBox* WeightedCurvesCheckBox = nullptr;
    QCheckBox* NormalisedCheckBox = nullptr;
    QPushButton* ConstraintsButton = nullptr;
    QLabel* ConstraintsSummary = nullptr;
    ConstraintsEditor* Editor = nullptr;

    QuilvexDocument& document_;
    Dialogs& dialogs_;
    // The rows of the grid the last replot read its table from.
    std::vector<DataRow> plottedTable_;
    bool placed_ = false;
    DetailsWorker worker_;
};

}  // namespace quilvex
