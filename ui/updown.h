#pragma once
// An up-down spinner bound to an edit: the arrows step the position by the
// increment within Min..Max (no wrap-around) and write it into the edit. The
// edit's text stays free text; a click steps from the number the edit shows.
#include <QLineEdit>
#include <QWidget>

class QToolButton;

namespace quilvex {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int min, int max, int increment, int position, QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Increment() const { return increment_; }
    int Position() const { return position_; }
    // The position is kept within Min..Max, as the control itself can show no other.
    void SetPosition(int position);
    void StepUp() { Step(+1); }
    void StepDown() { Step(-1); }

private:
    void Step(int direction);

    QLineEdit* associate_;
    int min_, max_, increment_, position_ = 0;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

}  // namespace quilvex
