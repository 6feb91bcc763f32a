#pragma once
// A label whose click gives the keyboard focus to its focus control.
#include <QLabel>

namespace quilvex {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    QWidget* FocusControl = nullptr;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QLabel::mousePressEvent(event);
        emit clicked();
    }
};

}  // namespace quilvex
