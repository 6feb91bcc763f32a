// "Fit quality", "Copy results" and "Save results…": each replots first, as
// the other status buttons do, so that the figures describe the table as it
// stands; with graphing off they describe the last replot's, and say so.
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

bool TStatusForm::ReplotForResults()
{
    document_.DrawGraph();
    return document_.GraphingEnabled();
}

std::string TStatusForm::ResultsOfLastReplot()
{
    const bool current = ReplotForResults();
    std::string text = ResultsText(state_, document_.FileName().toStdString());
    if (!current)
        text.insert(text.find('\n') + 1, std::string(kGraphingOffNote) + "\n");
    return text;
}

void TStatusForm::FitQualityButtonClick()
{
    RunHandler(dialogs_, [this] {
        const bool current = ReplotForResults();
        StatusRichEdit->SetFontName("Courier");
        if (!current)
            AddStatusLine(kGraphingOffNote);
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
