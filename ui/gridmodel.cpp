#include "ui/gridmodel.h"

#include <QBrush>
#include <algorithm>

#include "ui/look.h"

namespace quilvex {

namespace {
constexpr int kDesignedColumns = 2;  // X and Y
constexpr int kSigmaColumn = 2;

bool AnySigma(const std::vector<DataRow>& rows)
{
    return std::any_of(rows.begin(), rows.end(), [](const DataRow& r) { return !r.sigma.empty(); });
}
}  // namespace

GridModel::GridModel(int rows, QObject* parent) : QAbstractTableModel(parent), rows_(static_cast<std::size_t>(rows)) {}

std::string& GridModel::Text(int col, int row)
{
    auto& r = rows_[static_cast<std::size_t>(row)];
    return col == 0 ? r.x : col == 1 ? r.y : r.sigma;
}

std::string GridModel::Cell(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col > kSigmaColumn)
        return {};
    return const_cast<GridModel*>(this)->Text(col, row);
}

void GridModel::SetCell(int col, int row, const std::string& text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col > kSigmaColumn)
        return;
    Text(col, row) = text;
    ++generation_;
    if (col == kSigmaColumn && !text.empty())
        ShowSigma(true);
    const QModelIndex at = index(row, col);
    emit dataChanged(at, at);
}

bool GridModel::Excluded(int row) const
{
    return row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)].excluded;
}

void GridModel::SetExcluded(int row, bool excluded)
{
    if (row < 0 || row >= RowCount() || rows_[static_cast<std::size_t>(row)].excluded == excluded)
        return;
    rows_[static_cast<std::size_t>(row)].excluded = excluded;
    ++generation_;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void GridModel::SetSigmaWanted(bool wanted)
{
    sigmaWanted_ = wanted;
    ShowSigma(wanted || AnySigma(rows_));
}

void GridModel::ShowSigma(bool shown)
{
    if (shown == sigmaShown_)
        return;
    if (shown)
        beginInsertColumns({}, kSigmaColumn, kSigmaColumn);
    else
        beginRemoveColumns({}, kSigmaColumn, kSigmaColumn);
    sigmaShown_ = shown;
    if (shown)
        endInsertColumns();
    else
        endRemoveColumns();
    emit sigmaShownChanged(shown);
}

void GridModel::SetRowCount(int rows)
{
    const int wanted = rows < 1 ? 1 : rows;
    const int current = RowCount();
    if (wanted != current)
        ++generation_;
    if (wanted > current) {
        beginInsertRows({}, current, wanted - 1);
        rows_.resize(static_cast<std::size_t>(wanted));
        endInsertRows();
    } else if (wanted < current) {
        beginRemoveRows({}, wanted, current - 1);
        rows_.resize(static_cast<std::size_t>(wanted));
        endRemoveRows();
    }
}

void GridModel::SetRows(std::vector<DataRow> rows)
{
    beginResetModel();
    ++generation_;
    rows_ = std::move(rows);
    if (rows_.empty())
        rows_.resize(1);
    const bool shown = sigmaWanted_ || AnySigma(rows_);
    const bool changed = shown != sigmaShown_;
    sigmaShown_ = shown;
    endResetModel();
    if (changed)
        emit sigmaShownChanged(shown);
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount(); }

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kDesignedColumns + (sigmaShown_ ? 1 : 0);
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::ForegroundRole && Excluded(index.row()))
        return QBrush(ToQColor(colors::Gray));
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return QString::fromLatin1(Cell(index.column(), index.row()));
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const std::string text = CleanCellText(value.toString().toLatin1().toStdString());
    if (text == Cell(index.column(), index.row()))
        return true;
    SetCell(index.column(), index.row(), text);
    emit cellEdited(index.column(), index.row());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

}  // namespace quilvex
