#pragma once
// The status window: the status report and the interpolation / extrapolation
// report. Closing it only hides it.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "data/state.h"
#include "ui/dialogs.h"
#include "ui/richtext.h"

namespace quilvex {

class TPlotForm;
class TQuilvexForm;

class TStatusForm : public QWidget {
    Q_OBJECT
public:
    TStatusForm(QuilvexState& state, Dialogs& dialogs, TQuilvexForm& main);

    void SetPlotForm(TPlotForm* plot) { plotForm_ = plot; }

    void ShowAndRaise();
    void ShowStatusReport();
    void ExtrapButtonClick();
    void ClearButtonClick();
    void FitQualityButtonClick();
    void CopyResultsButtonClick();
    void SaveResultsButtonClick();

    void AddStatusLine(const std::string& text) { StatusRichEdit->AppendLine(text); }
    void SetHeadingStyle(Color color);
    void SetPlainStyle();

    QLabel* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* XvalueEdit = nullptr;
    QPushButton* ExtrapButton = nullptr;
    QPushButton* ClearButton = nullptr;
    QWidget* ResultsPanel = nullptr;
    QPushButton* FitQualityButton = nullptr;
    QPushButton* FitDetailsButton = nullptr;
    QPushButton* CopyResultsButton = nullptr;
    QPushButton* SaveResultsButton = nullptr;
    RichTextArea* StatusRichEdit = nullptr;

signals:
    void FitDetailsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildPanels();
    void BuildResultsPanel();
    // Replots through the graphing switch; false when graphing is off.
    bool ReplotForResults();
    std::string ResultsOfLastReplot();

    QuilvexState& state_;
    Dialogs& dialogs_;
    TQuilvexForm& main_;
    TPlotForm* plotForm_ = nullptr;
};

}  // namespace quilvex
