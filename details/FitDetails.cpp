#include "details/FitDetails.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "fit/method.h"
#include "report/core/resultstext.h"
#include "details/residualseries.h"
#include "ui/bringtofront.h"
#include "ui/fileactions.h"
#include "ui/graphexport.h"
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

// Beside the graph window, where neither covers the other, on a screen with room for both.
constexpr QPoint kDesignPlace(630, 26);
constexpr QSize kDesignSize(640, 560);

constexpr const char* kNotReplottedNote =
    "The figures describe the table as it was last plotted, which differs from the grid.";

// The frame the window manager puts around a window; it frames this window alike.
QMargins FrameOf(const QWidget& window)
{
    const QRect frame = window.frameGeometry(), inside = window.geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
            frame.bottom() - inside.bottom()};
}

// The edge nearest to the wanted one that keeps [edge, edge + length) within [low, high).
int Within(int wanted, int length, int low, int high) { return std::max(low, std::min(wanted, high - length)); }

// A replot reads its table from the grid's rows down to the first empty X.
std::vector<DataRow>::const_iterator TableEnd(const std::vector<DataRow>& rows)
{
    return std::find_if(rows.begin(), rows.end(), [](const DataRow& row) { return row.x.empty(); });
}

}  // namespace

TFitDetailsForm::TFitDetailsForm(QuilvexDocument& document, Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window),
      document_(document),
      dialogs_(dialogs),
      worker_([this] { QMetaObject::invokeMethod(this, [this] { ShowLatestResult(); }, Qt::QueuedConnection); })
{
    setWindowTitle("Fit details");
    BuildControls();
    BuildKeys();
    NameControls();
    resize(kDesignSize);
    const GridModel* grid = &document_.Grid();
    const auto update = [this] { UpdateStaleNote(); };
    connect(grid, &GridModel::dataChanged, this, update);
    connect(grid, &GridModel::rowsInserted, this, update);
    connect(grid, &GridModel::rowsRemoved, this, update);
    connect(grid, &GridModel::modelReset, this, update);
    connect(&document_, &QuilvexDocument::graphingEnabledChanged, this, update);
}

void TFitDetailsForm::NameControls()
{
    const std::pair<QObject*, const char*> controls[] = {
        {StaleNote, "StaleNote"},
        {MarkNote, "MarkNote"},
        {Table, "Table"},
        {Sorted, "Sorted"},
        {Model, "Model"},
        {Residuals, "Residuals"},
        {BandsCheckBox, "BandsCheckBox"},
        {PredictionCheckBox, "PredictionCheckBox"},
        {CopyCsvButton, "CopyCsvButton"},
        {ExportPlotButton, "ExportPlotButton"},
        {WeightsCombo, "WeightsCombo"},
        {WeightsHint, "WeightsHint"},
        {ExcludedNote, "ExcludedNote"},
        {WeightedCurvesCheckBox, "WeightedCurvesCheckBox"},
        {NormalisedCheckBox, "NormalisedCheckBox"}};
    for (const auto& [control, name] : controls)
        control->setObjectName(name);
}

void TFitDetailsForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    StaleNote = new QLabel(this);
    StaleNote->setWordWrap(true);
    StaleNote->hide();
    layout->addWidget(StaleNote);
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
    // Tab leaves the table for the next control, as it leaves the main window's grid.
    Table->setTabKeyNavigation(false);
    Table->horizontalHeader()->setDefaultSectionSize(110);
    Table->horizontalHeader()->resizeSection(kMethodCol, 200);
    Table->horizontalHeader()->resizeSection(kCoefficientsCol, 260);
    Table->horizontalHeader()->setStretchLastSection(true);
    Residuals = new ResidualPlot(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(Table);
    splitter->addWidget(Residuals);
    layout->addWidget(splitter, 1);
    MarkNote = new QLabel(this);
    MarkNote->setWordWrap(true);
    MarkNote->hide();
    layout->addWidget(MarkNote);

    auto* row = new QHBoxLayout;
    BandsCheckBox = new QCheckBox("95 % &bands on the graph", this);
    PredictionCheckBox = new QCheckBox("&Prediction band", this);
    PredictionCheckBox->setEnabled(false);
    CopyCsvButton = new QPushButton("&Copy as CSV", this);
    ExportPlotButton = new QPushButton("&Export residuals…", this);
    row->addWidget(BandsCheckBox);
    row->addWidget(PredictionCheckBox);
    row->addStretch(1);
    row->addWidget(CopyCsvButton);
    row->addWidget(ExportPlotButton);
    layout->addLayout(row);

    connect(CopyCsvButton, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(TableAsCsv()); });
    connect(ExportPlotButton, &QPushButton::clicked, this, [this] { ExportPlotClick(); });
    connect(BandsCheckBox, &QCheckBox::toggled, this, [this] { BandsToggled(); });
    connect(PredictionCheckBox, &QCheckBox::toggled, this, [this] { BandsToggled(); });
    connect(Table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateResidualPlot(); });
    BuildWeightControls(layout);
}

void TFitDetailsForm::BuildKeys()
{
    const auto addKey = [this](const QList<QKeySequence>& keys, auto triggered) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, triggered);
    };
    addKey(QKeySequence::keyBindings(QKeySequence::Copy), [this] { CopySelection(); });
    addKey({QKeySequence(Qt::Key_Escape)}, [this] { close(); });
    addKey({QKeySequence("Ctrl+D")}, [this] { emit mainWindowAsked(); });
    // The Menu key opens it at the current cell, so the table sorts without a mouse.
    Table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Table, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { ShowSortMenu(at); });
}

void TFitDetailsForm::ShowSortMenu(const QPoint& at)
{
    const QModelIndex pointed = Table->indexAt(at);
    const int column = pointed.isValid() ? pointed.column() : std::max(Table->currentIndex().column(), 0);
    const QString heading = Sorted->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    QMenu menu(this);
    menu.addAction("Sort &ascending by " + heading, this,
                   [this, column] { Table->sortByColumn(column, Qt::AscendingOrder); });
    menu.addAction("Sort &descending by " + heading, this,
                   [this, column] { Table->sortByColumn(column, Qt::DescendingOrder); });
    menu.addAction("&Order of the reports", this, [this] { Table->sortByColumn(-1, Qt::AscendingOrder); });
    AddConstraintsEntry(menu, pointed.isValid() ? pointed : Table->currentIndex());
    menu.exec(Table->viewport()->mapToGlobal(at));
}

void TFitDetailsForm::CopySelection()
{
    // Nothing selected: the clipboard keeps what it holds.
    if (Table->selectionModel()->hasSelection())
        QGuiApplication::clipboard()->setText(SelectionAsTsv());
}

void TFitDetailsForm::ShowAndRaise(const QWidget* mainWindow)
{
    if (!placed_) {
        PlaceOnScreenOf(mainWindow);
        placed_ = true;
    }
    BringToFront(*this);
}

// The designed size and place where the screen has room for them; on a smaller
// screen as much of them as the available area holds, frame included.
void TFitDetailsForm::PlaceOnScreenOf(const QWidget* mainWindow)
{
    const QScreen* screen = mainWindow != nullptr ? mainWindow->screen() : this->screen();
    const QRect available = screen->availableGeometry();
    const QMargins frame = mainWindow != nullptr ? FrameOf(*mainWindow) : QMargins();
    const QSize size = kDesignSize.boundedTo(available.size().shrunkBy(frame)).expandedTo(minimumSizeHint());
    const QSize outer = size.grownBy(frame);
    // Placed by its client area: a window not shown yet has no frame to place.
    const QPoint framePlace(Within(kDesignPlace.x(), outer.width(), available.left(), available.right() + 1),
                            Within(kDesignPlace.y(), outer.height(), available.top(), available.bottom() + 1));
    setGeometry(QRect(framePlace + QPoint(frame.left(), frame.top()), size));
}

void TFitDetailsForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
}

void TFitDetailsForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ShowLastReplot();
}

void TFitDetailsForm::FollowReplot()
{
    const std::vector<DataRow>& rows = document_.Grid().Rows();
    plottedTable_.assign(rows.begin(), TableEnd(rows));
    if (isVisible())
        ShowLastReplot();
}

// The figures of the table the last replot drew, whatever the grid holds since.
void TFitDetailsForm::ShowLastReplot()
{
    worker_.Submit(DetailsInputOf(document_.State(), document_.GetWeighting(), document_.GetConstraints()));
    UpdateStaleNote();
}

void TFitDetailsForm::UpdateStaleNote()
{
    if (!isVisible())
        return;  // shown again, the window looks afresh
    const std::vector<DataRow>& rows = document_.Grid().Rows();
    const bool stale = !std::equal(plottedTable_.cbegin(), plottedTable_.cend(), rows.begin(), TableEnd(rows));
    if (stale)
        StaleNote->setText(document_.GraphingEnabled() ? kNotReplottedNote : kGraphingOffNote);
    StaleNote->setVisible(stale);
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
    const QModelIndex current = Sorted->mapToSource(Table->currentIndex());
    const std::vector<MethodFigures>& before = Model->Result().rows;
    const std::optional<StatsMethod> currentMethod =
        current.isValid() && static_cast<std::size_t>(current.row()) < before.size()
            ? std::optional(before[static_cast<std::size_t>(current.row())].method)
            : std::nullopt;
    Model->SetResult(std::move(*result));
    KeepCurrentRow(currentMethod, current.column());
    MarkNote->setText(Model->MarkNote());
    MarkNote->setVisible(!Model->MarkNote().isEmpty());
    UpdateWeightNotes();
    UpdateResidualPlot();
}

void TFitDetailsForm::UpdateResidualPlot()
{
    const DetailsResult& result = Model->Result();
    std::vector<bool> chosen(result.rows.size(), !Table->selectionModel()->hasSelection());
    for (const QModelIndex& index : Table->selectionModel()->selectedIndexes())
        chosen[static_cast<std::size_t>(Sorted->mapToSource(index).row())] = true;
    Residuals->SetSeries(ResidualSeriesOf(result, chosen, NormalisedCheckBox->isChecked()));
}

void TFitDetailsForm::BandsToggled()
{
    PredictionCheckBox->setEnabled(BandsCheckBox->isChecked());
    document_.SetBands({BandsCheckBox->isChecked(), BandsCheckBox->isChecked() && PredictionCheckBox->isChecked()});
    document_.DrawGraph();
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
    for (int c = 0; c < Sorted->columnCount(); ++c)
        heading << CsvField(Sorted->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    lines << heading.join(',');
    for (int r = 0; r < Sorted->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < Sorted->columnCount(); ++c)
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
