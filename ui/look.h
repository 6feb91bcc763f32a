#pragma once
// Fonts and colours as the forms define them: fonts by character height in
// pixels, text colours by RGB.
#include <QFont>
#include <QWidget>

#include "graph/core/canvas.h"

namespace quilvex {

QFont PixelFont(const QString& family, int pixels, bool bold = false, bool italic = false);
QColor ToQColor(Color c);
void SetTextColor(QWidget* widget, Color c);
void SetBackgroundColor(QWidget* widget, Color c);

}  // namespace quilvex
