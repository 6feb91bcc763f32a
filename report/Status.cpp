#include "report/Status.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "ui/look.h"

namespace quilvex {

TStatusForm::TStatusForm(QuilvexDocument& document, Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window), document_(document), state_(document.State()), dialogs_(dialogs)
{
    setWindowTitle("Status");
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    setFont(font);
    move(47, 29);
    BuildPanels();
    NameControls();
    // The row of result buttons comes below the text area's designed height.
    resize(425 - 8, 494 - 27 + ResultsPanel->height());
    XvalueEdit->setFocus();
}

void TStatusForm::BuildPanels()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QLabel(this);
    Panel1->setFixedHeight(32);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFont(PixelFont("Arial", 21, false, true));
    SetTextColor(Panel1, colors::Black);
    layout->addWidget(Panel1);

    Panel2 = new QFrame(this);
    static_cast<QFrame*>(Panel2)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setFixedHeight(43);
    Label1 = new QLabel("Enter X value:", Panel2);
    Label1->move(15, 3);
    XvalueEdit = new QLineEdit(Panel2);
    XvalueEdit->setGeometry(16, 17, 197, 21);
    ExtrapButton = new QPushButton("Interpolate/Extrapolate", Panel2);
    ExtrapButton->setGeometry(216, 16, 117, 25);
    ClearButton = new QPushButton("Clear", Panel2);
    ClearButton->setGeometry(336, 16, 59, 25);
    connect(ExtrapButton, &QPushButton::clicked, this, [this] { ExtrapButtonClick(); });
    // Enter after typing a value asks for the report, as the button beside it does.
    connect(XvalueEdit, &QLineEdit::returnPressed, this, [this] { ExtrapButtonClick(); });
    connect(ClearButton, &QPushButton::clicked, this, [this] { ClearButtonClick(); });
    connect(XvalueEdit, &QLineEdit::textChanged, this, [this](const QString& text) { document_.SetMarkText(text); });
    layout->addWidget(Panel2);

    StatusRichEdit = new RichTextArea(this);
    layout->addWidget(StatusRichEdit, 1);
    BuildResultsPanel();
    layout->addWidget(ResultsPanel);
}

void TStatusForm::NameControls()
{
    const std::pair<QWidget*, const char*> controls[] = {
        {Panel1, "Panel1"},
        {Panel2, "Panel2"},
        {Label1, "Label1"},
        {XvalueEdit, "XvalueEdit"},
        {ExtrapButton, "ExtrapButton"},
        {ClearButton, "ClearButton"},
        {ResultsPanel, "ResultsPanel"},
        {FitQualityButton, "FitQualityButton"},
        {CopyResultsButton, "CopyResultsButton"},
        {SaveResultsButton, "SaveResultsButton"},
        {FitDetailsButton, "FitDetailsButton"},
        {StatusRichEdit, "StatusRichEdit"}};
    for (const auto& [control, name] : controls)
        control->setObjectName(name);
}

void TStatusForm::BuildResultsPanel()
{
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setFixedHeight(31);
    ResultsPanel = panel;
    FitQualityButton = new QPushButton("Fit quality", panel);
    FitQualityButton->setGeometry(16, 3, 81, 25);
    FitQualityButton->setToolTip("Adds how closely each curve meets the data points");
    FitDetailsButton = new QPushButton("Fit details", panel);
    FitDetailsButton->setGeometry(100, 3, 81, 25);
    FitDetailsButton->setToolTip("Opens every method's uncertainties, residuals and bands side by side");
    connect(FitDetailsButton, &QPushButton::clicked, this, &TStatusForm::fitDetailsAsked);
    CopyResultsButton = new QPushButton("Copy results", panel);
    CopyResultsButton->setGeometry(216, 3, 87, 25);
    CopyResultsButton->setToolTip("Copies every coefficient at full precision");
    SaveResultsButton = new QPushButton("Save results…", panel);
    SaveResultsButton->setGeometry(306, 3, 89, 25);
    SaveResultsButton->setToolTip("Saves the same text as a file");
    connect(FitQualityButton, &QPushButton::clicked, this, [this] { FitQualityButtonClick(); });
    connect(CopyResultsButton, &QPushButton::clicked, this, [this] { CopyResultsButtonClick(); });
    connect(SaveResultsButton, &QPushButton::clicked, this, [this] { SaveResultsButtonClick(); });
}

void TStatusForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
}

void TStatusForm::ShowAndRaise()
{
    show();
    raise();
    activateWindow();
}

void TStatusForm::ShowInterpolationPage()
{
    ShowAndRaise();
    Panel1->setText("Data interpolate / extrapolate");
    StatusRichEdit->ClearLines();
}

void TStatusForm::SetHeadingStyle(Color color) { StatusRichEdit->SetStyle(TextStyle{color, true, true, 12}); }

void TStatusForm::SetPlainStyle() { StatusRichEdit->SetStyle(TextStyle{colors::Black, false, false, 8}); }

void TStatusForm::ClearButtonClick()
{
    StatusRichEdit->ClearLines();
    XvalueEdit->setText("");
    document_.Replot();
}

}  // namespace quilvex
