#pragma once
// The main window: the plot parameters with their spinners, the method check
// boxes, the graphing switch, the data grid with its row buttons, the name of
// the data file and the menu. Every parameter and box asks for a replot
// through DrawGraph.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include "data/state.h"
#include "mainwin/tablehistory.h"
#include "ui/clicklabel.h"
#include "ui/dialogs.h"
#include "ui/textgrid.h"
#include "ui/updown.h"

class QAction;

namespace quilvex {

class TPlotForm;
class TStatusForm;

inline constexpr const char* kMainCaption = "Quilvex 0.9 (Beta) by Quilvex Team";

class TQuilvexForm : public QMainWindow {
    Q_OBJECT
public:
    TQuilvexForm(QuilvexState& state, Dialogs& dialogs);
    ~TQuilvexForm() override;

    void SetPlotForm(TPlotForm* plot) { plotForm_ = plot; }
    void SetStatusForm(TStatusForm* status) { statusForm_ = status; }

    // Handlers.
    void DrawGraph();
    void AddRowButtonClick();
    void DeleteRowButtonClick();
    void DataStringGridSetEditText();
    void MenuOpenClick();
    void Saveas1Click();
    void ExportGraphClick();
    void CopyGraphClick();
    void MenuExitClick();
    void Status1Click();
    void Extrapolate1Click();
    void About1Click();
    void Help1Click();
    // Reads the data file into the grid as "Open" does after its dialog: the
    // same warnings, error box and replots. The command line and drops use it too.
    void OpenDataFile(const std::string& name);
    void LabelClick(ClickLabel* label);
    // Ends a step of the table's undo history; the drag ends one too.
    void RecordTableStep(const QString& what) { history_->Record(what); }
    TableHistory& History() { return *history_; }

    // Controls, named as the form defines them.
    QLabel* TopPanel = nullptr;
    ClickLabel* Label2 = nullptr;
    ClickLabel* Label1 = nullptr;
    ClickLabel* Label4 = nullptr;
    ClickLabel* Label5 = nullptr;
    QLineEdit* PlotPointsEdit = nullptr;
    UpDown* PlotPointsUpDown = nullptr;
    QLineEdit* CoverEdit = nullptr;
    UpDown* CoverUpDown = nullptr;
    QLineEdit* LagrOrdEdit = nullptr;
    UpDown* LagrOrdUpDown = nullptr;
    QLineEdit* RegrOrdEdit = nullptr;
    UpDown* RegrOrdUpDown = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* FileNameLabel = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QCheckBox* SplineCheckBox = nullptr;
    QCheckBox* LagrCheckBox = nullptr;
    QCheckBox* LagrOCheckBox = nullptr;
    QCheckBox* RegrCheckBox = nullptr;
    QCheckBox* ExpCheckBox = nullptr;
    QCheckBox* LogCheckBox = nullptr;
    QCheckBox* PowerCheckBox = nullptr;
    QCheckBox* GraphEnableCheckBox = nullptr;
    TextGrid* DataStringGrid = nullptr;
    QPushButton* AddRowButton = nullptr;
    QPushButton* DeleteRowButton = nullptr;

    QAction* MenuOpen = nullptr;
    QAction* Saveas1 = nullptr;
    QAction* ExportGraph = nullptr;
    QAction* CopyGraph = nullptr;
    QAction* MenuExit = nullptr;
    QAction* Status1 = nullptr;
    QAction* Extrapolate1 = nullptr;
    QAction* MenuHelp = nullptr;
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QAction* About1 = nullptr;
    QAction* Help1 = nullptr;

    GridModel& Grid() { return DataStringGrid->Model(); }

signals:
    // Ctrl+D: the "Fit details" window is asked for.
    void FitDetailsRequested();

protected:
    // Closing the main window ends the program, whatever the other windows do.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls(QWidget* client);
    void BuildParameters(QWidget* client);
    void BuildMethodBoxes(QWidget* client);
    void BuildGrid(QWidget* client);
    void BuildMenu();
    void BuildHistory();
    void ShowTable(const TableSnapshot& table);
    // Asks to save a table with unsaved changes; false when the user cancels.
    bool MayClose();
    void AddShortcuts();
    void SetTabOrder();
    QLineEdit* AddParameterEdit(QWidget* client, int left, const char* text, const char* hint);
    QCheckBox* AddMethodBox(QWidget* client, int top, const char* caption, Color color, const char* hint);

    QuilvexState& state_;
    Dialogs& dialogs_;
    TPlotForm* plotForm_ = nullptr;
    TStatusForm* statusForm_ = nullptr;
    TableHistory* history_ = nullptr;
};

}  // namespace quilvex
