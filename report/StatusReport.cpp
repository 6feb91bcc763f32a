// The status report and the interpolation / extrapolation report.
#include "graph/QuilvexG.h"
#include "report/Status.h"

namespace quilvex {

void TStatusForm::ShowStatusReport()
{
    ShowAndRaise();
    Panel1->setText("Current status of graphs");
    StatusRichEdit->ClearLines();
}

void TStatusForm::ExtrapButtonClick()
{
    plotForm_->ExtrapolateReport();
    plotForm_->Draw();
}

void TPlotForm::ExtrapolateReport() {}

}  // namespace quilvex
