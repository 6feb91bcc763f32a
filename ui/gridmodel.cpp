#include "ui/gridmodel.h"

namespace quilvex {

GridModel::GridModel(int rows, QObject* parent) : QAbstractTableModel(parent), rows_(static_cast<std::size_t>(rows)) {}

std::string& GridModel::Text(int col, int row)
{
    auto& r = rows_[static_cast<std::size_t>(row)];
    return col == 0 ? r.x : r.y;
}

std::string GridModel::Cell(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col > 1)
        return {};
    const auto& r = rows_[static_cast<std::size_t>(row)];
    return col == 0 ? r.x : r.y;
}

void GridModel::SetCell(int col, int row, const std::string& text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col > 1)
        return;
    Text(col, row) = text;
    ++generation_;
    const QModelIndex at = index(row, col);
    emit dataChanged(at, at);
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
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount(); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
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
