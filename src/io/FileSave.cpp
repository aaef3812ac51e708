#include "io/FileSave.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace FileSave
{

SaveStatus WriteAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    // A read-only file must stay as it is, even though replacing it through a
    // temporary file would be allowed by its folder.
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        return info.isFile() ? SaveStatus::Protected : SaveStatus::Failed;

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int reason = errno;
        if (reason == EACCES || reason == EPERM || reason == EROFS)
            return SaveStatus::Protected;
        return SaveStatus::Failed;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return SaveStatus::Failed;
    }
    return file.commit() ? SaveStatus::Saved : SaveStatus::Failed;
}

} // namespace FileSave
