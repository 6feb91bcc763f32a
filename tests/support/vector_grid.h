#pragma once
// A data grid held in memory, for tests of the data set without windows.
#include <algorithm>
#include <set>
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
        if (col == 2)
            return row < static_cast<int>(sigma_.size()) ? sigma_[static_cast<std::size_t>(row)] : std::string();
        const auto& r = rows_[static_cast<std::size_t>(row)];
        return col == 0 ? r.first : r.second;
    }
    void SetCell(int col, int row, const std::string& text) override
    {
        if (row < 0 || row >= RowCount())
            return;
        if (col == 2) {
            sigma_.resize(std::max(sigma_.size(), rows_.size()));
            sigma_[static_cast<std::size_t>(row)] = text;
            return;
        }
        auto& r = rows_[static_cast<std::size_t>(row)];
        (col == 0 ? r.first : r.second) = text;
    }
    bool Excluded(int row) const override { return excluded_.count(row) != 0; }
    void SetExcluded(int row, bool excluded)
    {
        if (excluded)
            excluded_.insert(row);
        else
            excluded_.erase(row);
    }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows) override
    {
        rows_.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows));
        if (sigma_.size() > rows_.size())
            sigma_.resize(rows_.size());
        std::erase_if(excluded_, [&](int row) { return row >= RowCount(); });
    }

private:
    std::vector<std::pair<std::string, std::string>> rows_;
    std::vector<std::string> sigma_;  // column 2, as long as the rows that have one
    std::set<int> excluded_;
};

}  // namespace quilvex::testing
