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

#include <functional>

#include "app/document.h"
#include "fit/method.h"
#include "ui/clicklabel.h"
#include "ui/dialogs.h"
#include "ui/fileactions.h"
#include "ui/graphpicture.h"
#include "ui/textgrid.h"
#include "ui/updown.h"

class QAction;

namespace quilvex {

inline constexpr const char* kDataFileFilter = "Quilvex Data Files (*.dta)";
inline constexpr const char* kMainCaption = "Quilvex 0.9 (Beta) by Quilvex Team";

class TQuilvexForm : public QMainWindow {
    Q_OBJECT
public:
    TQuilvexForm(QuilvexDocument& document, Dialogs& dialogs);
    ~TQuilvexForm() override;

    // Where "Export graph…" and "Copy graph" take the graph's picture from.
    void SetPictureSource(std::function<GraphPicture()> source) { pictureSource_ = std::move(source); }

    // Handlers.
    void DrawGraph();
    void AddRowButtonClick();
    void DeleteRowButtonClick();
    void DataStringGridSetEditText();
    // Leaves grid rows out of the fits or takes them back; a refusal is said in a box.
    void ExcludeRows(const std::vector<int>& rows, bool excluded);
    void MenuOpenClick();
    void Saveas1Click();
    // "Save as": true when the table was written.
    bool SaveAs();
    void ExportGraphClick();
    void CopyGraphClick();
    void MenuExitClick();
    void Status1Click();
    void Extrapolate1Click();
    void About1Click();
    void Help1Click();
    // Opens a data file as "Open" does after its dialog, asking first about
    // unsaved changes as "Open" does before it. The command line and drops use it.
    void OpenDataFile(const std::string& name);
    void LabelClick(ClickLabel* label);
    // Ends a step of the table's undo history; the drag ends one too.
    void RecordTableStep(const QString& what) { document_.RecordStep(what); }

signals:
    // The Status and Extrapolate menu items: the status window's two pages.
    void statusAsked();
    void interpolationAsked();
    // Ctrl+D: the "Fit details" window.
    void fitDetailsAsked();

protected:
    // Closing the main window ends the program, whatever the other windows do.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls(QWidget* client);
    // The X and Y headings over the grid's columns, and sigma's while it shows.
    void PlaceHeadings(bool sigmaShown);
    // Each control and action is named after its field, so that tests find it.
    void NameControls();
    void BuildParameters(QWidget* client);
    void BuildMethodBoxes(QWidget* client);
    void BuildGrid(QWidget* client);
    void BuildMenu();
    void BuildHistory();
    void FollowDocument();
    // Asks to save a table with unsaved changes before it is closed or
    // replaced; false when the user cancels.
    bool MayLeaveTable();
    // Reads the data file into the grid: its warnings, error box and replots.
    void ReadIntoGrid(const std::string& name);
    void AddShortcuts();
    void SetTabOrder();
    QLineEdit* AddParameterEdit(QWidget* client, int left, Parameter p, const char* text, const char* hint);
    QLineEdit* ParameterEdit(Parameter p) const;
    UpDown* ParameterUpDown(Parameter p) const;
    QCheckBox* AddMethodBox(QWidget* client, int top, const MethodRow& row);
    QCheckBox* MethodBox(Method m) const;
    GridModel& Grid() { return document_.Grid(); }

    // The method boxes in the order of the method table, the parameter edits
    // and their spinners in the order of Parameter.
    static QCheckBox* TQuilvexForm::* const kMethodBoxes[kMethodCount];
    static QLineEdit* TQuilvexForm::* const kParameterEdits[kParameterCount];
    static UpDown* TQuilvexForm::* const kParameterUpDowns[kParameterCount];

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
    QLabel* SigmaLabel = nullptr;
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
    QAction* SigmaColumnAction = nullptr;
    QAction* About1 = nullptr;
    QAction* Help1 = nullptr;

    QuilvexDocument& document_;
    QuilvexState& state_;
    Dialogs& dialogs_;
    std::function<GraphPicture()> pictureSource_;
    SaveRequest saveRequest_{FileRequest{"Save as", {kDataFileFilter}, true, ""}, kDataFileRule, {},
                             kWrongExtensionText, true};
};

}  // namespace quilvex
