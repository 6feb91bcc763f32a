#include "ui/textgrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "ui/look.h"

namespace quilvex {

namespace {
constexpr int kRowHeight = 14;
constexpr int kColumnWidth = 64;
const char* const kTextBeforeEdit = "quilvexTextBeforeEdit";

// The in-place editor hands its text to the grid at every keystroke, so that
// whatever runs next (a replot, "Save as") sees what the editor shows.
class LiveCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
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
};

}  // namespace

TextGrid::TextGrid(int rows, QWidget* parent) : QTableView(parent), model_(rows)
{
    setModel(&model_);
    setItemDelegate(new LiveCellDelegate(this));
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
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(true);
}

void TextGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Escape takes back what was typed since the editor opened.
    if (hint == QAbstractItemDelegate::RevertModelCache) {
        const QModelIndex cell = indexAt(editor->geometry().center());
        const QVariant before = editor->property(kTextBeforeEdit);
        if (cell.isValid() && before.isValid())
            model_.setData(cell, before, Qt::EditRole);
    }
    QTableView::closeEditor(editor, hint);
}

}  // namespace quilvex
