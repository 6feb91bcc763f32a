#pragma once
// The graph window: the paint box that every replot draws into, the four edge
// labels, the message label and the "Control" button; dragging points with the
// mouse. The window refuses to close.
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/document.h"
#include "ui/dialogs.h"
#include "ui/graphpicture.h"
#include "ui/paintbox.h"

namespace quilvex {

class TPlotForm : public QWidget {
    Q_OBJECT
public:
    TPlotForm(QuilvexDocument& document, Dialogs& dialogs);

    // One complete replot from the current state of the windows.
    void Draw();
    // What the window system asks for when the graph is shown, uncovered or
    // resized: a replot after the current event, several requests merged into
    // one, and none when the picture already shows the current windows.
    void RequestReplot();
    void ControlButtonClick();
    // What "Export graph…" and "Copy graph" show: the picture of the last replot
    // with the labels around it.
    GraphPicture Picture() const;
    void PlotPaintBoxMouseDown(int X, int Y);
    void PlotPaintBoxMouseMove(int X, int Y);
    void PlotPaintBoxMouseUp(int X, int Y);
    // The right button on a point: the menu that leaves it out of the fits or takes it back.
    void PlotPaintBoxRightClick(int X, int Y);
    // What the menu's entry does for the point at (X, Y): false when no point is
    // there or the change was refused.
    bool ToggleExclusionAt(int X, int Y);
    // Shows the point menu and returns the entry chosen: exec'd at the cursor;
    // tests answer it without opening a window.
    std::function<QAction*(QMenu&)> ShowPointMenu;

signals:
    // "Control": the main window is asked to the front.
    void controlClicked();
    // At the end of every replot, a drag's included.
    void replotted();

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPanels();
    // Each control is named after its field, so that tests find it.
    void NameControls();
    void BuildLabels();
    void DrawSteps();
    void ReadPlotSettings();
    void SetMsgCaption(const std::string& text);

public:
    // Puts an error that ended a replot or a report into MsgLabel: appended to a
    // caption shorter than 25 characters, else in its place.
    void ShowErrorInMsgLabel(const std::string& prefix, const std::string& text);

private:
    void ConnectMouse();

    // Everything a picture is drawn from: the grid, the parameters, the boxes,
    // the X of the status window, the bands, the selection, the weighting and
    // its curves, the constraints and the size of the box.
    struct PictureInputs {
        std::uint64_t gridGeneration = 0;
        QString parameters;
        unsigned methods = 0;
        QString markX;
        bool confidenceBands = false;
        bool predictionBands = false;
        int selected = 0;
        Weighting weighting = Weighting::None;
        bool weightedCurves = false;
        MethodConstraints constraints;
        QSize size;
        bool operator==(const PictureInputs&) const = default;
    };
    PictureInputs CurrentInputs(QSize size) const;
    unsigned CheckedMethods() const;
    void ReplotIfStale();
    void NotePictureDrawn();

    QWidget* PlotPanel = nullptr;
    QWidget* LeftPanel = nullptr;
    QLabel* TopYLabel = nullptr;
    QLabel* BottomYLabel = nullptr;
    QPushButton* ControlButton = nullptr;
    QWidget* BottomPanel = nullptr;
    QLabel* LeftXLabel = nullptr;
    QLabel* RightXLabel = nullptr;
    QLabel* MsgLabel = nullptr;
    PaintBox* PlotPaintBox = nullptr;

    QuilvexDocument& document_;
    QuilvexState& state_;
    Dialogs& dialogs_;
    std::optional<PictureInputs> picture_;
    // The method boxes as this replot read them: ticking boxes after a new
    // file was scaled changes them, but not the picture drawn.
    std::optional<unsigned> methodsRead_;
    bool replotQueued_ = false;
    bool requestMissed_ = false;
    bool watchingExposure_ = false;
    bool replotWasSlow_ = false;
    bool pointMoved_ = false;  // since the mouse went down: only then is the drag a step
    // The set-aside point being dragged (its place in state_.Excluded), if the pick found one.
    std::optional<int> draggedAside_;
};

}  // namespace quilvex
