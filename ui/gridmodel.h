#pragma once
// The texts of the data grid: columns X, Y and sigma of single-byte texts, a
// row count of at least 1, and the rows left out of the fits (shown in grey).
// The view sees the sigma column only while it is shown: when the user turns
// it on, or once the table holds sigma text; a whole new table without sigma
// hides it again unless the user turned it on. Edits made in the view are
// announced by cellEdited; texts the program sets are not.
#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <vector>

#include "data/cellgrid.h"
#include "data/datafile.h"

namespace quilvex {

class GridModel : public QAbstractTableModel, public CellGrid {
    Q_OBJECT
public:
    explicit GridModel(int rows, QObject* parent = nullptr);

    std::string Cell(int col, int row) const override;
    void SetCell(int col, int row, const std::string& text) override;
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows) override;
    bool Excluded(int row) const override;
    void SetExcluded(int row, bool excluded) override;
    // Whether the view has the sigma column, and the user's wish for it.
    bool SigmaShown() const { return sigmaShown_; }
    void SetSigmaWanted(bool wanted);
    // Replaces every row at once (used when a data file was read).
    void SetRows(std::vector<DataRow> rows);
    const std::vector<DataRow>& Rows() const { return rows_; }
    // Counts every change of a text or of the row count.
    std::uint64_t Generation() const { return generation_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void cellEdited(int col, int row);
    void sigmaShownChanged(bool shown);

private:
    std::string& Text(int col, int row);
    void ShowSigma(bool shown);
    std::vector<DataRow> rows_;
    std::uint64_t generation_ = 0;
    bool sigmaWanted_ = false;
    bool sigmaShown_ = false;
};

}  // namespace quilvex
