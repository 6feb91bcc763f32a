#include "ui/textgrid.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStyledItemDelegate>
#include <algorithm>
#include <functional>

#include "data/cellgrid.h"
#include "data/pasteblock.h"

#include "ui/look.h"

namespace quilvex {

namespace {
constexpr int kRowHeight = 14;
constexpr int kColumnWidth = 64;
constexpr int kSigmaColumnWidth = 44;  // three columns within the designed width
const char* const kTextBeforeEdit = "quilvexTextBeforeEdit";

bool IsEnter(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// The in-place editor hands its text to the grid at every keystroke, so that
// whatever runs next (a replot, "Save as") sees what the editor shows.
// Enter hands the editor back to the grid, which moves on to the next cell.
class LiveCellDelegate : public QStyledItemDelegate {
public:
    LiveCellDelegate(QObject* grid, std::function<void()> editNextCell)
        : QStyledItemDelegate(grid), editNextCell_(std::move(editNextCell))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(watched);
        if (editor != nullptr && event->type() == QEvent::KeyPress && IsEnter(*static_cast<QKeyEvent*>(event))) {
            emit commitData(editor);
            editNextCell_();
            return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->installEventFilter(this->parent());  // the grid's own keys
        editor->setProperty(kTextBeforeEdit, index.data(Qt::EditRole));
        QAbstractItemModel* model = const_cast<QAbstractItemModel*>(index.model());
        const QPersistentModelIndex cell(index);
        connect(editor, &QLineEdit::textEdited, editor, [editor, model, cell](const QString& text) {
            if (cell.isValid())
                model->setData(cell, text, Qt::EditRole);
            const QString kept = cell.isValid() ? cell.data(Qt::EditRole).toString() : text;
            if (kept != text) {  // a line break or control character the cell does not hold
                const int cursor = editor->cursorPosition();
                editor->setText(kept);
                editor->setCursorPosition(std::min(cursor, static_cast<int>(kept.size())));
            }
        });
        return editor;
    }

    // Rewritten only when the grid's text differs, so typing keeps its cursor;
    // a value the program writes into the cell shows in the open editor.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (line->text() != text)
            line->setText(text);
    }

private:
    std::function<void()> editNextCell_;
};

}  // namespace

TextGrid::TextGrid(GridModel& model, QWidget* parent) : QTableView(parent), model_(model)
{
    setModel(&model_);
    setItemDelegate(new LiveCellDelegate(this, [this] { EditNextCell(); }));
    setFont(PixelFont("Arial", 9));
    SetTextColor(this, colors::Black);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    setShowGrid(true);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab leaves the grid for the next control; arrows and Enter move between cells.
    setTabKeyNavigation(false);
    connect(&model_, &GridModel::sigmaShownChanged, this, [this](bool shown) { FitColumns(shown); });
    if (model_.SigmaShown())
        FitColumns(true);
}

void TextGrid::FitColumns(bool sigmaShown)
{
    const int width = sigmaShown ? kSigmaColumnWidth : kColumnWidth;
    for (int col = 0; col < model_.columnCount(); ++col)
        setColumnWidth(col, width);
}

void TextGrid::EditNextCell()
{
    const QModelIndex at = currentIndex();
    if (!at.isValid())
        return;
    const bool lastColumn = at.column() + 1 >= model_.columnCount();
    const QModelIndex next = lastColumn ? at.sibling(at.row() + 1, 0) : at.siblingAtColumn(at.column() + 1);
    if (next.isValid()) {
        setCurrentIndex(next);  // closes the editor of the cell left, opens one at the next
    } else if (QWidget* editor = indexWidget(at)) {
        closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
    }
}

void TextGrid::KeepPastedTextOnEscape()
{
    if (QWidget* editor = indexWidget(currentIndex()))
        editor->setProperty(kTextBeforeEdit, currentIndex().data(Qt::EditRole));
}

void TextGrid::PasteBlock(const std::string& text)
{
    const std::vector<PastedRow> rows = SplitPastedBlock(text);
    if (rows.empty())
        return;
    const QModelIndex at = currentIndex();
    const int top = at.isValid() ? at.row() : 0, left = at.isValid() ? at.column() : 0;
    // A block of three columns fills sigma even while its column is hidden.
    const bool threeColumns = std::any_of(rows.begin(), rows.end(), [](const PastedRow& r) { return r.size() >= 3; });
    const int columns = model_.SigmaShown() || threeColumns ? 3 : 2;
    model_.SetRowCount(std::max(model_.RowCount(), top + static_cast<int>(rows.size())));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = 0; j < rows[i].size() && left + static_cast<int>(j) < columns; ++j)
            model_.SetCell(left + static_cast<int>(j), top + static_cast<int>(i), rows[i][j]);
    KeepPastedTextOnEscape();
    emit blockPasted();
}

std::string TextGrid::SelectedText() const
{
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        return {};
    int top = model_.RowCount(), bottom = -1, left = 3, right = -1;
    for (const QModelIndex& cell : cells) {
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    std::string text;
    for (int row = top; row <= bottom; ++row) {
        for (int col = left; col <= right; ++col)
            text += model_.Cell(col, row) + (col < right ? "\t" : "\n");
    }
    return text;
}

void TextGrid::ClearSelection()
{
    bool cleared = false;
    for (const QModelIndex& cell : selectionModel()->selectedIndexes()) {
        if (!model_.Cell(cell.column(), cell.row()).empty()) {
            model_.SetCell(cell.column(), cell.row(), "");
            cleared = true;
        }
    }
    if (cleared)
        emit blockCleared();
}

std::vector<int> TextGrid::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& cell : selectionModel()->selectedIndexes())
        rows.push_back(cell.row());
    if (rows.empty() && currentIndex().isValid())
        rows.push_back(currentIndex().row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TextGrid::ToggleExclusion()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    const bool allExcluded = std::all_of(rows.begin(), rows.end(), [this](int row) { return model_.Excluded(row); });
    emit exclusionAsked(rows, !allExcluded);
}

void TextGrid::contextMenuEvent(QContextMenuEvent* event)
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    QMenu menu(this);
    menu.addAction("Exclude point", this, [this, rows] { emit exclusionAsked(rows, true); });
    menu.addAction("Include point", this, [this, rows] { emit exclusionAsked(rows, false); });
    menu.exec(event->globalPos());
}

bool TextGrid::BlockKey(QKeyEvent* event, bool inEditor)
{
    if (event->key() == Qt::Key_E && event->modifiers() == Qt::ControlModifier) {
        ToggleExclusion();
        return true;
    }
    const bool severalCells = selectionModel()->selectedIndexes().size() > 1;
    if (event->matches(QKeySequence::Paste)) {
        PasteBlock(QGuiApplication::clipboard()->text().toLatin1().toStdString());
        return true;
    }
    if (event->matches(QKeySequence::Copy) && (severalCells || !inEditor)) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(SelectedText()));
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return true;
    }
    if (event->matches(QKeySequence::Delete) && (severalCells || !inEditor)) {
        ClearSelection();
        return true;
    }
    return false;
}

void TextGrid::keyPressEvent(QKeyEvent* event)
{
    if (IsEnter(*event))
        EditNextCell();
    else if (!BlockKey(event, false))
        QTableView::keyPressEvent(event);
}

bool TextGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (qobject_cast<QLineEdit*>(watched) == nullptr)
        return QTableView::eventFilter(watched, event);
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QTableView::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Undo and redo are the table's, not the cell editor's.
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true;
    } else if (event->type() == QEvent::KeyPress) {
        // Shift with left or right widens the block of cells, as up and down do.
        if (key->modifiers() == Qt::ShiftModifier && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
            QTableView::keyPressEvent(key);
            return true;
        }
        if (BlockKey(key, true))
            return true;
    }
    return QTableView::eventFilter(watched, event);
}

void TextGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Escape takes back what was typed since the editor opened or the last paste.
    if (hint == QAbstractItemDelegate::RevertModelCache) {
        const QModelIndex cell = indexAt(editor->geometry().center());
        const QVariant before = editor->property(kTextBeforeEdit);
        if (cell.isValid() && before.isValid())
            model_.setData(cell, before, Qt::EditRole);
    }
    // Tab and Shift+Tab in the editor leave the grid, as they do from the grid itself.
    const bool leaving = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, leaving ? QAbstractItemDelegate::NoHint : hint);
    emit editFinished();
    if (leaving)
        focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}

}  // namespace quilvex
