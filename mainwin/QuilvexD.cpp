#include "mainwin/QuilvexD.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenuBar>

#include "graph/QuilvexG.h"
#include "mainwin/helptext.h"
#include "report/Status.h"
#include "ui/handler.h"
#include "ui/look.h"
#include "ui/typinglimit.h"

namespace quilvex {

namespace {

constexpr int kFrameWidth = 393, kFrameHeight = 301;
constexpr int kInitialRows = 4;
const QString kWindowFont = "MS Sans Serif";

QLabel* AddLabel(QWidget* parent, int left, int top, const char* caption)
{
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);  // a file name is shown as it is, never as markup
    label->move(left, top);
    label->adjustSize();
    return label;
}

ClickLabel* AddClickLabel(QWidget* parent, int left, int top, const char* caption, QWidget* focus)
{
    auto* label = new ClickLabel(caption, parent);
    label->move(left, top);
    label->adjustSize();
    label->FocusControl = focus;
    return label;
}

}  // namespace

TQuilvexForm::TQuilvexForm(QuilvexState& state, Dialogs& dialogs) : state_(state), dialogs_(dialogs)
{
    setWindowTitle(kMainCaption);
    setFont(PixelFont(kWindowFont, 11));
    move(6, 4);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    BuildMenu();
    BuildControls(client);
    BuildHistory();
    SetTabOrder();
    resize(kFrameWidth - 8, kFrameHeight - 27);
}

// The grid closes its cell editor as it goes: nothing it says then may reach
// this window, which is already half destroyed.
TQuilvexForm::~TQuilvexForm()
{
    DataStringGrid->disconnect(this);
    Grid().disconnect(this);
}

void TQuilvexForm::BuildControls(QWidget* client)
{
    TopPanel = new QLabel(kMainCaption, client);
    TopPanel->setGeometry(8, 0, 369, 33);
    TopPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    TopPanel->setAlignment(Qt::AlignCenter);
    TopPanel->setFont(PixelFont("Arial", 21, true, true));
    SetTextColor(TopPanel, colors::Black);

    BuildParameters(client);

    Label6 = AddLabel(client, 8, 80, "Current file:");
    FileNameLabel = AddLabel(client, 72, 80, "");
    FileNameLabel->setMinimumWidth(150);
    Label7 = AddLabel(client, 256, 80, "X");
    Label8 = AddLabel(client, 320, 80, "Y");
    for (QLabel* heading : {Label7, Label8}) {
        heading->setFont(PixelFont(kWindowFont, 11, true));
        SetTextColor(heading, colors::Black);
    }

    BuildMethodBoxes(client);
    BuildGrid(client);
}

QLineEdit* TQuilvexForm::AddParameterEdit(QWidget* client, int left, const char* text, const char* hint)
{
    auto* edit = new QLineEdit(text, client);
    edit->setGeometry(left, 56, 33, 21);
    edit->setToolTip(hint);
    connect(edit, &QLineEdit::textChanged, this, [this] { DrawGraph(); });
    return edit;
}

void TQuilvexForm::BuildParameters(QWidget* client)
{
    PlotPointsEdit = AddParameterEdit(client, 8, "512", "Number of points to calculate & plot. More is slower.");
    PlotPointsEdit->setValidator(new TypingLimit(4, PlotPointsEdit));
    PlotPointsUpDown = new UpDown(PlotPointsEdit, 5, 2000, 10, 512, client);
    PlotPointsUpDown->setGeometry(41, 56, 15, 21);

    CoverEdit = AddParameterEdit(client, 72, "80", "Scale graphs to this size. 100% fills screen.");
    CoverUpDown = new UpDown(CoverEdit, 1, 100, 1, 80, client);
    CoverUpDown->setGeometry(105, 56, 15, 21);

    LagrOrdEdit = AddParameterEdit(client, 136, "3", "The order of the lagrange graph");
    LagrOrdUpDown = new UpDown(LagrOrdEdit, 2, 100, 1, 3, client);
    LagrOrdUpDown->setGeometry(169, 56, 15, 21);

    RegrOrdEdit = AddParameterEdit(client, 200, "3", "The order of the regression graph. 1 is linear regression");
    RegrOrdUpDown = new UpDown(RegrOrdEdit, 1, 100, 1, 3, client);
    RegrOrdUpDown->setGeometry(233, 56, 15, 21);

    Label2 = AddClickLabel(client, 8, 40, "Plot Points", PlotPointsEdit);
    Label1 = AddClickLabel(client, 72, 40, "% Cover", CoverEdit);
    Label4 = AddClickLabel(client, 136, 40, "Lagr. Order", LagrOrdEdit);
    Label5 = AddClickLabel(client, 200, 41, "Regr. Order", RegrOrdEdit);
    SetTextColor(Label4, colors::Green);
    SetTextColor(Label5, colors::Red);
    for (ClickLabel* label : {Label2, Label1, Label4, Label5})
        connect(label, &ClickLabel::clicked, this, [this, label] { LabelClick(label); });
}

QCheckBox* TQuilvexForm::AddMethodBox(QWidget* client, int top, const char* caption, Color color, const char* hint)
{
    auto* box = new QCheckBox(caption, client);
    box->setGeometry(8, top, 177, 17);
    box->setFont(PixelFont(kWindowFont, 9));
    box->setToolTip(hint);
    SetTextColor(box, color);
    // toggled fires for changes made by the program too, as a click would.
    connect(box, &QCheckBox::toggled, this, [this] { DrawGraph(); });
    return box;
}

void TQuilvexForm::BuildMethodBoxes(QWidget* client)
{
    SplineCheckBox = AddMethodBox(client, 96, "Cubic Spline", colors::Black, "Exact fit, no extrapolation");
    LagrCheckBox = AddMethodBox(client, 112, "\"n-1\" Order Lagrange Polynomial", colors::Yellow,
                                "Exact fit polynomial through all points");
    LagrOCheckBox = AddMethodBox(client, 128, "User Order Lagrange Polynomial", colors::Green,
                                 "Exact fit polynomial through \"n\" closest points, may be discontinuous");
    RegrCheckBox = AddMethodBox(client, 144, "User Order Regression", colors::Red,
                                "Least squares polynomial through all points, not always exact fit");
    ExpCheckBox = AddMethodBox(client, 160, "Exponential: y=ae^bx", colors::Purple,
                               "Least squares approximation using exponential formula");
    LogCheckBox = AddMethodBox(client, 176, "Logarithmic: y=a + b ln x", colors::Gray,
                               "Least squares approximation using logarithmic formula");
    PowerCheckBox = AddMethodBox(client, 192, "Power:  y=ax^b", colors::Blue,
                                 "Least squares approximation using power formula");
    PowerCheckBox->setFont(PixelFont(kWindowFont, 11));

    GraphEnableCheckBox = new QCheckBox("Graphing Enabled?", client);
    GraphEnableCheckBox->setGeometry(8, 216, 113, 17);
    GraphEnableCheckBox->setChecked(true);
    GraphEnableCheckBox->setToolTip("Turn off to speed up parameter changes");
    connect(GraphEnableCheckBox, &QCheckBox::toggled, this, [this] { DrawGraph(); });
}

void TQuilvexForm::BuildGrid(QWidget* client)
{
    DataStringGrid = new TextGrid(kInitialRows, client);
    DataStringGrid->setGeometry(224, 96, 153, 129);
    DataStringGrid->setToolTip("The current set of X,Y values. Use F2 to edit");
    connect(&Grid(), &GridModel::cellEdited, this, [this] { DataStringGridSetEditText(); });
    connect(DataStringGrid, &TextGrid::editFinished, this, [this] { RecordTableStep("cell edit"); });
    connect(DataStringGrid, &TextGrid::blockPasted, this, [this] {
        state_.DataModified = true;
        DrawGraph();
        RecordTableStep("paste");
    });
    connect(DataStringGrid, &TextGrid::blockCleared, this, [this] {
        state_.DataModified = true;
        RecordTableStep("clear");
    });

    AddRowButton = new QPushButton("Add Row", client);
    AddRowButton->setGeometry(224, 232, 57, 17);
    AddRowButton->setToolTip("Adds an extra row. Type in the X and Y values");
    connect(AddRowButton, &QPushButton::clicked, this, [this] { AddRowButtonClick(); });

    DeleteRowButton = new QPushButton("Delete Row", client);
    DeleteRowButton->setGeometry(296, 232, 75, 17);
    DeleteRowButton->setToolTip("Deletes the last X, Y value. CAUTION!");
    connect(DeleteRowButton, &QPushButton::clicked, this, [this] { DeleteRowButtonClick(); });
}

void TQuilvexForm::BuildMenu()
{
    QMenu* MenuFile = menuBar()->addMenu("&File");
    MenuOpen = MenuFile->addAction("&Open", this, [this] { MenuOpenClick(); });
    Saveas1 = MenuFile->addAction("&Save as", this, [this] { Saveas1Click(); });
    ExportGraph = MenuFile->addAction("&Export graph…", this, [this] { ExportGraphClick(); });
    CopyGraph = MenuFile->addAction("&Copy graph", this, [this] { CopyGraphClick(); });
    MenuFile->addSeparator();
    MenuExit = MenuFile->addAction("E&xit", this, [this] { MenuExitClick(); });
    Status1 = menuBar()->addAction("&Status", this, [this] { Status1Click(); });
    Extrapolate1 = menuBar()->addAction("Extrapolate", this, [this] { Extrapolate1Click(); });
    QMenu* helpMenu = menuBar()->addMenu("&Help");
    MenuHelp = helpMenu->menuAction();
    About1 = helpMenu->addAction("&About Quilvex", this, [this] { About1Click(); });
    Help1 = helpMenu->addAction("&Help", this, [this] { Help1Click(); });
    AddShortcuts();
}

// The desktop's own keys for these actions, in the window that holds the menu.
void TQuilvexForm::AddShortcuts()
{
    const std::pair<QAction*, QKeySequence::StandardKey> keys[] = {
        {MenuOpen, QKeySequence::Open},
        {Saveas1, QKeySequence::Save},
        {MenuExit, QKeySequence::Quit},
        {Help1, QKeySequence::HelpContents}};
    for (const auto& [action, key] : keys)
        action->setShortcuts(key);
    auto* details = new QAction(this);
    details->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    addAction(details);
    connect(details, &QAction::triggered, this, &TQuilvexForm::FitDetailsRequested);
}

void TQuilvexForm::SetTabOrder()
{
    QWidget* order[] = {PlotPointsUpDown, PlotPointsEdit, CoverEdit,      CoverUpDown,   LagrOrdEdit,
                        LagrOrdUpDown,    RegrOrdEdit,    RegrOrdUpDown,  SplineCheckBox, LagrCheckBox,
                        LagrOCheckBox,    RegrCheckBox,   ExpCheckBox,    LogCheckBox,   PowerCheckBox,
                        DataStringGrid,   AddRowButton,   DeleteRowButton, GraphEnableCheckBox};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TQuilvexForm::DrawGraph()
{
    if (plotForm_ == nullptr || !GraphEnableCheckBox->isChecked())
        return;
    plotForm_->Draw();
}

void TQuilvexForm::AddRowButtonClick()
{
    Grid().SetRowCount(Grid().RowCount() + 1);
    RecordTableStep("add row");
}

void TQuilvexForm::DeleteRowButtonClick()
{
    const int rows = Grid().RowCount();
    if (rows <= 1)
        return;
    Grid().SetCell(0, rows - 1, "");
    Grid().SetCell(1, rows - 1, "");
    Grid().SetRowCount(rows - 1);
    RecordTableStep("delete row");
}

void TQuilvexForm::DataStringGridSetEditText()
{
    state_.DataModified = true;
    history_->NoteTyping();
}

void TQuilvexForm::MenuExitClick() { close(); }

void TQuilvexForm::closeEvent(QCloseEvent* event)
{
    if (!MayClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    QCoreApplication::exit(0);
}

void TQuilvexForm::Status1Click()
{
    RunHandler(dialogs_, [this] { statusForm_->ShowStatusReport(); });
}

void TQuilvexForm::Extrapolate1Click()
{
    statusForm_->ShowAndRaise();
    statusForm_->Panel1->setText("Data interpolate / extrapolate");
    statusForm_->StatusRichEdit->ClearLines();
}

void TQuilvexForm::About1Click() { dialogs_.ShowInformation(kAboutTitle, AboutText(qVersion())); }

void TQuilvexForm::Help1Click() { dialogs_.ShowPage(kHelpTitle, HelpPageHtml()); }

void TQuilvexForm::LabelClick(ClickLabel* label)
{
    if (label->FocusControl)
        label->FocusControl->setFocus(Qt::MouseFocusReason);
}

}  // namespace quilvex
