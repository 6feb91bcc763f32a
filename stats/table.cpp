#include "stats/table.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "data/datafile.h"
#include "data/fitcache.h"
#include "data/numtext.h"
#include "data/pointimport.h"
#include "graph/core/scaling.h"
#include "graph/core/setaside.h"

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

// An error where the rows excluded leave fewer than 3 of the n points read to fit.
std::string TooFewFitted(const std::vector<DataRow>& rows, int n)
{
    std::vector<int> excluded;
    for (int i = 1; i <= n; ++i)
        if (rows[static_cast<std::size_t>(i - 1)].excluded)
            excluded.push_back(i);
    const int kept = n - static_cast<int>(excluded.size());
    if (excluded.empty() || kept >= 3)
        return {};
    return "excluding " + RowsText(excluded) + " leaves " + std::to_string(kept) + " points to fit, fewer than 3";
}

}  // namespace

std::vector<std::string> AdjustmentWarnings(const QuilvexState& s)
{
    std::vector<std::string> warnings;
    const std::vector<ShownPoint> shown = ShownPoints(s);
    for (const AdjustedX& a : s.AdjustedXs) {
        // The adjustment numbers the points as the table's rows, excluded ones among them.
        if (a.point > static_cast<std::int32_t>(shown.size()))
            continue;
        const Real x = shown[static_cast<std::size_t>(a.point - 1)].x;
        if ((SameBits(x, a.written) || SameBits(x, a.readBack)) && !SameBits(a.read, x))
            warnings.push_back("x values not ascending: point " + std::to_string(a.point) + " x = " +
                               Digits(a.read) + " adjusted to " + Digits(x));
    }
    return warnings;
}

TableLoad LoadPointTable(std::string_view bytes, const std::string& name, QuilvexState& s, TableForm form,
                         const std::vector<int>& alsoExcluded)
{
    TableLoad load;
    std::vector<DataRow> rows;
    try {
        ParseDataFile(
            bytes, name, rows,
            [&](const std::string& warning) {
                load.error = warning;
                return false;
            },
            &load.constraints);
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
        load.error = TooFewFitted(rows, s.n);
    if (!load.error.empty())
        return load;
    const std::vector<DataValues> written = ReadDataValues(bytes);
    if (form == TableForm::AsWritten) {
        SetExcludedAside(s, grid);
        TakeSortedAsWritten(written, s);
        return load;
    }
    const std::size_t rounded = RoundedValues(written, s);
    AdjustAscending(s, grid, load);
    SetExcludedAside(s, grid);
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
