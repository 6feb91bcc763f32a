#pragma once
// A window asked for by the user: restored if minimised, shown, in front and
// with the focus.
#include <QWidget>

namespace quilvex {

inline void BringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace quilvex
