// The Edit menu and the table's undo history; the question before closing a
// table with unsaved changes.
#include <QMenuBar>

#include "mainwin/QuilvexD.h"

namespace quilvex {

namespace {
const char* const kUnsavedQuestion = "The table has changes that are not saved. Save them before closing?";
}  // namespace

void TQuilvexForm::BuildHistory()
{
    history_ = new TableHistory([this] { return TableSnapshot{Grid().Rows(), FileNameLabel->text(), state_.DataModified}; },
                                [this](const TableSnapshot& table) { ShowTable(table); }, this);
    auto* MenuEdit = new QMenu("&Edit", this);
    menuBar()->insertMenu(Status1, MenuEdit);
    // The stack's own actions follow its steps' names and are enabled only when
    // there is a step; triggered, they first record what changed since the last step.
    QUndoStack& stack = history_->Stack();
    UndoAction = stack.createUndoAction(this);
    disconnect(UndoAction, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(UndoAction, &QAction::triggered, this, [this] { history_->Undo(); });
    UndoAction->setShortcut(QKeySequence::Undo);
    RedoAction = stack.createRedoAction(this);
    disconnect(RedoAction, &QAction::triggered, &stack, &QUndoStack::redo);
    connect(RedoAction, &QAction::triggered, this, [this] { history_->Redo(); });
    RedoAction->setShortcut(QKeySequence::Redo);
    MenuEdit->addAction(UndoAction);
    MenuEdit->addAction(RedoAction);
}

void TQuilvexForm::ShowTable(const TableSnapshot& table)
{
    Grid().SetRows(table.rows);
    FileNameLabel->setText(table.fileName);
    FileNameLabel->adjustSize();
    state_.DataModified = table.dataModified;
    DrawGraph();
}

bool TQuilvexForm::MayClose()
{
    if (!history_->Unsaved())
        return true;
    switch (dialogs_.MessageBox(BoxType::Warning, kUnsavedQuestion, BoxButtons::SaveDiscardCancel)) {
    case BoxAnswer::Discard: return true;
    case BoxAnswer::Save: Saveas1Click(); return !history_->Unsaved();
    default: return false;
    }
}

}  // namespace quilvex
