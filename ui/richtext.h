#pragma once
// A read-only text area of lines, each appended in the style set before it.
#include <QTextEdit>

#include "graph/core/canvas.h"

namespace quilvex {

struct TextStyle {
    Color color = colors::Black;
    bool bold = false;
    bool italic = false;
    int pointSize = 8;
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

class RichTextArea : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextArea(QWidget* parent = nullptr);

    void ClearLines();
    void SetFontName(const QString& family);
    void SetStyle(const TextStyle& style) { style_ = style; }
    const TextStyle& Style() const { return style_; }
    // The text is UTF-8 and shown as it is (never as markup).
    void AppendLine(const std::string& text);
    // Scroll the view to the start of the first or of the last line.
    void ShowFirstLine();
    void ShowLastLine();

    int LineCount() const;
    QString LineText(int line) const;
    TextStyle LineStyle(int line) const;

private:
    TextStyle style_;
    QString family_ = "MS Sans Serif";
    bool empty_ = true;
};

}  // namespace quilvex
