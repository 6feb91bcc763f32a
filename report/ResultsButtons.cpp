// "Fit quality", "Copy results" and "Save results…": the results of the last
// replot, read from the state; no fit is computed again.
#include <QClipboard>
#include <QGuiApplication>

#include "report/Status.h"
#include "report/core/fitquality.h"
#include "report/core/resultstext.h"
#include "ui/fileactions.h"
#include "ui/handler.h"

namespace quilvex {

namespace {

// A name without an extension gets ".txt"; any other extension is kept.
SaveRequest ResultsSaveRequest()
{
    return SaveRequest{FileRequest{"Save results", {"Text files (*.txt)"}, true, ""},
                       ExtensionRule{{".txt"}, 0, OtherExtension::Keep}, {}, nullptr, false};
}

}  // namespace

std::string TStatusForm::ResultsOfLastReplot()
{
    return ResultsText(state_, document_.FileName().toStdString());
}

void TStatusForm::FitQualityButtonClick()
{
    RunHandler(dialogs_, [this] {
        StatusRichEdit->SetFontName("Courier");
        AppendFitQualityLines(state_, [this](const std::string& line) { AddStatusLine(line); });
        StatusRichEdit->ShowLastLine();
    });
}

void TStatusForm::CopyResultsButtonClick()
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(ResultsOfLastReplot()));
}

void TStatusForm::SaveResultsButtonClick()
{
    RunHandler(dialogs_, [this] {
        SaveRequest request = ResultsSaveRequest();
        SaveThroughDialog(dialogs_, request,
                          [this](const SaveTarget&) { return QByteArray::fromStdString(ResultsOfLastReplot()); });
    });
}

}  // namespace quilvex
