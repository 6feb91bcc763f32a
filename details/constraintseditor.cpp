#include "details/constraintseditor.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace quilvex {

namespace {

// A number as the held values are read, "." as decimal point whatever the locale.
std::optional<Real> ReadValue(const QString& text)
{
    const auto held = ParseHeld("v=" + text.trimmed().toStdString());
    return held ? std::optional<Real>(held->value) : std::nullopt;
}

// The fewest digits that read back to v, so that OK on an unchanged editor changes nothing.
QString ValueText(Real v) { return QString::fromStdString(ExactDigits(v)); }

QString Quoted(const QString& text) { return "'" + text + "'"; }

// "a1=2, a3=0", "a1 = 2 a3=0": comma or blank separated NAME=VALUE.
QStringList HeldWords(QString text)
{
    text.replace(QRegularExpression("\\s*=\\s*"), "=");
    return text.split(QRegularExpression("[,\\s]+"), Qt::SkipEmptyParts);
}

QLineEdit* NumberEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaximumWidth(110);
    edit->setEnabled(false);
    return edit;
}

}  // namespace

std::optional<StatsMethod> ConstrainableModelOf(StatsMethod method)
{
    if (MethodConstraints().Of(method) == nullptr)
        return std::nullopt;
    return method.fit == Method::Regression ? StatsMethod::Regression : StatsMethod{method.fit, true};
}

ConstraintsEditor::ConstraintsEditor(QuilvexDocument& document, QWidget* parent)
    : QDialog(parent), document_(document)
{
    setModal(false);
    BuildControls();
    NameControls();
}

void ConstraintsEditor::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    RegressionPart = new QWidget(this);
    auto* regression = new QFormLayout(RegressionPart);
    regression->setContentsMargins(0, 0, 0, 0);
    OriginCheckBox = new QCheckBox("Through the &origin (a0 = 0)", RegressionPart);
    regression->addRow(OriginCheckBox);
    PointCheckBox = new QCheckBox("Through the &point", RegressionPart);
    PointXEdit = NumberEdit(RegressionPart);
    PointYEdit = NumberEdit(RegressionPart);
    auto* point = new QHBoxLayout;
    point->addWidget(PointCheckBox);
    point->addWidget(new QLabel("X:", RegressionPart));
    point->addWidget(PointXEdit);
    point->addWidget(new QLabel("Y:", RegressionPart));
    point->addWidget(PointYEdit);
    regression->addRow(point);
    HeldEdit = new QLineEdit(RegressionPart);
    HeldEdit->setPlaceholderText("a1=2, a3=0");
    regression->addRow("&Hold coefficients:", HeldEdit);
    layout->addWidget(RegressionPart);

    NlsPart = new QWidget(this);
    auto* nls = new QFormLayout(NlsPart);
    nls->setContentsMargins(0, 0, 0, 0);
    HoldACheckBox = new QCheckBox("Hold &a at", NlsPart);
    HoldAEdit = NumberEdit(NlsPart);
    nls->addRow(HoldACheckBox, HoldAEdit);
    HoldBCheckBox = new QCheckBox("Hold &b at", NlsPart);
    HoldBEdit = NumberEdit(NlsPart);
    nls->addRow(HoldBCheckBox, HoldBEdit);
    layout->addWidget(NlsPart);

    ErrorLabel = new QLabel(this);
    ErrorLabel->setWordWrap(true);
    ErrorLabel->setStyleSheet("color: #c00000");
    ErrorLabel->hide();
    layout->addWidget(ErrorLabel);

    auto* buttons = new QHBoxLayout;
    OkButton = new QPushButton("OK", this);
    OkButton->setDefault(true);
    ClearButton = new QPushButton("C&lear", this);
    CancelButton = new QPushButton("Cancel", this);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(ClearButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);

    connect(PointCheckBox, &QCheckBox::toggled, PointXEdit, &QWidget::setEnabled);
    connect(PointCheckBox, &QCheckBox::toggled, PointYEdit, &QWidget::setEnabled);
    connect(HoldACheckBox, &QCheckBox::toggled, HoldAEdit, &QWidget::setEnabled);
    connect(HoldBCheckBox, &QCheckBox::toggled, HoldBEdit, &QWidget::setEnabled);
    connect(OkButton, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(ClearButton, &QPushButton::clicked, this, [this] { ClearClicked(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ConstraintsEditor::NameControls()
{
    const std::pair<QObject*, const char*> controls[] = {
        {this, "ConstraintsEditor"},   {OriginCheckBox, "OriginCheckBox"}, {PointCheckBox, "PointCheckBox"},
        {PointXEdit, "PointXEdit"},     {PointYEdit, "PointYEdit"},         {HeldEdit, "HeldEdit"},
        {HoldACheckBox, "HoldACheckBox"}, {HoldAEdit, "HoldAEdit"},         {HoldBCheckBox, "HoldBCheckBox"},
        {HoldBEdit, "HoldBEdit"},       {ErrorLabel, "ErrorLabel"},         {OkButton, "OkButton"},
        {ClearButton, "ClearButton"},   {CancelButton, "CancelButton"}};
    for (const auto& [control, name] : controls)
        control->setObjectName(name);
}

void ConstraintsEditor::Open(StatsMethod method)
{
    method_ = method;
    setWindowTitle("Constraints: " + QString::fromStdString(StatsMethodName(method)));
    const bool regression = method.fit == Method::Regression;
    RegressionPart->setVisible(regression);
    NlsPart->setVisible(!regression);
    ErrorLabel->hide();
    ShowConstraints(*document_.GetConstraints().Of(method));
    adjustSize();
    show();
    raise();
    activateWindow();
}

void ConstraintsEditor::ShowConstraints(const Constraints& c)
{
    OriginCheckBox->setChecked(c.throughOrigin);
    PointCheckBox->setChecked(c.through.has_value());
    PointXEdit->setText(c.through ? ValueText(c.through->first) : QString());
    PointYEdit->setText(c.through ? ValueText(c.through->second) : QString());
    QStringList held;
    HoldACheckBox->setChecked(false);
    HoldBCheckBox->setChecked(false);
    HoldAEdit->clear();
    HoldBEdit->clear();
    for (const HeldCoefficient& h : c.held) {
        held << QString::fromStdString(h.name) + "=" + ValueText(h.value);
        QCheckBox* box = h.name == "a" ? HoldACheckBox : h.name == "b" ? HoldBCheckBox : nullptr;
        if (box != nullptr) {
            box->setChecked(true);
            (box == HoldACheckBox ? HoldAEdit : HoldBEdit)->setText(ValueText(h.value));
        }
    }
    HeldEdit->setText(held.join(", "));
}

std::optional<Constraints> ConstraintsEditor::ReadControls()
{
    Constraints c;
    if (method_.fit != Method::Regression) {
        const struct {
            QCheckBox* box;
            QLineEdit* edit;
            const char* name;
        } holds[] = {{HoldACheckBox, HoldAEdit, "a"}, {HoldBCheckBox, HoldBEdit, "b"}};
        for (const auto& hold : holds) {
            if (!hold.box->isChecked())
                continue;
            const auto value = ReadValue(hold.edit->text());
            if (!value) {
                ShowError(QString("Hold %1 at: %2 is not a number").arg(hold.name, Quoted(hold.edit->text())));
                return std::nullopt;
            }
            c.held.push_back({hold.name, *value});
        }
        return c;
    }
    c.throughOrigin = OriginCheckBox->isChecked();
    if (PointCheckBox->isChecked()) {
        const auto x = ReadValue(PointXEdit->text()), y = ReadValue(PointYEdit->text());
        if (!x || !y) {
            ShowError(QString("The point's %1 is not a number: %2")
                          .arg(x ? "Y" : "X", Quoted((x ? PointYEdit : PointXEdit)->text())));
            return std::nullopt;
        }
        c.through = std::pair<Real, Real>{*x, *y};
    }
    for (const QString& word : HeldWords(HeldEdit->text())) {
        const auto held = ParseHeld(word.toStdString());
        if (!held) {
            ShowError("Cannot read " + Quoted(word) + " as NAME=VALUE, as in a1=2");
            return std::nullopt;
        }
        if (held->name == "a" || held->name == "b") {
            ShowError("The regression has no coefficient named " + Quoted(QString::fromStdString(held->name)));
            return std::nullopt;
        }
        c.held.push_back(*held);
    }
    return c;
}

void ConstraintsEditor::ShowError(const QString& text)
{
    ErrorLabel->setText(text);
    ErrorLabel->show();
}

void ConstraintsEditor::OkClicked()
{
    const std::optional<Constraints> c = ReadControls();
    if (!c)
        return;
    if (const auto why = WhyConstraintsInvalid(*c, method_, document_.State().RegrOrd)) {
        ShowError(QString::fromStdString(*why));
        return;
    }
    Replace(*c);
}

void ConstraintsEditor::ClearClicked() { Replace({}); }

void ConstraintsEditor::Replace(const Constraints& c)
{
    MethodConstraints all = document_.GetConstraints();
    *all.Of(method_) = c;
    document_.SetConstraints(all);
    accept();
}

}  // namespace quilvex
