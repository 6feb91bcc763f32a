#pragma once
// The small window that edits one method's constraints: the regression
// through the origin, through a point or with coefficients held; the true
// least-squares exponential and power fits with a or b held. It opens on the
// method's constraints as the document has them and sets only that method's
// set; what it cannot set is said inside it, in red, and nothing changes.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "app/document.h"
#include "stats/constraints.h"

namespace quilvex {

class ConstraintsEditor : public QDialog {
    Q_OBJECT
public:
    ConstraintsEditor(QuilvexDocument& document, QWidget* parent);

    // Shows the editor, without waiting, for the model of the row's method
    // (regression, exponential-nls or power-nls).
    void Open(StatsMethod method);

private:
    void BuildControls();
    void NameControls();
    void ShowConstraints(const Constraints& c);
    // The constraints the controls hold, or nullopt with the error shown.
    std::optional<Constraints> ReadControls();
    void ShowError(const QString& text);
    void OkClicked();
    void ClearClicked();
    void Replace(const Constraints& c);

    QWidget* RegressionPart = nullptr;
    QCheckBox* OriginCheckBox = nullptr;
    QCheckBox* PointCheckBox = nullptr;
    QLineEdit* PointXEdit = nullptr;
    QLineEdit* PointYEdit = nullptr;
    QLineEdit* HeldEdit = nullptr;
    QWidget* NlsPart = nullptr;
    QCheckBox* HoldACheckBox = nullptr;
    QLineEdit* HoldAEdit = nullptr;
    QCheckBox* HoldBCheckBox = nullptr;
    QLineEdit* HoldBEdit = nullptr;
    QLabel* ErrorLabel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* CancelButton = nullptr;

    QuilvexDocument& document_;
    StatsMethod method_ = StatsMethod::Regression;
};

// The model whose constraints the row's editor edits (regression,
// exponential-nls, power-nls), whether the row is free, weighted or
// constrained; nullopt for a method that takes none.
std::optional<StatsMethod> ConstrainableModelOf(StatsMethod method);

}  // namespace quilvex
