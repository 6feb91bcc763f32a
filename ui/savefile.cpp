#include "ui/savefile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>

#include "data/datafile.h"
#include "data/fpfault.h"

namespace quilvex {

void WriteWholeFile(const std::string& name, const QByteArray& bytes)
{
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(name)));
    file.setDirectWriteFallback(true);
    errno = 0;
    // Unbuffered, so that a write that fails is seen here and not lost in a late flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw QuilvexError(ErrnoErrorText(errno != 0 ? errno : EACCES));
    if (file.write(bytes) != bytes.size())
        throw QuilvexError(IoErrorText(101));
    errno = 0;
    if (!file.commit())
        throw QuilvexError(errno != 0 ? ErrnoErrorText(errno) : IoErrorText(101));
}

}  // namespace quilvex
