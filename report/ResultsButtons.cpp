// "Fit quality", "Copy results" and "Save results…": the results of the last
// replot, read from the state; no fit is computed again.
#include <QClipboard>
#include <QGuiApplication>

#include "data/datafile.h"
#include "mainwin/QuilvexD.h"
#include "report/Status.h"
#include "report/core/fitquality.h"
#include "report/core/resultstext.h"
#include "ui/handler.h"
#include "ui/savefile.h"

namespace quilvex {

namespace {

// A name without an extension gets ".txt".
void ApplyTextExtension(std::string& name)
{
    const std::size_t slash = name.find_last_of('/');
    if (name.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
        name += ".txt";
}

}  // namespace

std::string TStatusForm::ResultsOfLastReplot()
{
    return ResultsText(state_, main_.FileNameLabel->text().toStdString());
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
        std::optional<std::string> name = dialogs_.ResultsFileName();
        if (!name)
            return;
        ApplyTextExtension(*name);
        if (DataFileExists(*name) &&
            dialogs_.MessageBox(BoxType::Warning, OverwriteQuestionText(*name), BoxButtons::YesNo) != BoxAnswer::Yes)
            return;
        WriteWholeFile(*name, QByteArray::fromStdString(ResultsOfLastReplot()));
    });
}

}  // namespace quilvex
