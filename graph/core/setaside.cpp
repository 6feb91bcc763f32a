#include "graph/core/setaside.h"

#include <algorithm>
#include <cmath>

#include "data/numtext.h"
#include "graph/core/plotter.h"
#include "graph/core/scene.h"

namespace quilvex {

namespace {

constexpr int kFewestFitted = 3;
constexpr int kCapHalfWidth = 3;
constexpr int kMarkRadius = 4;
constexpr Real kPixelReach = 32000;

// Within the reach checked by Drawable; a fault flag left by a bar beyond
// the range of numbers does not end the replot.
int NearestPixel(Real p) { return static_cast<int>(std::lrint(p)); }

bool Drawable(Real px, Real py) { return std::fabs(px) <= kPixelReach && std::fabs(py) <= kPixelReach; }

void DrawBar(Canvas& canvas, int px, int top, int bottom)
{
    canvas.MoveTo(px, top);
    canvas.LineTo(px, bottom);
    for (const int y : {top, bottom}) {
        canvas.MoveTo(px - kCapHalfWidth, y);
        canvas.LineTo(px + kCapHalfWidth + 1, y);
    }
}

bool NeedsRows(const QuilvexState& s, const CellGrid& grid)
{
    for (int row = 0; row < s.n; ++row)
        if (!grid.Cell(2, row).empty() || grid.Excluded(row))
            return true;
    return false;
}

int ExcludedCount(const QuilvexState& s, const CellGrid& grid)
{
    int count = 0;
    for (int row = 0; row < s.n; ++row)
        count += grid.Excluded(row) ? 1 : 0;
    return count;
}

}  // namespace

void SetExcludedAside(QuilvexState& s, const CellGrid& grid)
{
    s.PointRows.clear();
    s.SigmaTexts.clear();
    s.Excluded.clear();
    if (!NeedsRows(s, grid))
        return;
    const bool honour = s.n - ExcludedCount(s, grid) >= kFewestFitted;
    if (!honour)
        s.MessageBuffer.Append(kExclusionsIgnored);
    const int read = s.n;
    s.n = 0;
    for (int row = 0; row < read; ++row) {
        const Real x = s.x[row + 1], y = s.y[row + 1];
        std::string sigma = grid.Cell(2, row);
        if (honour && grid.Excluded(row)) {
            s.Excluded.push_back(SetAsidePoint{row, x, y, std::move(sigma)});
            continue;
        }
        ++s.n;
        s.x[s.n] = x;
        s.y[s.n] = y;
        s.PointRows.push_back(row);
        s.SigmaTexts.push_back(std::move(sigma));
    }
    if (s.SelectedPoint > s.n)
        s.SelectedPoint = 1;
}

int GridRowOf(const QuilvexState& s, int i)
{
    return s.PointRows.empty() ? i - 1 : s.PointRows[static_cast<std::size_t>(i - 1)];
}

Real ShownXOrigin(const QuilvexState& s)
{
    if (!s.Excluded.empty() && (s.n < 1 || s.Excluded.front().row < GridRowOf(s, 1)))
        return s.Excluded.front().x;
    return s.x[1];
}

std::vector<ShownPoint> ShownPoints(const QuilvexState& s)
{
    std::vector<ShownPoint> points;
    for (int i = 1; i <= s.n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        points.push_back(ShownPoint{GridRowOf(s, i), s.x[i], s.y[i],
                                    k < s.SigmaTexts.size() ? s.SigmaTexts[k] : std::string(), false, i});
    }
    for (std::size_t j = 0; j < s.Excluded.size(); ++j) {
        const SetAsidePoint& p = s.Excluded[j];
        points.push_back(ShownPoint{p.row, p.x, p.y, p.sigma, true, static_cast<int>(j)});
    }
    std::stable_sort(points.begin(), points.end(), [](const ShownPoint& a, const ShownPoint& b) { return a.row < b.row; });
    return points;
}

std::optional<Real> PositiveSigma(const std::string& text)
{
    const FpuFlagsKeeper keep;
    const FloatText read = TextToFloat(text);
    if (!read.ok() || !(read.value > 0))
        return std::nullopt;
    return read.value;
}

void DrawErrorBars(Plotter& plot)
{
    QuilvexState& s = plot.State();
    if (s.SigmaTexts.empty() && s.Excluded.empty())
        return;
    Canvas& canvas = plot.Surface();
    const Color pen = canvas.PenColor();
    for (const ShownPoint& p : ShownPoints(s)) {
        const std::optional<Real> sigma = PositiveSigma(p.sigma);
        if (!sigma)
            continue;
        const FpuFlagsKeeper keep;  // a bar beyond the range of numbers is not drawn, and not an error
        const Real px = plot.XToPixel(p.x), top = plot.YToPixel(p.y + *sigma), bottom = plot.YToPixel(p.y - *sigma);
        if (!Drawable(px, top) || !Drawable(px, bottom))
            continue;
        canvas.SetPenColor(p.excluded ? colors::Gray : colors::Blue);
        DrawBar(canvas, NearestPixel(px), NearestPixel(top), NearestPixel(bottom));
    }
    canvas.SetPenColor(pen);
}

void DrawSetAsidePoints(Plotter& plot)
{
    QuilvexState& s = plot.State();
    if (s.Excluded.empty())
        return;
    Canvas& canvas = plot.Surface();
    const Color pen = canvas.PenColor();
    const BrushStyle brush = canvas.GetBrushStyle();
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetPenColor(colors::Gray);
    for (const SetAsidePoint& p : s.Excluded) {
        const Real px = plot.XToPixel(p.x), py = plot.YToPixel(p.y);
        if (Drawable(px, py))
            DrawCircle(canvas, Round(px), Round(py), kMarkRadius);
    }
    canvas.SetPenColor(pen);
    canvas.SetBrushStyle(brush);
}

}  // namespace quilvex
