#include "app/tablehistory.h"

namespace quilvex {

namespace {
constexpr int kUndoSteps = 100;
}

// One step: the table before and after. Its first redo is the action itself,
// which has already happened.
class TableStep : public QUndoCommand {
public:
    TableStep(TableHistory& history, TableHistory::Shared before, TableHistory::Shared after, const QString& what)
        : QUndoCommand(what), history_(history), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { history_.Apply(before_); }
    void redo() override
    {
        if (done_)
            history_.Apply(after_);
        done_ = true;
    }

private:
    TableHistory& history_;
    TableHistory::Shared before_, after_;
    bool done_ = false;
};

TableHistory::TableHistory(Take take, Restore restore, QObject* parent)
    : QObject(parent), take_(std::move(take)), restore_(std::move(restore))
{
    stack_.setUndoLimit(kUndoSteps);
    current_ = std::make_shared<const TableSnapshot>(take_());
    start_ = current_;
}

// The stack announces its emptying when it goes; by then the window that
// listens is half destroyed.
TableHistory::~TableHistory() { stack_.blockSignals(true); }

void TableHistory::Record(const QString& what)
{
    underway_.clear();
    auto now = std::make_shared<const TableSnapshot>(take_());
    if (now->SameTable(*current_))
        return;
    Shared before = current_;
    current_ = now;
    stack_.push(new TableStep(*this, std::move(before), std::move(now), what));
}

void TableHistory::Undo()
{
    RecordUnderway();
    stack_.undo();
}

void TableHistory::Redo()
{
    RecordUnderway();
    stack_.redo();
}

void TableHistory::RecordUnderway()
{
    Record(underway_.isEmpty() ? QStringLiteral("cell edit") : underway_);
}

void TableHistory::Apply(const Shared& snapshot)
{
    restore_(*snapshot);
    // The replot after the restore may adjust values; they belong to this step.
    current_ = std::make_shared<const TableSnapshot>(take_());
}

void TableHistory::MarkSaved(std::size_t rowsInFile)
{
    if (!underway_.isEmpty())
        Record(underway_);
    stack_.setClean();
    rowsInFile_ = rowsInFile;
}

bool TableHistory::Unsaved()
{
    const TableSnapshot now = take_();
    if (now.SameTable(*start_))
        return false;
    if (!underway_.isEmpty() && !now.SameTable(*current_))
        return true;
    // The replot keeps at most the points it can fit: a longer file opened is
    // no longer what the table holds.
    return !stack_.isClean() || RowsHoldingText(now.rows) < rowsInFile_;
}

}  // namespace quilvex
