#include "stats/table.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "data/datafile.h"
#include "data/fitcache.h"
#include "data/numtext.h"
#include "data/pointimport.h"
#include "graph/core/scaling.h"

namespace quilvex {

namespace {

// The paint box of the graph window; its size sets only the scales, which the
// statistics do not use.
constexpr int kPaintWidth = 538;
constexpr int kPaintHeight = 402;

class MemoryGrid : public CellGrid {
public:
    std::string Cell(int col, int row) const override
    {
        if (row < 0 || row >= RowCount() || col < 0 || col > 2)
            return {};
        const DataRow& r = rows_[static_cast<std::size_t>(row)];
        return col == 0 ? r.x : col == 1 ? r.y : r.sigma;
    }
    void SetCell(int col, int row, const std::string& text) override
    {
        if (row < 0 || row >= RowCount() || col < 0 || col > 2)
            return;
        DataRow& r = rows_[static_cast<std::size_t>(row)];
        (col == 0 ? r.x : col == 1 ? r.y : r.sigma) = text;
    }
    bool Excluded(int row) const override { return row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)].excluded; }
    void SetExcluded(int row, bool excluded) override
    {
        if (row >= 0 && row < RowCount())
            rows_[static_cast<std::size_t>(row)].excluded = excluded;
    }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows) override { rows_.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows)); }

private:
    std::vector<DataRow> rows_{1};
};

std::string Digits(Real v) { return FormatGeneral(v, 18, '.'); }

// The ascending adjustment of a replot, each changed X reported.
void AdjustAscending(QuilvexState& s, MemoryGrid& grid, TableLoad& load)
{
    s.AdjustedXs.clear();
    ClearFpu();
    try {
        ScaleGraph(s, grid, kPaintWidth, kPaintHeight);
    } catch (const QuilvexError& e) {
        load.error = std::string("x values not ascending, and adjusting them failed: ") + e.what();
        ClearFpu();
        return;
    }
    ClearFpu();
    load.warnings = AdjustmentWarnings(s);
}

std::string Counted(std::size_t count, const std::string& what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// The data line (from 0) point i was read from.
std::size_t LineOf(const QuilvexState& s, int i)
{
    return static_cast<std::size_t>(s.PointRows.empty() ? i - 1 : s.PointRows[static_cast<std::size_t>(i - 1)]);
}

// The values the grid's 8 significant digits changed, x and y counted.
std::size_t RoundedValues(const std::vector<DataValues>& written, const QuilvexState& s)
{
    std::size_t rounded = 0;
    for (int i = 1; i <= s.n; ++i) {
        const DataValues& v = written[LineOf(s, i)];
        rounded += (v.x != s.x[i]) + (v.y != s.y[i]);
    }
    return rounded;
}

void NoteGridChanges(std::size_t rounded, std::size_t adjusted, TableLoad& load)
{
    if (rounded > 0)
        load.notes.push_back(Counted(rounded, "value") +
                             " rounded to 8 significant digits, as the grid holds them (x and y counted); "
                             "--as-written fits the values as the file writes them");
    if (adjusted > 0)
        load.notes.push_back(Counted(adjusted, "x value") +
                             " moved by the ascending adjustment, as a replot moves them; "
                             "--as-written fits the points as written, sorted by x");
}

// The values of the points fitted as written, in ascending order of X;
// points of equal X keep the file's order, and each keeps its row and sigma.
void TakeSortedAsWritten(const std::vector<DataValues>& written, QuilvexState& s)
{
    std::vector<std::size_t> lines;
    for (int i = 1; i <= s.n; ++i)
        lines.push_back(LineOf(s, i));
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return written[lines[a]].x < written[lines[b]].x; });
    const std::vector<std::string> sigma = s.SigmaTexts;
    for (int i = 1; i <= s.n; ++i) {
        const std::size_t k = order[static_cast<std::size_t>(i - 1)];
        s.x[i] = written[lines[k]].x;
        s.y[i] = written[lines[k]].y;
        if (!s.PointRows.empty()) {
            s.PointRows[static_cast<std::size_t>(i - 1)] = static_cast<std::int32_t>(lines[k]);
            s.SigmaTexts[static_cast<std::size_t>(i - 1)] = sigma[k];
        }
    }
}

// Marks the rows --exclude names; a row beyond the table is an error.
std::string MarkExcluded(const std::vector<int>& alsoExcluded, std::vector<DataRow>& rows)
{
    for (const int row : alsoExcluded) {
        if (row < 1 || row > static_cast<int>(rows.size()))
            return "row " + std::to_string(row) + " cannot be excluded: the table has " +
                   std::to_string(rows.size()) + " rows";
        rows[static_cast<std::size_t>(row - 1)].excluded = true;
    }
    return {};
}

// Sets the excluded points of the n read aside, as a replot does; the others
// move up in order. Rows and sigma texts are kept where the table gives sigma
// or excludes a point.
std::string SetAsideExcluded(const std::vector<DataRow>& rows, QuilvexState& s)
{
    const auto n = static_cast<std::size_t>(s.n);
    const auto begin = rows.begin(), end = rows.begin() + static_cast<std::ptrdiff_t>(n);
    const bool anySigma = std::any_of(begin, end, [](const DataRow& r) { return !r.sigma.empty(); });
    const bool anyExcluded = std::any_of(begin, end, [](const DataRow& r) { return r.excluded; });
    const bool setAsideByTheReader = !s.PointRows.empty() || !s.Excluded.empty();
    if ((!anySigma && !anyExcluded) || setAsideByTheReader)
        return {};
    int kept = 0;
    std::vector<int> excluded;
    for (std::size_t k = 0; k < n; ++k) {
        const int i = static_cast<int>(k) + 1;
        if (rows[k].excluded) {
            s.Excluded.push_back({static_cast<std::int32_t>(k), s.x[i], s.y[i], rows[k].sigma});
            excluded.push_back(i);
            continue;
        }
        ++kept;
        s.x[kept] = s.x[i];
        s.y[kept] = s.y[i];
        s.PointRows.push_back(static_cast<std::int32_t>(k));
        s.SigmaTexts.push_back(rows[k].sigma);
    }
    s.n = kept;
    if (kept < 3)
        return "excluding " + RowsText(excluded) + " leaves " + std::to_string(kept) +
               " points to fit, fewer than 3";
    return {};
}

// The ascending adjustment of the points fitted only, on a grid of their rows.
void AdjustFittedAscending(QuilvexState& s, const MemoryGrid& grid, TableLoad& load)
{
    MemoryGrid fitted;
    fitted.SetRowCount(s.n + 1);
    for (int i = 1; i <= s.n; ++i)
        for (int col = 0; col < 3; ++col)
            fitted.SetCell(col, i - 1, grid.Cell(col, static_cast<int>(LineOf(s, i))));
    std::vector<std::int32_t> rows;
    rows.swap(s.PointRows);  // point i is row i - 1 of the fitted grid
    AdjustAscending(s, fitted, load);
    rows.swap(s.PointRows);
}

}  // namespace

std::vector<std::string> AdjustmentWarnings(const QuilvexState& s)
{
    std::vector<std::string> warnings;
    for (const AdjustedX& a : s.AdjustedXs) {
        if (StillAdjusted(s, a) && !SameBits(a.read, s.x[a.point]))
            warnings.push_back("x values not ascending: point " + std::to_string(a.point) + " x = " +
                               Digits(a.read) + " adjusted to " + Digits(s.x[a.point]));
    }
    return warnings;
}

TableLoad LoadPointTable(std::string_view bytes, const std::string& name, QuilvexState& s, TableForm form,
                         const std::vector<int>& alsoExcluded)
{
    TableLoad load;
    std::vector<DataRow> rows;
    try {
        ParseDataFile(bytes, name, rows, [&](const std::string& warning) {
            load.error = warning;
            return false;
        });
    } catch (const QuilvexError& e) {
        load.error = name + ": " + e.what();
    }
    if (!load.error.empty())
        return load;
    load.error = MarkExcluded(alsoExcluded, rows);
    if (!load.error.empty())
        return load;
    MemoryGrid grid;
    FillGridWithRows(rows, grid);
    ReadPointTable(s, grid, [&](const std::string& warning) { load.error = warning; });
    if (load.error.empty() && s.n < 3)
        load.error = "Too few X,Y values, must be at least 3!";
    if (load.error.empty())
        load.error = SetAsideExcluded(rows, s);
    if (!load.error.empty())
        return load;
    const std::vector<DataValues> written = ReadDataValues(bytes);
    if (form == TableForm::AsWritten) {
        TakeSortedAsWritten(written, s);
        return load;
    }
    const std::size_t rounded = RoundedValues(written, s);
    if (s.Excluded.empty())
        AdjustAscending(s, grid, load);
    else
        AdjustFittedAscending(s, grid, load);
    NoteGridChanges(rounded, load.warnings.size(), load);
    return load;
}

std::string RowsText(const std::vector<int>& rows)
{
    std::string text = rows.size() == 1 ? "row " : "rows ";
    for (std::size_t k = 0; k < rows.size(); ++k)
        text += (k ? ", " : "") + std::to_string(rows[k]);
    return text;
}

bool HasRepeatedX(const QuilvexState& s)
{
    std::vector<Real> x(s.x.data(), s.x.data() + s.n);
    std::sort(x.begin(), x.end());
    return std::adjacent_find(x.begin(), x.end()) != x.end();
}

}  // namespace quilvex
