#include "ui/richtext.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "ui/look.h"

namespace quilvex {

RichTextArea::RichTextArea(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QTextEdit::NoWrap);
}

void RichTextArea::ClearLines()
{
    clear();
    empty_ = true;
}

void RichTextArea::SetFontName(const QString& family) { family_ = family; }

void RichTextArea::AppendLine(const std::string& text)
{
    QTextCharFormat format;
    format.setFontFamilies({family_});
    format.setForeground(ToQColor(style_.color));
    format.setFontWeight(style_.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style_.italic);
    format.setFontPointSize(style_.pointSize);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!empty_)
        cursor.insertBlock();
    cursor.setBlockCharFormat(format);
    cursor.insertText(QString::fromUtf8(text), format);  // the file name in a line is UTF-8
    empty_ = false;
}

void RichTextArea::ShowFirstLine()
{
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

void RichTextArea::ShowLastLine()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

int RichTextArea::LineCount() const { return empty_ ? 0 : document()->blockCount(); }

QString RichTextArea::LineText(int line) const { return document()->findBlockByNumber(line).text(); }

TextStyle RichTextArea::LineStyle(int line) const
{
    const QTextCharFormat f = document()->findBlockByNumber(line).charFormat();
    const QColor c = f.foreground().color();
    return TextStyle{Color{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                           static_cast<std::uint8_t>(c.blue())},
                     f.fontWeight() >= QFont::Bold, f.fontItalic(), static_cast<int>(f.fontPointSize())};
}

}  // namespace quilvex
