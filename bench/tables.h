#pragma once
// Point tables and data files for the benchmarks.
#include <string>
#include <utility>
#include <vector>

#include "data/checked.h"
#include "data/datafile.h"

namespace quilvex::bench {

struct PointTable {
    int n = 0;
    RealArray x, y;
};

// n points of a smooth wave over ascending, unevenly spaced x in [0, 10].
PointTable SmoothTable(int n);

// The table as grid rows, written as the program writes numbers.
std::vector<DataRow> GridRows(const PointTable& table);

// A data file of `lines` X,Y lines (with a comment line first) in the temporary
// folder, written once per run; its name.
std::string DataFileOf(int lines);

}  // namespace quilvex::bench
