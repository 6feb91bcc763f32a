// The status report and the interpolation / extrapolation report.
#include "data/numtext.h"
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
    for (const ReportLine& line : StatusReportLines(state_, document_.FileName().toStdString())) {
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
    ExtrapolateReport();
    document_.Replot();
}

void TStatusForm::ExtrapolateReport()
{
    ClearFpu();
    try {
        StatusRichEdit->SetFontName("Courier");
        const FloatText X = TextToFloat(ToText(XvalueEdit->text()));
        if (!X.ok())
            return;
        AppendInterpolationLines(state_, X.value, [this](const std::string& line) {
            const FpuFlagsKeeper keep;  // the text area must not disturb the fault flags
            AddStatusLine(line);
        });
    } catch (const std::exception& e) {
        emit reportFailed(" ***1 Exception: ", QString::fromLatin1(e.what()));
    }
    StatusRichEdit->ShowLastLine();
    ClearFpu();
}

}  // namespace quilvex
