#pragma once
// The table of the "Fit details" window: one row per method with its
// coefficients, intervals and figures. Besides the text on screen, each cell
// gives a number to sort by and its full-precision text for the copies.
#include <QAbstractTableModel>

#include "details/detailsjob.h"

namespace quilvex {

enum DetailsColumn { kMethodCol, kFormulaCol, kCoefficientsCol, kIntervalsCol, kSsrCol, kRmsCol, kR2Col,
                     kAdjR2Col, kAiccCol, kDeltaAiccCol, kWarningsCol, kDetailsColumns };
// With a weighting chosen, the weighted rows' figures follow (empty on the
// other rows); "se (σ exact)" under the weighting sigma only.
enum WeightedColumn { kChi2Col = kDetailsColumns, kDofCol, kChi2ReducedCol, kPValueCol, kSeScaledCol,
                      kSeAbsoluteCol, kAllDetailsColumns };

// The columns the table has under a weighting.
int DetailsColumnsFor(Weighting weighting);

inline constexpr int kSortRole = Qt::UserRole;        // a number, or the text; undefined figures sort last
inline constexpr int kCopyRole = Qt::UserRole + 1;    // 18 significant digits, "." as decimal point
// True on the row with the lowest AICc of the least-squares fits. Where one of
// them has no AICc no row is marked, ΔAICc is not given, and the tool tips of
// the AICc and ΔAICc headings and cells say why.
inline constexpr int kMarkedRole = Qt::UserRole + 2;

class DetailsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetResult(DetailsResult result);
    const DetailsResult& Result() const { return result_; }
    // Why no row is marked as the lowest AICc; empty when one is.
    const QString& MarkNote() const { return markNote_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString Text(int row, int column, bool full) const;
    std::optional<Real> Number(int row, int column) const;
    QVariant SortKey(int row, int column) const;
    std::optional<Real> BestAicc() const;

    DetailsResult result_;
    int marked_ = -1;
    QString markNote_;  // why no row is marked, where a least-squares fit has no AICc
};

// The row's name as the window shows it: "Regression order 3 polynomial", "Power, least squares",
// "Regression order 3 polynomial, stable solver", ...
QString MethodTitle(const MethodFigures& row, int points);

}  // namespace quilvex
