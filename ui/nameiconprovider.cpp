#include "ui/nameiconprovider.h"

#include <QMimeType>

namespace quilvex {

QIcon NameIconProvider::icon(const QFileInfo& info) const { return icon(info.isDir() ? Folder : File); }

QString NameIconProvider::type(const QFileInfo& info) const
{
    if (!info.isFile())
        return QFileIconProvider::type(info);  // tells folders, links and the rest apart by their status
    const QMimeType mime = mimeTypes_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

}  // namespace quilvex
