#pragma once
// Undo and redo over the table: each step holds the whole table (its rows, the
// fits' constraints and the "Current file" caption) as it was before and after
// the step. A step is
// recorded when an action on the table ends, so the values a replot writes
// in between (the ascending adjustment, a grown or cut row count) belong to
// the step that caused them; a change made outside any step is taken into the
// next one rather than lost. Only the user's steps make the table unsaved.
// A change under way (typing in a cell, a point being dragged) is a change of
// the table before its step ends.
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <vector>

#include "data/datafile.h"
#include "stats/constraints.h"

namespace quilvex {

struct TableSnapshot {
    std::vector<DataRow> rows;
    QString fileName;
    bool dataModified = false;  // restored with the table, not compared
    MethodConstraints constraints;
    bool SameTable(const TableSnapshot& other) const
    {
        return rows == other.rows && fileName == other.fileName && constraints == other.constraints;
    }
};

class TableHistory : public QObject {
    Q_OBJECT
public:
    using Take = std::function<TableSnapshot()>;
    using Restore = std::function<void(const TableSnapshot&)>;
    TableHistory(Take take, Restore restore, QObject* parent = nullptr);
    ~TableHistory() override;

    QUndoStack& Stack() { return stack_; }
    // Ends a step named what: pushed when the table differs from the last step's.
    void Record(const QString& what);
    // Both first record what changed since the last step.
    void Undo();
    void Redo();
    // The table was saved or opened, and the file holds rowsInFile rows with
    // text; a change under way becomes a step first. Closing asks after a
    // later step (or after undoing back past this point), and when a replot
    // has cut the table below the file's rows.
    void MarkSaved(std::size_t rowsInFile);
    // Unsaved: away from the last opened or saved table, or changed since by a
    // change under way. The new table the program starts with holds nothing to save.
    bool Unsaved();
    // The user typed into a cell; the step ends when the editor closes.
    void NoteTyping() { underway_ = QStringLiteral("cell edit"); }
    // The user moved a point of the graph; the step ends when the button is released.
    void NoteDragging() { underway_ = QStringLiteral("drag"); }

private:
    friend class TableStep;
    using Shared = std::shared_ptr<const TableSnapshot>;
    void Apply(const Shared& snapshot);
    // Ends the change under way, or takes in a change made outside any step.
    void RecordUnderway();

    Take take_;
    Restore restore_;
    QUndoStack stack_;
    Shared current_;
    Shared start_;
    QString underway_;  // the name of the step a change under way will end
    std::size_t rowsInFile_ = 0;
};

}  // namespace quilvex
