#include "details/detailsmodel.h"

#include <QApplication>
#include <QFont>
#include <QStyle>
#include <cmath>
#include <limits>

#include "data/numtext.h"
#include "report/core/fitquality.h"

namespace quilvex {

namespace {

constexpr int kScreenDigits = 6;
constexpr int kCopyDigits = 18;
const QColor kMarkedBackground(214, 240, 214);

const char* const kHeadings[kDetailsColumns] = {"Method", "Formula", "Coefficients (value ± SE)", "95 % interval",
                                                "SSR",    "RMS",     "R²",  "Adjusted R²", "AICc", "ΔAICc",
                                                "Warnings"};
const char* const kWeightedHeadings[int{kAllDetailsColumns} - int{kDetailsColumns}] = {"χ²", "dof", "χ²/dof", "p-value",
                                                                            "se (scaled)", "se (σ exact)"};

// Numbers sort and align right: the designed figures and the weighted ones.
bool IsNumberColumn(int column)
{
    return (column >= kSsrCol && column <= kDeltaAiccCol) || (column >= kChi2Col && column <= kPValueCol);
}

QString Digits(Real v, bool full)
{
    return QString::fromStdString(full ? FormatGeneral(v, kCopyDigits, '.') : FormatGeneral(v, kScreenDigits));
}

QString ModelFormula(Method method)
{
    switch (method) {
    case Method::Spline: return "cubic spline through every point";
    case Method::Lagrange: return "polynomial through every point";
    case Method::LagrangeOrd: return "piecewise polynomial through the nearest points";
    case Method::Regression: return "y = a0 + a1 x + … + am x^m";
    case Method::Exponential: return "y = a e^(b x)";
    case Method::Logarithmic: return "y = a + b ln x";
    case Method::Power: return "y = a x^b";
    }
    return {};
}

QString Joined(const std::vector<std::string>& parts, const QString& separator)
{
    QStringList list;
    for (const std::string& part : parts)
        list << QString::fromStdString(part);
    return list.join(separator);
}

QString Formula(StatsMethod method)
{
    const QString model = ModelFormula(method.fit);
    if (method.weighted)
        return model + (FittingOf(method.fit) == Fitting::LeastSquaresLnY && !method.trueLeastSquares
                            ? ", weighted least squares of ln y"
                            : ", weighted least squares");
    if (method.stableSolver)
        return model + ", least squares by a stable solver";
    if (LeastSquaresInY(method))
        return model + ", least squares";
    if (FittingOf(method.fit) == Fitting::LeastSquaresLnY)
        return model + ", least squares of ln y";
    return model;
}

// A constrained row's formula names its constraints: "…, least squares [a0=0, a2=1.5]".
QString Formula(const MethodFigures& row)
{
    const bool weighted = row.method.constrained && MeasuredByChi2(row);
    const QString formula = weighted ? ModelFormula(row.method.fit) + ", weighted least squares" : Formula(row.method);
    return row.constraints.empty() ? formula : formula + " [" + Joined(row.constraints, ", ") + "]";
}


// For the regression: how many significant digits of the designed
// coefficients the stable solver's confirm.
QString AgreementLine(const MethodFigures& row)
{
    if (!row.agreementDigits.value)
        return {};
    return "Designed coefficients agree with the stable solver's to " +
           QString::fromStdString(FormatGeneral(*row.agreementDigits.value, 3)) + " significant digits\n";
}

// Each coefficient's standard error, scaled or with sigma taken as exact, on a weighted row.
QString WeightedErrors(const MethodFigures& row, bool absolute, bool full)
{
    QStringList parts;
    if (!MeasuredByChi2(row))
        return {};
    for (const Coefficient& c : row.coefficients)
        if (const auto se = absolute ? c.seAbsolute : c.se)
            parts << QString::fromStdString(c.name) + ": " + Digits(*se, full);
    return parts.join("; ");
}

}  // namespace

int DetailsColumnsFor(Weighting weighting)
{
    switch (weighting) {
    case Weighting::None: return kDetailsColumns;
    case Weighting::Sigma: return kAllDetailsColumns;
    case Weighting::Y:
    case Weighting::Y2: break;
    }
    return kSeAbsoluteCol;
}

QString MethodTitle(const MethodFigures& row, int points)
{
    const QString name = QString::fromStdString(FitMethodName(row.method.fit, row.order.value_or(points - 1)));
    if (row.method.weighted)
        return name + (row.method.trueLeastSquares ? ", least squares, weighted" : ", weighted");
    if (row.method.stableSolver)
        return name + ", stable solver";
    if (row.method.constrained)
        return name + (row.method.trueLeastSquares ? ", least squares, constrained" : ", constrained");
    return row.method.trueLeastSquares ? name + ", least squares" : name;
}

void DetailsModel::SetResult(DetailsResult result)
{
    const bool sameRows = result.input.methods == result_.input.methods && result.rows.size() == result_.rows.size() &&
                          result.input.weighting == result_.input.weighting;
    if (!sameRows)
        beginResetModel();
    result_ = std::move(result);
    const AiccMark mark = LowestAicc(result_.rows);
    marked_ = mark.best ? static_cast<int>(*mark.best) : -1;
    markNote_.clear();
    if (mark.withoutAicc) {
        const MethodFigures& row = result_.rows[*mark.withoutAicc];
        markNote_ = "No lowest AICc marked, as " + MethodTitle(row, static_cast<int>(result_.input.table.x.size())) +
                    " has none: " + QString::fromStdString(row.aicc.whyUndefined);
    }
    if (!sameRows)
        endResetModel();
    else if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, kAiccCol, kDeltaAiccCol);
}

std::optional<Real> DetailsModel::BestAicc() const
{
    if (marked_ < 0)
        return std::nullopt;
    return result_.rows[static_cast<std::size_t>(marked_)].aicc.value;
}

int DetailsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(result_.rows.size());
}

int DetailsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : DetailsColumnsFor(result_.input.weighting);
}

std::optional<Real> DetailsModel::Number(int r, int column) const
{
    const MethodFigures& row = result_.rows[static_cast<std::size_t>(r)];
    switch (column) {
    case kSsrCol: return row.ssr.value;
    case kRmsCol: return row.rms.value;
    case kR2Col: return row.r2.value;
    case kAdjR2Col: return row.adjR2.value;
    case kAiccCol: return row.aicc.value;
    case kDeltaAiccCol: {
        const auto best = BestAicc();
        if (best && row.aicc.value)
            return *row.aicc.value - *best;
        return std::nullopt;
    }
    case kChi2Col: return row.chi2.value;
    case kDofCol: return row.dof ? std::optional<Real>(*row.dof) : std::nullopt;
    case kChi2ReducedCol: return row.chi2Reduced.value;
    case kPValueCol: return row.pValue.value;
    default: return std::nullopt;
    }
}

QString DetailsModel::Text(int r, int column, bool full) const
{
    const MethodFigures& row = result_.rows[static_cast<std::size_t>(r)];
    const int points = static_cast<int>(result_.input.table.x.size());
    QStringList parts;
    switch (column) {
    case kMethodCol: return MethodTitle(row, points);
    case kFormulaCol: return Formula(row);
    case kCoefficientsCol:
        for (const Coefficient& c : row.coefficients)
            parts << QString::fromStdString(c.name) + " = " + Digits(c.value, full) +
                         (c.se ? " ± " + Digits(*c.se, full) : QString());
        return parts.join("; ");
    case kIntervalsCol:
        for (const Coefficient& c : row.coefficients)
            if (c.ci95)
                parts << QString::fromStdString(c.name) + ": [" + Digits((*c.ci95)[0], full) + ", " +
                             Digits((*c.ci95)[1], full) + "]";
        return parts.join("; ");
    case kWarningsCol:
        if (!row.failure.empty())
            parts << QString::fromStdString(row.failure);
        for (const std::string& w : row.warnings)
            parts << QString::fromStdString(w);
        return parts.join("; ");
    case kSeScaledCol:
    case kSeAbsoluteCol: return WeightedErrors(row, column == kSeAbsoluteCol, full);
    default: {
        const auto v = Number(r, column);
        if (v)
            return Digits(*v, full);
        return full ? QString() : QString("–");
    }
    }
}

QVariant DetailsModel::SortKey(int r, int column) const
{
    if (!IsNumberColumn(column))
        return Text(r, column, false);
    const auto v = Number(r, column);
    return v ? static_cast<double>(*v) : std::numeric_limits<double>::infinity();
}

QVariant DetailsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int r = index.row(), column = index.column();
    const MethodFigures& row = result_.rows[static_cast<std::size_t>(r)];
    const bool warned = !row.failure.empty() || !row.warnings.empty();
    switch (role) {
    case Qt::DisplayRole: return Text(r, column, false);
    case kCopyRole: return Text(r, column, true);
    case kSortRole: return SortKey(r, column);
    case kMarkedRole: return r == marked_;
    case Qt::BackgroundRole: return r == marked_ ? QVariant(kMarkedBackground) : QVariant();
    case Qt::FontRole: {
        if (r != marked_)
            return {};
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::DecorationRole:
        if (column == kWarningsCol && warned)
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::ToolTipRole:
        if (column == kWarningsCol)
            return (Text(r, column, false).replace("; ", "\n") + "\n\n" + AgreementLine(row) +
                    Joined(row.notes, "\n"))
                .trimmed();
        if (column == kMethodCol && r == marked_)
            return "The lowest AICc of the least-squares fits";
        if ((column == kAiccCol || column == kDeltaAiccCol) && !markNote_.isEmpty())
            return markNote_;
        if (column == kCoefficientsCol || column == kIntervalsCol)
            return Text(r, column, false).replace("; ", "\n");
        return {};
    case Qt::TextAlignmentRole:
        return IsNumberColumn(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default: return {};
    }
}

QVariant DetailsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kDetailsColumns)
        return QString(kHeadings[section]);
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= kDetailsColumns && section < columnCount())
        return QString(kWeightedHeadings[section - kDetailsColumns]);
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && (section == kAiccCol || section == kDeltaAiccCol) &&
        !markNote_.isEmpty())
        return markNote_;
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace quilvex
