#pragma once
// A data grid held in memory, for tests of the data set without windows.
#include <string>
#include <utility>
#include <vector>

#include "data/cellgrid.h"
#include "data/datafile.h"

namespace quilvex::testing {

class VectorGrid : public CellGrid {
public:
    explicit VectorGrid(int rows = 4) : rows_(static_cast<std::size_t>(rows)) {}
    VectorGrid(std::initializer_list<std::pair<std::string, std::string>> rows)
    {
        for (const auto& [x, y] : rows)
            rows_.push_back({x, y});
    }
    explicit VectorGrid(std::vector<DataRow> rows) : rows_(std::move(rows)) {}

    std::string Cell(int col, int row) const override
    {
        if (row < 0 || row >= RowCount() || col < 0 || col > 2)
            return {};
        const auto& r = rows_[static_cast<std::size_t>(row)];
        return col == 0 ? r.x : col == 1 ? r.y : r.sigma;
    }
    void SetCell(int col, int row, const std::string& text) override
    {
        if (row < 0 || row >= RowCount() || col < 0 || col > 2)
            return;
        auto& r = rows_[static_cast<std::size_t>(row)];
        (col == 0 ? r.x : col == 1 ? r.y : r.sigma) = text;
    }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows) override { rows_.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows)); }
    bool Excluded(int row) const override { return row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)].excluded; }
    void SetExcluded(int row, bool excluded) override
    {
        if (row >= 0 && row < RowCount())
            rows_[static_cast<std::size_t>(row)].excluded = excluded;
    }
    const std::vector<DataRow>& Rows() const { return rows_; }

private:
    std::vector<DataRow> rows_;
};

}  // namespace quilvex::testing
