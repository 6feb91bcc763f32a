#include "ui/updown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "data/numtext.h"

namespace quilvex {

UpDown::UpDown(QLineEdit* associate, int min, int max, int increment, int position, QWidget* parent)
    : QWidget(parent), associate_(associate), min_(min), max_(max), increment_(increment)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, &UpDown::StepUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::StepDown);
    SetPosition(position);
}

void UpDown::SetPosition(int position) { position_ = std::clamp(position, min_, max_); }

void UpDown::Step(int direction)
{
    const int shown = TextToInt(associate_->text().toLatin1().toStdString(), position_);
    const long long next = static_cast<long long>(std::clamp(shown, min_, max_)) + direction * increment_;
    SetPosition(static_cast<int>(std::clamp<long long>(next, min_, max_)));
    associate_->setText(QString::number(position_));
}

}  // namespace quilvex
