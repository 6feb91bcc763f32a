#pragma once
// Icons and type names for the file dialogs' entries, taken from the names
// alone. Qt's own provider reads a file's first bytes to tell its type; on a
// special file (as in /proc) that read can block the program.
#include <QFileIconProvider>
#include <QMimeDatabase>

namespace quilvex {

class NameIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QMimeDatabase mimeTypes_;
};

}  // namespace quilvex
