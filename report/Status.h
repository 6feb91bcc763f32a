#pragma once
// The status window: the status report and the interpolation / extrapolation
// report. Closing it only hides it.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "app/document.h"
#include "ui/dialogs.h"
#include "ui/richtext.h"

namespace quilvex {

class TStatusForm : public QWidget {
    Q_OBJECT
public:
    TStatusForm(QuilvexDocument& document, Dialogs& dialogs);

    void ShowAndRaise();
    void ShowStatusReport();
    // The main window's "Extrapolate": the empty interpolation page.
    void ShowInterpolationPage();
    // Appends the interpolation / extrapolation block for the X typed here.
    void ExtrapolateReport();
    void ExtrapButtonClick();
    void ClearButtonClick();
    void FitQualityButtonClick();
    void CopyResultsButtonClick();
    void SaveResultsButtonClick();

signals:
    // An error that ended the interpolation report, for the graph's message line.
    void reportFailed(const QString& prefix, const QString& text);
    // "Fit details": its window is asked for.
    void fitDetailsAsked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildPanels();
    // Each control is named after its field, so that tests find it.
    void NameControls();
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

    void BuildResultsPanel();
    // Replots through the graphing switch; false when graphing is off.
    bool ReplotForResults();
    std::string ResultsOfLastReplot();

    QuilvexDocument& document_;
    QuilvexState& state_;
    Dialogs& dialogs_;
};

}  // namespace quilvex
