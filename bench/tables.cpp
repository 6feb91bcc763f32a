#include "bench/tables.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "data/numtext.h"

namespace quilvex::bench {

PointTable SmoothTable(int n)
{
    PointTable table;
    table.n = n;
    for (int i = 1; i <= n; ++i) {
        const Real u = static_cast<Real>(i - 1) / static_cast<Real>(n - 1);
        table.x[i] = 10 * u + 0.3L * std::sin(7 * u) / static_cast<Real>(n);
        table.y[i] = 3 * std::sin(table.x[i]) + 0.5L * table.x[i];
    }
    return table;
}

std::vector<DataRow> GridRows(const PointTable& table)
{
    std::vector<DataRow> rows;
    for (int i = 1; i <= table.n; ++i)
        rows.push_back(DataRow{FormatCell(table.x[i]), FormatCell(table.y[i])});
    return rows;
}

std::string DataFileOf(int lines)
{
    const std::filesystem::path name =
        std::filesystem::temp_directory_path() / ("quilvex-bench-" + std::to_string(lines) + ".dta");
    if (std::filesystem::exists(name))
        return name.string();
    std::ofstream out(name, std::ios::binary);
    out << "; benchmark data\r\n";
    char line[64];
    for (int i = 0; i < lines; ++i) {
        const double x = i * 0.001;
        std::snprintf(line, sizeof line, "%.8g %.8g\r\n", x, std::sin(x) * 100);
        out << line;
    }
    return name.string();
}

}  // namespace quilvex::bench
