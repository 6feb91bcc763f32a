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
    TableHistory& history = document_.History();
    auto* MenuEdit = new QMenu("&Edit", this);
    menuBar()->insertMenu(Status1, MenuEdit);
    UndoAction = MenuEdit->addAction("Undo", this, [this] { document_.History().Undo(); });
    UndoAction->setShortcut(QKeySequence::Undo);
    RedoAction = MenuEdit->addAction("Redo", this, [this] { document_.History().Redo(); });
    RedoAction->setShortcut(QKeySequence::Redo);
    connect(&history.Stack(), &QUndoStack::undoTextChanged, this,
            [this](const QString& step) { FollowStep(UndoAction, "Undo", step); });
    connect(&history.Stack(), &QUndoStack::redoTextChanged, this,
            [this](const QString& step) { FollowStep(RedoAction, "Redo", step); });
}

bool TQuilvexForm::MayClose()
{
    if (!document_.Unsaved())
        return true;
    switch (dialogs_.MessageBox(BoxType::Warning, kUnsavedQuestion, BoxButtons::SaveDiscardCancel)) {
    case BoxAnswer::Discard: return true;
    case BoxAnswer::Save: return SaveAs();
    default: return false;
    }
}

}  // namespace quilvex
