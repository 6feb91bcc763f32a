// "Fit quality", "Copy results" and "Save results…": each replots first, as
// the other status buttons do, so that the figures describe the table as it
// stands; with graphing off they describe the last replot's, and say so.
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

constexpr const char* kGraphingOffNote =
    "Graphing is off: the figures describe the table as it was last plotted, which may differ from the grid.";

}  // namespace

bool TStatusForm::ReplotForResults()
{
    main_.DrawGraph();
    return main_.GraphEnableCheckBox->isChecked();
}

std::string TStatusForm::ResultsOfLastReplot()
{
    const bool current = ReplotForResults();
    std::string text = ResultsText(state_, main_.FileNameLabel->text().toStdString());
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
