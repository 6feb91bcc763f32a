#include "ui/filedrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace quilvex {

FileDrop::FileDrop(Opener open, QObject* parent) : QObject(parent), open_(std::move(open)) {}

void FileDrop::Watch(QWidget* window)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

std::optional<std::string> FileDrop::FirstLocalFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile().toLocal8Bit().toStdString();
    return std::nullopt;
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<std::string> name = FirstLocalFile(drop->mimeData());
    if (!name)
        return QObject::eventFilter(watched, event);
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // Opened once the drop has ended, so that the program that dragged the
        // file is not kept waiting while a warning box is open.
        QTimer::singleShot(0, this, [open = open_, file = *name] { open(file); });
    }
    return true;
}

}  // namespace quilvex
