#pragma once
// The data grid window control: two text columns edited in place (a third,
// sigma, while the model shows it), one row per point, no headings; a view of
// a model that outlives it. Its context menu and Ctrl+E ask to exclude or
// include the selected rows.
#include <QTableView>

#include "ui/gridmodel.h"

namespace quilvex {

class TextGrid : public QTableView {
    Q_OBJECT
public:
    explicit TextGrid(GridModel& model, QWidget* parent = nullptr);

    // The block of text put in at the current cell, rows added as needed.
    void PasteBlock(const std::string& text);
    // The selected cells as tab-separated lines, the texts as stored.
    std::string SelectedText() const;
    void ClearSelection();
    // The rows holding a selected cell, in order.
    std::vector<int> SelectedRows() const;

signals:
    // After a paste or a clear, as one change of the table.
    void blockPasted();
    void blockCleared();
    // A cell's editor closed: the typing in it is over.
    void editFinished();
    // The user asks to leave the selected rows out of the fits, or to take them back.
    void exclusionAsked(const std::vector<int>& rows, bool excluded);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Copy, paste, select all and clear of whole cells; false for other keys.
    bool BlockKey(QKeyEvent* event, bool inEditor);
    // Enter: X to Y, Y to the next row's X; the last cell keeps the focus.
    void EditNextCell();
    // A paste is one step: Escape in the open editor takes back only what is
    // typed after it.
    void KeepPastedTextOnEscape();
    // Three narrower columns while sigma shows, the designed two otherwise.
    void FitColumns(bool sigmaShown);
    // Ctrl+E: excludes the selected rows unless all of them are excluded already.
    void ToggleExclusion();

    GridModel& model_;
};

}  // namespace quilvex
