#include "graph/QuilvexG.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "data/numtext.h"
#include "data/pointimport.h"
#include "graph/constrainedfits.h"
#include "graph/core/curves.h"
#include "graph/core/scaling.h"
#include "graph/core/scene.h"
#include "graph/core/setaside.h"
#include "graph/weightedfits.h"
#include "stats/bands.h"
#include "stats/constrainedbands.h"
#include "ui/busypointer.h"
#include "ui/look.h"

namespace quilvex {

namespace {

constexpr int kMsgLabelLeft = 103;
constexpr int kShortCaption = 25;
constexpr qint64 kSlowReplotMs = 100;

QString ToQString(const std::string& text) { return QString::fromLatin1(text); }
std::string ToText(const QString& text) { return text.toLatin1().toStdString(); }

QLabel* AddEdgeLabel(QWidget* parent, const char* caption, int width, int height)
{
    auto* label = new QLabel(caption, parent);
    label->setFont(PixelFont("Arial", 9));
    SetTextColor(label, colors::Black);
    label->setFixedSize(width, height);
    return label;
}

// Sets the grid's row count where a replot asks for it, but never below a row
// that still holds text: only trailing empty rows go.
void KeepRows(GridModel& grid, int rows) { grid.SetRowCount(std::max(rows, RowsHoldingText(grid))); }

// Reads a parameter text as a whole number (the fallback when it is none), first
// raised to lo, then lowered to hi. A corrected value is written back: the
// text first, then the spinner; a value in range leaves the text as typed.
int ReadParameter(QuilvexDocument& document, Parameter p, int fallback, int lo, int hi)
{
    int value = TextToInt(ToText(document.ParameterText(p)), fallback);
    if (value < lo) {
        value = lo;
        document.WriteBackParameter(p, value);
    }
    if (value > hi) {
        value = hi;
        document.WriteBackParameter(p, value);
    }
    return value;
}

}  // namespace

TPlotForm::TPlotForm(QuilvexDocument& document, Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window), document_(document), state_(document.State()), dialogs_(dialogs)
{
    setWindowTitle("Graph");
    setFont(PixelFont("MS Sans Serif", 11));
    move(28, 26);
    resize(588, 416);
    BuildPanels();
    BuildLabels();
    NameControls();
    ConnectMouse();
    PlotPaintBox->onResized = [this] { RequestReplot(); };
    ControlButton->setFocus();
}

void TPlotForm::BuildPanels()
{
    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    auto* plotFrame = new QFrame(this);
    plotFrame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    plotFrame->setLineWidth(1);
    PlotPanel = plotFrame;
    windowLayout->addWidget(PlotPanel);

    auto* panelLayout = new QVBoxLayout(PlotPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);  // the panel's own 1-pixel bevel surrounds them
    panelLayout->setSpacing(0);
    auto* upper = new QHBoxLayout;
    upper->setSpacing(0);
    LeftPanel = new QWidget(PlotPanel);
    LeftPanel->setFixedWidth(48);
    PlotPaintBox = new PaintBox(PlotPanel);
    PlotPaintBox->setMinimumSize(1, 1);
    upper->addWidget(LeftPanel);
    upper->addWidget(PlotPaintBox, 1);
    panelLayout->addLayout(upper, 1);
    BottomPanel = new QWidget(PlotPanel);
    BottomPanel->setFixedHeight(12);
    BottomPanel->installEventFilter(this);
    panelLayout->addWidget(BottomPanel);
}

void TPlotForm::BuildLabels()
{
    auto* leftLayout = new QVBoxLayout(LeftPanel);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    TopYLabel = AddEdgeLabel(LeftPanel, "TY", 46, 13);
    BottomYLabel = AddEdgeLabel(LeftPanel, "BY", 46, 13);
    ControlButton = new QPushButton("Control", LeftPanel);
    ControlButton->setFixedSize(48, 24);
    connect(ControlButton, &QPushButton::clicked, this, [this] { ControlButtonClick(); });
    leftLayout->addWidget(TopYLabel);
    leftLayout->addSpacing(38 - 13);
    leftLayout->addWidget(ControlButton);
    leftLayout->addStretch(1);
    leftLayout->addWidget(BottomYLabel);

    LeftXLabel = AddEdgeLabel(BottomPanel, "LX", 56, 9);
    LeftXLabel->move(49, 1);
    RightXLabel = AddEdgeLabel(BottomPanel, "RX", 58, 10);
    RightXLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    MsgLabel = new QLabel(BottomPanel);
    MsgLabel->setTextFormat(Qt::PlainText);  // messages such as " * x<=0 for log" are no markup
    MsgLabel->setFont(PixelFont("Arial", 9));
    SetTextColor(MsgLabel, colors::Black);
    SetBackgroundColor(MsgLabel, colors::Lime);
    MsgLabel->move(kMsgLabelLeft, 0);
    MsgLabel->setFixedHeight(12);
    MsgLabel->resize(0, 12);
}

void TPlotForm::NameControls()
{
    const std::pair<QWidget*, const char*> controls[] = {
        {PlotPanel, "PlotPanel"},     {LeftPanel, "LeftPanel"},       {TopYLabel, "TopYLabel"},
        {BottomYLabel, "BottomYLabel"}, {ControlButton, "ControlButton"}, {BottomPanel, "BottomPanel"},
        {LeftXLabel, "LeftXLabel"},   {RightXLabel, "RightXLabel"},   {MsgLabel, "MsgLabel"},
        {PlotPaintBox, "PlotPaintBox"}};
    for (const auto& [control, name] : controls)
        control->setObjectName(name);
}

bool TPlotForm::eventFilter(QObject* watched, QEvent* event)
{
    // An uncovered window is shown from Qt's backing store without a paint
    // event; its exposure is the only sign that the window system showed it.
    if (watched == static_cast<QObject*>(windowHandle()) && event->type() == QEvent::Expose && windowHandle()->isExposed())
        RequestReplot();
    if (watched == BottomPanel && event->type() == QEvent::Resize)
        RightXLabel->move(BottomPanel->width() - RightXLabel->width(), 1);
    return QWidget::eventFilter(watched, event);
}

void TPlotForm::closeEvent(QCloseEvent* event) { event->ignore(); }

GraphPicture TPlotForm::Picture() const
{
    const QPoint origin = PlotPanel->contentsRect().topLeft();
    const auto inPicture = [&](const QWidget* widget) { return widget->mapTo(PlotPanel, QPoint(0, 0)) - origin; };
    GraphPicture picture;
    const ImageCanvas& canvas = PlotPaintBox->Canvas();
    picture.canvas = &canvas;
    picture.size = PlotPanel->contentsRect().size();
    picture.box = QRect(inPicture(PlotPaintBox), QSize(canvas.Width(), canvas.Height()));
    picture.panel = PlotPanel->palette().color(QPalette::Window);
    picture.deviceRatio = devicePixelRatioF();
    for (const QLabel* label : {TopYLabel, BottomYLabel, LeftXLabel, RightXLabel, MsgLabel})
        picture.labels.push_back(PictureLabel{QRect(inPicture(label), label->size()), label->text(), label->font(),
                                              label->palette().color(QPalette::WindowText),
                                              label->autoFillBackground(),
                                              label->palette().color(QPalette::Window),
                                              static_cast<int>(label->alignment())});
    return picture;
}

void TPlotForm::ControlButtonClick() { emit controlClicked(); }

void TPlotForm::SetMsgCaption(const std::string& text)
{
    MsgLabel->setText(ToQString(text));
    // Sized to its text: an empty caption shows no lime patch.
    MsgLabel->resize(text.empty() ? 0 : MsgLabel->sizeHint().width(), 12);
}

void TPlotForm::ShowErrorInMsgLabel(const std::string& prefix, const std::string& text)
{
    const std::string e = prefix + "\"" + text + "\", suggest you review graph values! ****";
    const std::string caption = ToText(MsgLabel->text());
    SetMsgCaption(caption.size() < kShortCaption ? caption + e : e);
}

void TPlotForm::Draw()
{
    if (++state_.DrawDepth != 1) {
        --state_.DrawDepth;
        return;
    }
    ImageCanvas& canvas = PlotPaintBox->PreparedCanvas();
    methodsRead_.reset();
    // An error must not leave a tracer's colour or the dashed axis pen behind.
    const Color pen = canvas.PenColor();
    const PenStyle penStyle = canvas.GetPenStyle();
    const BrushStyle brushStyle = canvas.GetBrushStyle();
    try {
        ClearFpu();
        DrawSteps();
    } catch (const std::exception& e) {
        canvas.SetPenColor(pen);
        canvas.SetPenStyle(penStyle);
        canvas.SetBrushStyle(brushStyle);
        // A replot that ended inside the import has not yet kept the selection within the table.
        if (state_.SelectedPoint > state_.n)
            state_.SelectedPoint = 1;
        ShowErrorInMsgLabel(" **** Exception: ", e.what());
    }
    ClearFpu();
    PlotPaintBox->ShowImage();
    --state_.DrawDepth;
    NotePictureDrawn();
    emit replotted();
}

void TPlotForm::DrawSteps()
{
    Canvas& canvas = PlotPaintBox->Canvas();
    Plotter plot(state_, canvas);
    const int W = canvas.Width(), H = canvas.Height();
    canvas.SetBrushColor(colors::Background);
    canvas.FillRect(0, 0, W, H);
    state_.LastPixel = Pixel{};
    state_.MessageBuffer.Clear();

    GridModel& grid = document_.Grid();
    auto warn = [this](const std::string& text) { dialogs_.MessageBox(BoxType::Warning, text, BoxButtons::Ok); };
    ReadPointTable(state_, grid, warn);
    if (state_.n == 0)
        return;
    if (state_.n < 3) {
        warn("Too few X,Y values, must be at least 3!");
        state_.n = 3;
        KeepRows(grid, 3);
    }
    // No warning box opens from here on; a replot that took long last time
    // shows the busy pointer while it runs.
    BusyPointer busy(replotWasSlow_);
    QElapsedTimer clock;
    clock.start();
    ReadPlotSettings();
    if (ScaleGraph(state_, grid, W, H) == ScaleResult::ScaledNewFile) {
        document_.SetMethodChecked(Method::Spline, true);
        document_.SetMethodChecked(Method::Regression, true);
    }
    SetExcludedAside(state_, grid);
    PrepareFits(state_);
    DrawAxes(plot);
    DrawCurves(plot);
    const Weighting weighting = document_.GetWeighting();
    const BandChoice bands = document_.Bands();
    const bool weightedCurves = document_.WeightedCurvesShown();
    const std::vector<MethodFigures> weightedFits =
        weightedCurves || bands.confidence ? WeightedFitsOf(state_, weighting) : std::vector<MethodFigures>{};
    if (weightedCurves)
        DrawWeightedCurves(plot, weightedFits);
    const MethodConstraints& constraints = document_.GetConstraints();
    const std::vector<MethodFigures> constrainedFits = ConstrainedFitsOf(state_, constraints, weighting);
    DrawConstrainedCurves(plot, constrainedFits);
    if (bands.confidence) {
        DrawBandLines(plot, weighting == Weighting::None
                                ? BandLinesOf(state_, BandArguments(plot), bands.prediction)
                                : BandLinesOfWeighted(state_, weightedFits, weighting, BandArguments(plot),
                                                      bands.prediction));
        DrawBandLines(plot, BandLinesOfConstrained(state_, constrainedFits, constraints, weighting,
                                                   BandArguments(plot), bands.prediction));
    }
    DrawErrorBars(plot);
    DrawPoints(plot);
    DrawSetAsidePoints(plot);
    SetMsgCaption(state_.MessageBuffer.Text());
    LeftXLabel->setText(ToQString(FormatGeneral(plot.PixelToX(0), 6)));
    RightXLabel->setText(ToQString(FormatGeneral(plot.PixelToX(W), 6)));
    TopYLabel->setText(ToQString(FormatGeneral(plot.PixelToY(0), 6)));
    BottomYLabel->setText(ToQString(FormatGeneral(plot.PixelToY(H), 6)));
    const FloatText mark = TextToFloat(ToText(document_.MarkText()));
    if (mark.ok())
        MarkCurvesAt(plot, mark.value);
    replotWasSlow_ = clock.elapsed() > kSlowReplotMs;
}

void TPlotForm::ReadPlotSettings()
{
    QuilvexState& s = state_;
    QuilvexDocument& d = document_;
    KeepRows(d.Grid(), s.n);

    s.LagrOrd = ReadParameter(d, Parameter::LagrOrd, 3, 2, s.n - 1);
    s.RegrOrd = ReadParameter(d, Parameter::RegrOrd, 3, 1, 299);
    for (const MethodRow& row : kMethods)
        s.*row.show = d.MethodChecked(row.method);
    methodsRead_ = CheckedMethods();
    s.Cover = ReadParameter(d, Parameter::Cover, 80, 5, 100);
    s.PlotPoints = ReadParameter(d, Parameter::PlotPoints, 512, 5, 10000);
    if (s.SelectedPoint < 1 || s.SelectedPoint > s.n)
        s.SelectedPoint = 1;
}

}  // namespace quilvex
