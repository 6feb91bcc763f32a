#include "ui/look.h"

#include <QPalette>

namespace quilvex {

QFont PixelFont(const QString& family, int pixels, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

void SetTextColor(QWidget* widget, Color c)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(c));
    palette.setColor(QPalette::ButtonText, ToQColor(c));
    palette.setColor(QPalette::Text, ToQColor(c));
    widget->setPalette(palette);
}

void SetBackgroundColor(QWidget* widget, Color c)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ToQColor(c));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace quilvex
