#include "ui/busypointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace quilvex {

BusyPointer::BusyPointer(bool show) : shown_(show)
{
    if (shown_)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
}

BusyPointer::~BusyPointer()
{
    if (shown_)
        QGuiApplication::restoreOverrideCursor();
}

}  // namespace quilvex
