#pragma once
// A data grid held in memory, for tests of the data set without windows.
#include <string>
#include <utility>
#include <vector>

#include "data/cellgrid.h"

namespace quilvex::testing {

class VectorGrid : public CellGrid {
public:
    explicit VectorGrid(int rows = 4) : rows_(static_cast<std::size_t>(rows)) {}
    VectorGrid(std::initializer_list<std::pair<std::string, std::string>> rows) : rows_(rows) {}

    std::string Cell(int col, int row) const override
    {
        if (row < 0 || row >= RowCount())
            return {};
        const auto& r = rows_[static_cast<std::size_t>(row)];
        return col == 0 ? r.first : r.second;
    }
    void SetCell(int col, int row, const std::string& text) override
    {
        if (row < 0 || row >= RowCount())
            return;
        auto& r = rows_[static_cast<std::size_t>(row)];
        (col == 0 ? r.first : r.second) = text;
    }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows) override { rows_.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows)); }

private:
    std::vector<std::pair<std::string, std::string>> rows_;
};

}  // namespace quilvex::testing
