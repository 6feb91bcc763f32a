// The constraints part of the "Fit details" window: the "Constraints…"
// button and menu entry of the selected row, and the figures following the
// document's constraints.
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>

#include "details/FitDetails.h"

namespace quilvex {

void TFitDetailsForm::BuildConstraintControls(QHBoxLayout* row)
{
    ConstraintsSummary = new QLabel(this);
    ConstraintsSummary->setObjectName("ConstraintsSummary");
    ConstraintsSummary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // long sets never widen the window
    row->addWidget(ConstraintsSummary, 1);
    ShowConstraintsSummary();
    ConstraintsButton = new QPushButton("Con&straints…", this);
    ConstraintsButton->setObjectName("ConstraintsButton");
    ConstraintsButton->setToolTip("The constraints of the selected row's fit: regression, exponential or power least squares");
    ConstraintsButton->setEnabled(false);
    row->addWidget(ConstraintsButton);
    Editor = new ConstraintsEditor(document_, this);

    connect(ConstraintsButton, &QPushButton::clicked, this, [this] {
        if (const auto model = ConstrainableModelAt(Table->currentIndex()))
            Editor->Open(*model);
    });
    connect(Table->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { UpdateConstraintsButton(); });
    connect(Model, &QAbstractItemModel::modelReset, this, [this] { UpdateConstraintsButton(); });
    connect(Model, &QAbstractItemModel::dataChanged, this, [this] { UpdateConstraintsButton(); });
    connect(&document_, &QuilvexDocument::constraintsChanged, this, [this] {
        ShowConstraintsSummary();
        if (isVisible())
            ShowLastReplot();
    });
}

// Every method's constraints, those of methods not ticked included: "Constraints:
// regression a0=0; power-nls b=0.5".
void TFitDetailsForm::ShowConstraintsSummary()
{
    QStringList sets;
    for (const std::string& text : ConstraintLineTexts(document_.GetConstraints()))
        sets << QString::fromStdString(text);
    ConstraintsSummary->setText("Constraints: " + (sets.isEmpty() ? QStringLiteral("none") : sets.join("; ")));
    ConstraintsSummary->setToolTip(ConstraintsSummary->text());
}

std::optional<StatsMethod> TFitDetailsForm::ConstrainableModelAt(const QModelIndex& index) const
{
    const QModelIndex source = Sorted->mapToSource(index);
    const std::vector<MethodFigures>& rows = Model->Result().rows;
    if (!source.isValid() || static_cast<std::size_t>(source.row()) >= rows.size())
        return std::nullopt;
    return ConstrainableModelOf(rows[static_cast<std::size_t>(source.row())].method);
}

void TFitDetailsForm::UpdateConstraintsButton()
{
    ConstraintsButton->setEnabled(ConstrainableModelAt(Table->currentIndex()).has_value());
}

void TFitDetailsForm::KeepCurrentRow(std::optional<StatsMethod> method, int column)
{
    if (!method || Table->currentIndex().isValid())
        return;
    const std::vector<MethodFigures>& rows = Model->Result().rows;
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (rows[k].method == *method)
            Table->setCurrentIndex(Sorted->mapFromSource(Model->index(static_cast<int>(k), column)));
}

void TFitDetailsForm::AddConstraintsEntry(QMenu& menu, const QModelIndex& index)
{
    const auto model = ConstrainableModelAt(index);
    menu.addSeparator();
    QAction* entry = menu.addAction("Con&straints…", this, [this, model] { Editor->Open(*model); });
    entry->setEnabled(model.has_value());
}

}  // namespace quilvex
