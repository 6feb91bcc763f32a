#include "mainwin/QuilvexD.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenuBar>

#include "mainwin/helptext.h"
#include "ui/handler.h"
#include "ui/look.h"
#include "ui/typinglimit.h"

namespace quilvex {

namespace {

constexpr int kFrameWidth = 393, kFrameHeight = 301;
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

// The method boxes under their control names, in the order of the method table.
QCheckBox* TQuilvexForm::* const TQuilvexForm::kMethodBoxes[kMethodCount] = {
    &TQuilvexForm::SplineCheckBox, &TQuilvexForm::LagrCheckBox, &TQuilvexForm::LagrOCheckBox,
    &TQuilvexForm::RegrCheckBox,   &TQuilvexForm::ExpCheckBox,  &TQuilvexForm::LogCheckBox,
    &TQuilvexForm::PowerCheckBox};

// The parameter edits and their spinners under their control names, in the order of Parameter.
QLineEdit* TQuilvexForm::* const TQuilvexForm::kParameterEdits[kParameterCount] = {
    &TQuilvexForm::PlotPointsEdit, &TQuilvexForm::CoverEdit, &TQuilvexForm::LagrOrdEdit, &TQuilvexForm::RegrOrdEdit};
UpDown* TQuilvexForm::* const TQuilvexForm::kParameterUpDowns[kParameterCount] = {
    &TQuilvexForm::PlotPointsUpDown, &TQuilvexForm::CoverUpDown, &TQuilvexForm::LagrOrdUpDown,
    &TQuilvexForm::RegrOrdUpDown};

QLineEdit* TQuilvexForm::ParameterEdit(Parameter p) const { return this->*kParameterEdits[static_cast<int>(p)]; }

UpDown* TQuilvexForm::ParameterUpDown(Parameter p) const { return this->*kParameterUpDowns[static_cast<int>(p)]; }

QCheckBox* TQuilvexForm::MethodBox(Method m) const { return this->*kMethodBoxes[static_cast<int>(m)]; }

TQuilvexForm::TQuilvexForm(QuilvexDocument& document, Dialogs& dialogs)
    : document_(document), state_(document.State()), dialogs_(dialogs)
{
    setWindowTitle(kMainCaption);
    setFont(PixelFont(kWindowFont, 11));
    move(6, 4);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    BuildMenu();
    BuildControls(client);
    FollowDocument();
    BuildHistory();
    SetTabOrder();
    NameControls();
    resize(kFrameWidth - 8, kFrameHeight - 27);
}

// The grid closes its cell editor as it goes: nothing it says then may reach
// this window, which is already half destroyed.
TQuilvexForm::~TQuilvexForm()
{
    DataStringGrid->disconnect(this);
    Grid().disconnect(this);
}

void TQuilvexForm::NameControls()
{
    const std::pair<QObject*, const char*> controls[] = {
        {TopPanel, "TopPanel"}, {Label2, "Label2"}, {Label1, "Label1"}, {Label4, "Label4"}, {Label5, "Label5"},
        {PlotPointsEdit, "PlotPointsEdit"}, {PlotPointsUpDown, "PlotPointsUpDown"}, {CoverEdit, "CoverEdit"},
        {CoverUpDown, "CoverUpDown"}, {LagrOrdEdit, "LagrOrdEdit"}, {LagrOrdUpDown, "LagrOrdUpDown"},
        {RegrOrdEdit, "RegrOrdEdit"}, {RegrOrdUpDown, "RegrOrdUpDown"}, {Label6, "Label6"},
        {FileNameLabel, "FileNameLabel"}, {Label7, "Label7"}, {Label8, "Label8"}, {SigmaLabel, "SigmaLabel"}, {SplineCheckBox, "SplineCheckBox"},
        {LagrCheckBox, "LagrCheckBox"}, {LagrOCheckBox, "LagrOCheckBox"}, {RegrCheckBox, "RegrCheckBox"},
        {ExpCheckBox, "ExpCheckBox"}, {LogCheckBox, "LogCheckBox"}, {PowerCheckBox, "PowerCheckBox"},
        {GraphEnableCheckBox, "GraphEnableCheckBox"}, {DataStringGrid, "DataStringGrid"},
        {AddRowButton, "AddRowButton"}, {DeleteRowButton, "DeleteRowButton"}, {MenuOpen, "MenuOpen"},
        {Saveas1, "Saveas1"}, {ExportGraph, "ExportGraph"}, {CopyGraph, "CopyGraph"}, {MenuExit, "MenuExit"},
        {Status1, "Status1"}, {Extrapolate1, "Extrapolate1"}, {MenuHelp, "MenuHelp"}, {UndoAction, "UndoAction"},
        {RedoAction, "RedoAction"}, {About1, "About1"}, {Help1, "Help1"}};
    for (const auto& [control, name] : controls)
        control->setObjectName(name);
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
    SigmaLabel = AddLabel(client, 0, 80, "");
    SigmaLabel->setText(QStringLiteral("\u03c3Y"));
    for (QLabel* heading : {Label7, Label8, SigmaLabel}) {
        heading->setFont(PixelFont(kWindowFont, 11, true));
        SetTextColor(heading, colors::Black);
    }
    PlaceHeadings(document_.Grid().SigmaShown());
    connect(&document_.Grid(), &GridModel::sigmaShownChanged, this, [this](bool shown) { PlaceHeadings(shown); });

    BuildMethodBoxes(client);
    BuildGrid(client);
}

void TQuilvexForm::PlaceHeadings(bool sigmaShown)
{
    // Over the middle of each column: the designed places for two columns of
    // 64 pixels, three of 44 while sigma shows.
    Label7->move(sigmaShown ? 242 : 256, 80);
    Label8->move(sigmaShown ? 286 : 320, 80);
    SigmaLabel->move(326, 80);
    SigmaLabel->adjustSize();
    SigmaLabel->setVisible(sigmaShown);
}

QLineEdit* TQuilvexForm::AddParameterEdit(QWidget* client, int left, Parameter p, const char* text, const char* hint)
{
    auto* edit = new QLineEdit(text, client);
    edit->setGeometry(left, 56, 33, 21);
    edit->setToolTip(hint);
    document_.SetParameterText(p, edit->text());
    connect(edit, &QLineEdit::textChanged, this, [this, p](const QString& now) {
        document_.SetParameterText(p, now);
        DrawGraph();
    });
    return edit;
}

// The document's changes that the window shows: a corrected parameter, a box
// ticked by the replot, the graphing switch, the file's name.
void TQuilvexForm::FollowDocument()
{
    connect(&document_, &QuilvexDocument::parameterWrittenBack, this,
            [this](Parameter p, const QString& text, int value) {
                ParameterEdit(p)->setText(text);
                ParameterUpDown(p)->SetPosition(value);
            });
    connect(&document_, &QuilvexDocument::methodCheckedChanged, this,
            [this](Method m, bool checked) { MethodBox(m)->setChecked(checked); });
    connect(&document_, &QuilvexDocument::graphingEnabledChanged, GraphEnableCheckBox, &QCheckBox::setChecked);
    connect(&document_, &QuilvexDocument::fileNameChanged, this, [this](const QString& name) {
        FileNameLabel->setText(name);
        FileNameLabel->adjustSize();
    });
    connect(&document_, &QuilvexDocument::tableRestored, this, [this] { DrawGraph(); });
}

void TQuilvexForm::BuildParameters(QWidget* client)
{
    PlotPointsEdit = AddParameterEdit(client, 8, Parameter::PlotPoints, "512", "Number of points to calculate & plot. More is slower.");
    PlotPointsEdit->setValidator(new TypingLimit(4, PlotPointsEdit));
    PlotPointsUpDown = new UpDown(PlotPointsEdit, 5, 2000, 10, 512, client);
    PlotPointsUpDown->setGeometry(41, 56, 15, 21);

    CoverEdit = AddParameterEdit(client, 72, Parameter::Cover, "80", "Scale graphs to this size. 100% fills screen.");
    CoverUpDown = new UpDown(CoverEdit, 1, 100, 1, 80, client);
    CoverUpDown->setGeometry(105, 56, 15, 21);

    LagrOrdEdit = AddParameterEdit(client, 136, Parameter::LagrOrd, "3", "The order of the lagrange graph");
    LagrOrdUpDown = new UpDown(LagrOrdEdit, 2, 100, 1, 3, client);
    LagrOrdUpDown->setGeometry(169, 56, 15, 21);

    RegrOrdEdit = AddParameterEdit(client, 200, Parameter::RegrOrd, "3", "The order of the regression graph. 1 is linear regression");
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

QCheckBox* TQuilvexForm::AddMethodBox(QWidget* client, int top, const MethodRow& row)
{
    auto* box = new QCheckBox(row.caption, client);
    box->setGeometry(8, top, 177, 17);
    box->setFont(PixelFont(kWindowFont, row.method == Method::Power ? 11 : 9));
    box->setToolTip(row.hint);
    SetTextColor(box, row.color);
    // toggled fires for changes made by the program too, as a click would.
    connect(box, &QCheckBox::toggled, this, [this, m = row.method](bool checked) {
        document_.SetMethodChecked(m, checked);
        DrawGraph();
    });
    return box;
}

void TQuilvexForm::BuildMethodBoxes(QWidget* client)
{
    int top = 96;
    for (const MethodRow& row : kMethods) {
        this->*kMethodBoxes[static_cast<int>(row.method)] = AddMethodBox(client, top, row);
        top += 16;
    }

    GraphEnableCheckBox = new QCheckBox("Graphing Enabled?", client);
    GraphEnableCheckBox->setGeometry(8, 216, 113, 17);
    GraphEnableCheckBox->setChecked(true);
    GraphEnableCheckBox->setToolTip("Turn off to speed up parameter changes");
    connect(GraphEnableCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        document_.SetGraphingEnabled(on);
        DrawGraph();
    });
}

void TQuilvexForm::BuildGrid(QWidget* client)
{
    DataStringGrid = new TextGrid(document_.Grid(), client);
    DataStringGrid->setGeometry(224, 96, 153, 129);
    DataStringGrid->setToolTip("The current set of X,Y values. Use F2 to edit");
    connect(&Grid(), &GridModel::cellEdited, this, [this] { DataStringGridSetEditText(); });
    connect(DataStringGrid, &TextGrid::editFinished, this, [this] { RecordTableStep("cell edit"); });
    connect(DataStringGrid, &TextGrid::blockPasted, this, [this] {
        state_.DataModified = true;
        DrawGraph();
        RecordTableStep("paste");
    });
    connect(DataStringGrid, &TextGrid::exclusionAsked, this,
            [this](const std::vector<int>& rows, bool excluded) { ExcludeRows(rows, excluded); });
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
    connect(details, &QAction::triggered, this, &TQuilvexForm::fitDetailsAsked);
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
    document_.DrawGraph();
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
    Grid().SetCell(2, rows - 1, "");
    Grid().SetExcluded(rows - 1, false);
    Grid().SetRowCount(rows - 1);
    RecordTableStep("delete row");
}

void TQuilvexForm::DataStringGridSetEditText()
{
    state_.DataModified = true;
    document_.History().NoteTyping();
}

void TQuilvexForm::MenuExitClick() { close(); }

void TQuilvexForm::closeEvent(QCloseEvent* event)
{
    if (!MayLeaveTable()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    QCoreApplication::exit(0);
}

void TQuilvexForm::Status1Click()
{
    emit statusAsked();
}

void TQuilvexForm::Extrapolate1Click()
{
    emit interpolationAsked();
}

void TQuilvexForm::About1Click() { dialogs_.ShowInformation(kAboutTitle, AboutText(qVersion())); }

void TQuilvexForm::Help1Click() { dialogs_.ShowPage(kHelpTitle, HelpPageHtml()); }

void TQuilvexForm::LabelClick(ClickLabel* label)
{
    if (label->FocusControl)
        label->FocusControl->setFocus(Qt::MouseFocusReason);
}

}  // namespace quilvex
