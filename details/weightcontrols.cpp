// The weighting part of the "Fit details" window: the Weights selector and
// what follows from it.
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "details/FitDetails.h"
#include "stats/table.h"

namespace quilvex {

namespace {

// In the order of Weighting, so an entry's index is its weighting.
constexpr const char* kWeightingEntries[] = {"None", "1/σ² (instrumental)", "1/y (counts)", "1/y² (relative)"};

constexpr const char* kSigmaHint = "The table gives σ: choose Weights 1/σ² to use it";

bool AnySigma(const StatsTable& table)
{
    return std::any_of(table.sigma.begin(), table.sigma.end(), [](const std::string& s) { return !s.empty(); });
}

}  // namespace

// Below the residual plot, above the designed row of buttons, so the table
// and the buttons keep their designed places; the constraints' row above the
// weights' keeps the window in its designed width.
void TFitDetailsForm::BuildWeightControls(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("&Weights:", this);
    WeightsCombo = new QComboBox(this);
    for (const char* entry : kWeightingEntries)
        WeightsCombo->addItem(entry);
    label->setBuddy(WeightsCombo);
    WeightedCurvesCheckBox = new QCheckBox("Wei&ghted curves on the graph", this);
    row->addWidget(label);
    row->addWidget(WeightsCombo);
    row->addWidget(WeightedCurvesCheckBox);
    NormalisedCheckBox = new QCheckBox("&Normalised residuals (r/σ)", this);
    NormalisedCheckBox->setToolTip("The weighted fits' residuals times the square root of each point's weight");
    row->addWidget(NormalisedCheckBox);
    row->addStretch(1);
    WeightsHint = new QLabel(kSigmaHint, this);
    ExcludedNote = new QLabel(this);
    auto* constraintsRow = new QHBoxLayout;
    BuildConstraintControls(constraintsRow);
    layout->insertLayout(layout->count() - 1, constraintsRow);
    const int buttons = layout->count() - 1;
    layout->insertLayout(buttons, row);
    layout->insertWidget(buttons + 1, WeightsHint);
    layout->insertWidget(buttons + 2, ExcludedNote);
    ShowWeighting(document_.GetWeighting());
    WeightsHint->hide();
    ExcludedNote->hide();

    connect(WeightsCombo, &QComboBox::currentIndexChanged, this, [this](int index) { WeightingChosen(index); });
    connect(WeightedCurvesCheckBox, &QCheckBox::toggled, this,
            [this](bool shown) { document_.SetWeightedCurvesShown(shown); });
    connect(NormalisedCheckBox, &QCheckBox::toggled, this, [this] { UpdateResidualPlot(); });
    connect(&document_, &QuilvexDocument::weightingChanged, this, [this](Weighting weighting) {
        ShowWeighting(weighting);
        if (isVisible())
            ShowLastReplot();
    });
}

void TFitDetailsForm::WeightingChosen(int index)
{
    const auto weighting = static_cast<Weighting>(index);
    if (weighting != Weighting::None)
        WeightedCurvesCheckBox->setChecked(true);
    document_.SetWeighting(weighting);
}

// The controls as the document's weighting has them, whoever set it.
void TFitDetailsForm::ShowWeighting(Weighting weighting)
{
    const QSignalBlocker blocker(WeightsCombo);
    WeightsCombo->setCurrentIndex(static_cast<int>(weighting));
    WeightedCurvesCheckBox->setChecked(document_.WeightedCurvesShown());
    WeightedCurvesCheckBox->setEnabled(weighting != Weighting::None);
    NormalisedCheckBox->setEnabled(weighting != Weighting::None);
}

void TFitDetailsForm::UpdateWeightNotes()
{
    const DetailsInput& input = Model->Result().input;
    WeightsHint->setVisible(input.weighting == Weighting::None && AnySigma(input.table));
    const std::vector<int>& excluded = input.table.excludedRows;
    ExcludedNote->setText(excluded.empty() ? QString()
                                           : "excluded: " + QString::fromStdString(RowsText(excluded)));
    ExcludedNote->setVisible(!excluded.empty());
}

}  // namespace quilvex
