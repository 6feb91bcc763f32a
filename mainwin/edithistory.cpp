// The Edit menu: the table's undo history, the uncertainties column and the
// exclusion of rows; the question before closing or replacing a table with
// unsaved changes.
#include <QMenuBar>

#include "mainwin/QuilvexD.h"

namespace quilvex {

namespace {
const char* const kUnsavedQuestion = "The table has changes that are not saved. Save them before closing?";
}  // namespace

void TQuilvexForm::BuildHistory()
{
    auto* MenuEdit = new QMenu("&Edit", this);
    menuBar()->insertMenu(Status1, MenuEdit);
    // The stack's own actions follow its steps' names and are enabled only when
    // there is a step; triggered, they first record what changed since the last step.
    QUndoStack& stack = document_.History().Stack();
    UndoAction = stack.createUndoAction(this);
    disconnect(UndoAction, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(UndoAction, &QAction::triggered, this, [this] { document_.History().Undo(); });
    UndoAction->setShortcut(QKeySequence::Undo);
    RedoAction = stack.createRedoAction(this);
    disconnect(RedoAction, &QAction::triggered, &stack, &QUndoStack::redo);
    connect(RedoAction, &QAction::triggered, this, [this] { document_.History().Redo(); });
    RedoAction->setShortcut(QKeySequence::Redo);
    MenuEdit->addAction(UndoAction);
    MenuEdit->addAction(RedoAction);
    MenuEdit->addSeparator();
    SigmaColumnAction = MenuEdit->addAction("Uncertainties &column");
    SigmaColumnAction->setObjectName("SigmaColumnAction");
    SigmaColumnAction->setCheckable(true);
    SigmaColumnAction->setChecked(Grid().SigmaShown());
    // A table with sigma keeps the column whatever the user asks.
    connect(SigmaColumnAction, &QAction::triggered, this, [this](bool on) {
        Grid().SetSigmaWanted(on);
        SigmaColumnAction->setChecked(Grid().SigmaShown());
    });
    connect(&Grid(), &GridModel::sigmaShownChanged, SigmaColumnAction, &QAction::setChecked);
}

void TQuilvexForm::ExcludeRows(const std::vector<int>& rows, bool excluded)
{
    if (!document_.SetPointsExcluded(rows, excluded))
        dialogs_.MessageBox(BoxType::Warning, kTooFewFittedText, BoxButtons::Ok);
}

bool TQuilvexForm::MayLeaveTable()
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
