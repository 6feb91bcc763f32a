// The status report and the interpolation / extrapolation report.
#include "data/numtext.h"
#include "graph/QuilvexG.h"
#include "mainwin/QuilvexD.h"
#include "report/Status.h"
#include "report/core/extrapreport.h"
#include "report/core/statusreport.h"

namespace quilvex {

namespace {

// Number texts are single-byte characters, as the rest of the program holds them.
std::string ToText(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

void TStatusForm::ShowStatusReport()
{
    ShowAndRaise();
    Panel1->setText("Current status of graphs");
    StatusRichEdit->ClearLines();
    StatusRichEdit->SetFontName("MS Sans Serif");
    SetPlainStyle();
    for (const ReportLine& line : StatusReportLines(state_, main_.FileNameLabel->text().toStdString())) {
        if (line.style == ReportLine::Style::Heading)
            SetHeadingStyle(line.color);
        else
            SetPlainStyle();
        AddStatusLine(line.text);
    }
    StatusRichEdit->ShowFirstLine();
}

void TStatusForm::ExtrapButtonClick()
{
    plotForm_->ExtrapolateReport();
    plotForm_->Draw();
}

void TPlotForm::ExtrapolateReport()
{
    ClearFpu();
    try {
        statusForm_->StatusRichEdit->SetFontName("Courier");
        const FloatText X = TextToFloat(ToText(statusForm_->XvalueEdit->text()));
        if (!X.ok())
            return;
        AppendInterpolationLines(state_, X.value, [this](const std::string& line) {
            const FpuFlagsKeeper keep;  // the text area must not disturb the fault flags
            statusForm_->AddStatusLine(line);
        });
    } catch (const std::exception& e) {
        ShowErrorInMsgLabel(" ***1 Exception: ", e.what());
    }
    statusForm_->StatusRichEdit->ShowLastLine();
    ClearFpu();
}

}  // namespace quilvex
