#pragma once
// The document the three windows share: the program's state, the point table
// (the grid's model), its undo history, the name of the data file and whether
// the table changed since it was opened or saved; the texts of the four plot
// parameters, the states of the seven method boxes and the X typed in the
// status window, exactly as the windows show them. The windows write what the
// user changes into it and follow its signals; none of them reaches into
// another. It carries texts and states; reading them is the replot's.
#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "app/tablehistory.h"
#include "data/state.h"
#include "fit/method.h"
#include "graph/core/bands.h"
#include "stats/constraints.h"
#include "stats/weights.h"
#include "ui/gridmodel.h"

namespace quilvex {

inline constexpr const char* kTooFewFittedText = "At least 3 points must remain in the fits";

// The four plot parameters, in the order of the main window's edits.
enum class Parameter { PlotPoints, Cover, LagrOrd, RegrOrd };
inline constexpr int kParameterCount = 4;

class QuilvexDocument : public QObject {
    Q_OBJECT
public:
    QuilvexDocument();
    ~QuilvexDocument() override;

    QuilvexState& State() { return state_; }
    const QuilvexState& State() const { return state_; }

    // The point table as the grid shows it; the main window's grid is its view.
    GridModel& Grid() { return grid_; }

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& name);

    // The table's undo history; a step ends when an action on the table ends.
    TableHistory& History() { return *history_; }
    void RecordStep(const QString& what) { history_->Record(what); }
    // Changed by the user since the table was opened or saved.
    bool Unsaved() { return history_->Unsaved(); }
    // The table was opened or saved; the file holds rowsInFile rows with text.
    void MarkSaved(std::size_t rowsInFile) { history_->MarkSaved(rowsInFile); }

    const QString& ParameterText(Parameter p) const { return parameters_[static_cast<int>(p)]; }
    void SetParameterText(Parameter p, const QString& text) { parameters_[static_cast<int>(p)] = text; }
    // The replot's correction of a parameter out of range: the text, then the spinner.
    void WriteBackParameter(Parameter p, int value);

    bool MethodChecked(Method m) const { return methods_[static_cast<int>(m)]; }
    void SetMethodChecked(Method m, bool checked);

    const QString& MarkText() const { return markText_; }
    void SetMarkText(const QString& text) { markText_ = text; }

    // "Graphing Enabled?" of the main window; the box follows the document, and
    // switching it on replots, as a click on the box does.
    bool GraphingEnabled() const { return graphingEnabled_; }
    void SetGraphingEnabled(bool enabled);

    // The 95 % bands the details window asks for on the graph.
    BandChoice Bands() const { return bands_; }
    void SetBands(BandChoice bands) { bands_ = bands; }

    // The weighting of the weighted fits, and whether the graph draws their
    // curves (dash-dotted beside the designed ones); changing either replots.
    Weighting GetWeighting() const { return weighting_; }
    void SetWeighting(Weighting weighting);
    bool WeightedCurvesShown() const { return weightedCurves_; }
    void SetWeightedCurvesShown(bool shown);

    // Leaves the grid rows out of the fits, or takes them back, as one step of
    // the history ("exclude points"/"include points"), then replots. Refused
    // (false, nothing changed) when fewer than 3 points would remain in the
    // fits; the caller says kTooFewFittedText.
    bool SetPointsExcluded(const std::vector<int>& rows, bool excluded);

    // The constraints of the fits: each constrainable method's constrained row
    // follows its free one. Setting them is one step of the history
    // ("constraints"), then a replot; they are saved with the table.
    const MethodConstraints& GetConstraints() const { return constraints_; }
    void SetConstraints(const MethodConstraints& constraints);
    // Puts in the constraints of a file being opened, within the step of the opening.
    void TakeFileConstraints(const MethodConstraints& constraints);

    // Asks for one replot now (the graph window's Draw).
    void Replot() { emit replotRequested(); }
    // A replot through the graphing switch, as every parameter and box asks for one.
    void DrawGraph()
    {
        if (graphingEnabled_)
            Replot();
    }

signals:
    void replotRequested();
    void fileNameChanged(const QString& name);
    void parameterWrittenBack(quilvex::Parameter p, const QString& text, int value);
    void methodCheckedChanged(quilvex::Method m, bool checked);
    void graphingEnabledChanged(bool enabled);
    // Undo or redo put a table back.
    void tableRestored();
    void weightingChanged(quilvex::Weighting weighting);
    // Set, opened, undone or redone.
    void constraintsChanged();

private:
    void Restore(const TableSnapshot& table);

    QuilvexState state_;
    GridModel grid_;
    std::unique_ptr<TableHistory> history_;
    QString fileName_;
    std::array<QString, kParameterCount> parameters_;
    std::array<bool, kMethodCount> methods_{};
    QString markText_;
    bool graphingEnabled_ = true;
    BandChoice bands_;
    Weighting weighting_ = Weighting::None;
    bool weightedCurves_ = false;
    MethodConstraints constraints_;
};

}  // namespace quilvex
