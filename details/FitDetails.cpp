#include "details/FitDetails.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSplitter>
#include <QVBoxLayout>

#include "data/datafile.h"
#include "ui/fileactions.h"
#include "ui/graphexport.h"
#include "fit/method.h"
#include "stats/designed.h"
#include "ui/handler.h"
#include "ui/savefile.h"

namespace quilvex {

namespace {

QString CsvField(QString text)
{
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n'))
        return text;
    return '"' + text.replace('"', "\"\"") + '"';
}

QString OneLine(QString text) { return text.replace('\t', ' ').replace('\n', ' '); }

}  // namespace

TFitDetailsForm::TFitDetailsForm(QuilvexState& state, Dialogs& dialogs, std::function<void(BandChoice)> setBands)
    : QWidget(nullptr, Qt::Window),
      state_(state),
      dialogs_(dialogs),
      setBands_(std::move(setBands)),
      worker_([this] { QMetaObject::invokeMethod(this, [this] { ShowLatestResult(); }, Qt::QueuedConnection); })
{
    setWindowTitle("Fit details");
    BuildControls();
    NameControls();
    // Beside the graph window, where neither covers the other.
    move(630, 26);
    resize(640, 560);
}

void TFitDetailsForm::NameControls()
{
    const std::pair<QObject*, const char*> controls[] = {
        {Table, "Table"},
        {Sorted, "Sorted"},
        {Model, "Model"},
        {Residuals, "Residuals"},
        {BandsCheckBox, "BandsCheckBox"},
        {PredictionCheckBox, "PredictionCheckBox"},
        {CopyCsvButton, "CopyCsvButton"},
        {ExportPlotButton, "ExportPlotButton"}};
    for (const auto& [control, name] : controls)
        control->setObjectName(name);
}

void TFitDetailsForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    Model = new DetailsModel(this);
    Sorted = new QSortFilterProxyModel(this);
    Sorted->setSourceModel(Model);
    Sorted->setSortRole(kSortRole);
    Table = new QTableView(this);
    Table->setModel(Sorted);
    Table->setSortingEnabled(true);
    Table->sortByColumn(-1, Qt::AscendingOrder);  // the order of the reports until a heading is clicked
    Table->setSelectionBehavior(QAbstractItemView::SelectItems);
    Table->setWordWrap(false);
    Table->horizontalHeader()->setDefaultSectionSize(110);
    Table->horizontalHeader()->resizeSection(kMethodCol, 200);
    Table->horizontalHeader()->resizeSection(kCoefficientsCol, 260);
    Table->horizontalHeader()->setStretchLastSection(true);
    Residuals = new ResidualPlot(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(Table);
    splitter->addWidget(Residuals);
    layout->addWidget(splitter, 1);

    auto* row = new QHBoxLayout;
    BandsCheckBox = new QCheckBox("95 % bands on the graph", this);
    PredictionCheckBox = new QCheckBox("Prediction band", this);
    PredictionCheckBox->setEnabled(false);
    CopyCsvButton = new QPushButton("Copy as CSV", this);
    ExportPlotButton = new QPushButton("Export residuals…", this);
    row->addWidget(BandsCheckBox);
    row->addWidget(PredictionCheckBox);
    row->addStretch(1);
    row->addWidget(CopyCsvButton);
    row->addWidget(ExportPlotButton);
    layout->addLayout(row);

    auto* copy = new QAction(this);
    copy->setShortcuts(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(copy);
    connect(copy, &QAction::triggered, this, [this] { QGuiApplication::clipboard()->setText(SelectionAsTsv()); });
    connect(CopyCsvButton, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(TableAsCsv()); });
    connect(ExportPlotButton, &QPushButton::clicked, this, [this] { ExportPlotClick(); });
    connect(BandsCheckBox, &QCheckBox::toggled, this, [this] { BandsToggled(); });
    connect(PredictionCheckBox, &QCheckBox::toggled, this, [this] { BandsToggled(); });
    connect(Table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateResidualPlot(); });
}

void TFitDetailsForm::ShowAndRaise()
{
    show();
    raise();
    activateWindow();
}

void TFitDetailsForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
}

void TFitDetailsForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FollowReplot();
}

void TFitDetailsForm::FollowReplot()
{
    if (isVisible())
        worker_.Submit(DetailsInputOf(state_));
}

void TFitDetailsForm::FinishUpdate()
{
    worker_.WaitIdle();
    ShowLatestResult();
}

void TFitDetailsForm::ShowLatestResult()
{
    std::optional<DetailsResult> result = worker_.TakeResult();
    if (!result)
        return;
    Model->SetResult(std::move(*result));
    UpdateResidualPlot();
}

void TFitDetailsForm::UpdateResidualPlot()
{
    const DetailsResult& result = Model->Result();
    std::vector<bool> chosen(result.rows.size(), !Table->selectionModel()->hasSelection());
    for (const QModelIndex& index : Table->selectionModel()->selectedIndexes())
        chosen[static_cast<std::size_t>(Sorted->mapToSource(index).row())] = true;
    std::vector<ResidualSeries> series;
    for (std::size_t r = 0; r < result.rows.size(); ++r) {
        const MethodFigures& row = result.rows[r];
        if (!chosen[r] || row.residuals.empty())
            continue;
        const bool designed = DesignedMethodOf(row.method).has_value();
        series.push_back({MethodTitle(row, static_cast<int>(result.input.x.size())),
                          RowOf(FitNeededBy(row.method)).color, !designed, result.input.x, row.residuals});
    }
    Residuals->SetSeries(std::move(series));
}

void TFitDetailsForm::BandsToggled()
{
    PredictionCheckBox->setEnabled(BandsCheckBox->isChecked());
    setBands_({BandsCheckBox->isChecked(), BandsCheckBox->isChecked() && PredictionCheckBox->isChecked()});
}

QString TFitDetailsForm::SelectionAsTsv() const
{
    const QModelIndexList selected = Table->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    int top = selected.front().row(), bottom = top, left = selected.front().column(), right = left;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    QString text;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            const QModelIndex index = Sorted->index(r, c);
            cells << (Table->selectionModel()->isSelected(index) ? OneLine(index.data(kCopyRole).toString()) : QString());
        }
        text += cells.join('\t') + '\n';
    }
    return text;
}

QString TFitDetailsForm::TableAsCsv() const
{
    QStringList lines, heading;
    for (int c = 0; c < kDetailsColumns; ++c)
        heading << CsvField(Sorted->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    lines << heading.join(',');
    for (int r = 0; r < Sorted->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < kDetailsColumns; ++c)
            cells << CsvField(Sorted->index(r, c).data(kCopyRole).toString());
        lines << cells.join(',');
    }
    return lines.join('\n') + '\n';
}

void TFitDetailsForm::ExportPlotClick()
{
    RunHandler(dialogs_, [this] {
        SaveRequest request = GraphSaveRequest();
        request.dialog.title = "Export residual plot";
        SaveThroughDialog(dialogs_, request, [this](const SaveTarget& target) {
            const GraphFileType type = GraphTypeOf(target);
            if (type == GraphFileType::Svg)
                return Residuals->Svg();
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            Residuals->Image(type == GraphFileType::PngDoubleSize ? 2 : 1).save(&buffer, "PNG");
            return bytes;
        });
    });
}

}  // namespace quilvex
