#pragma once
// The data grid window control: two text columns edited in place, one row per
// point, no headings.
#include <QTableView>

#include "ui/gridmodel.h"

namespace quilvex {

class TextGrid : public QTableView {
    Q_OBJECT
public:
    explicit TextGrid(int rows, QWidget* parent = nullptr);

    GridModel& Model() { return model_; }
    const GridModel& Model() const { return model_; }

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    GridModel model_;
};

}  // namespace quilvex
