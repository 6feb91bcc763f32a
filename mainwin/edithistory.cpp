// The Edit menu and the table's undo history; the question before closing a
// table with unsaved changes.
#include <QMenuBar>

#include "mainwin/QuilvexD.h"

namespace quilvex {

namespace {
const char* const kUnsavedQuestion = "The table has changes that are not saved. Save them before closing?";

void FollowStep(QAction* action, const QString& verb, const QString& step)
{
    action->setText(step.isEmpty() ? verb : verb + " " + step);
}
}  // namespace

void TQuilvexForm::BuildHistory()
{
    history_ = new TableHistory([this] { return TableSnapshot{Grid().Rows(), FileNameLabel->text(), state_.DataModified}; },
                                [this](const TableSnapshot& table) { ShowTable(table); }, this);
    auto* MenuEdit = new QMenu("&Edit", this);
    menuBar()->insertMenu(Status1, MenuEdit);
    UndoAction = MenuEdit->addAction("Undo", this, [this] { history_->Undo(); });
    UndoAction->setShortcut(QKeySequence::Undo);
    RedoAction = MenuEdit->addAction("Redo", this, [this] { history_->Redo(); });
    RedoAction->setShortcut(QKeySequence::Redo);
    connect(&history_->Stack(), &QUndoStack::undoTextChanged, this,
            [this](const QString& step) { FollowStep(UndoAction, "Undo", step); });
    connect(&history_->Stack(), &QUndoStack::redoTextChanged, this,
            [this](const QString& step) { FollowStep(RedoAction, "Redo", step); });
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
    case BoxAnswer::Save: return SaveAs();
    default: return false;
    }
}

}  // namespace quilvex
