#include "app/document.h"

#include <algorithm>

#include "data/numtext.h"

namespace quilvex {

namespace {
constexpr int kNewTableRows = 4;  // a new table: four empty rows to type into
constexpr int kFewestFitted = 3;

// The points the replot reads (rows up to the first empty X) that stay in the
// fits once rows are marked excluded.
int PointsLeftInFits(const GridModel& grid, const std::vector<int>& rows, bool excluded)
{
    int left = 0;
    for (int row = 0; row < std::min(grid.RowCount(), MaxPoints) && !grid.Cell(0, row).empty(); ++row) {
        const bool marked = std::find(rows.begin(), rows.end(), row) != rows.end() ? excluded : grid.Excluded(row);
        left += marked ? 0 : 1;
    }
    return left;
}
}  // namespace

QuilvexDocument::QuilvexDocument() : grid_(kNewTableRows)
{
    history_ = std::make_unique<TableHistory>(
        [this] { return TableSnapshot{Grid().Rows(), fileName_, state_.DataModified, constraints_}; },
        [this](const TableSnapshot& table) { Restore(table); });
}

QuilvexDocument::~QuilvexDocument() = default;

void QuilvexDocument::SetFileName(const QString& name)
{
    fileName_ = name;
    emit fileNameChanged(name);
}

void QuilvexDocument::WriteBackParameter(Parameter p, int value)
{
    const QString text = QString::fromLatin1(FormatGeneral(value, 8));
    SetParameterText(p, text);
    emit parameterWrittenBack(p, text, value);
}

void QuilvexDocument::SetMethodChecked(Method m, bool checked)
{
    if (methods_[static_cast<int>(m)] == checked)
        return;
    methods_[static_cast<int>(m)] = checked;
    emit methodCheckedChanged(m, checked);
}

void QuilvexDocument::SetGraphingEnabled(bool enabled)
{
    if (graphingEnabled_ == enabled)
        return;
    graphingEnabled_ = enabled;
    emit graphingEnabledChanged(enabled);
}

void QuilvexDocument::SetWeighting(Weighting weighting)
{
    if (weighting_ == weighting)
        return;
    weighting_ = weighting;
    emit weightingChanged(weighting);
    DrawGraph();
}

void QuilvexDocument::SetWeightedCurvesShown(bool shown)
{
    if (weightedCurves_ == shown)
        return;
    weightedCurves_ = shown;
    DrawGraph();
}

bool QuilvexDocument::SetPointsExcluded(const std::vector<int>& rows, bool excluded)
{
    if (excluded && PointsLeftInFits(grid_, rows, true) < kFewestFitted)
        return false;
    for (int row : rows)
        grid_.SetExcluded(row, excluded);
    state_.DataModified = true;
    DrawGraph();
    RecordStep(excluded ? QStringLiteral("exclude points") : QStringLiteral("include points"));
    return true;
}

void QuilvexDocument::SetConstraints(const MethodConstraints& constraints)
{
    if (constraints_ == constraints)
        return;
    TakeFileConstraints(constraints);
    DrawGraph();
    RecordStep(QStringLiteral("constraints"));
}

void QuilvexDocument::TakeFileConstraints(const MethodConstraints& constraints)
{
    if (constraints_ == constraints)
        return;
    constraints_ = constraints;
    emit constraintsChanged();
}

void QuilvexDocument::Restore(const TableSnapshot& table)
{
    Grid().SetRows(table.rows);
    SetFileName(table.fileName);
    state_.DataModified = table.dataModified;
    TakeFileConstraints(table.constraints);
    emit tableRestored();
}

}  // namespace quilvex
