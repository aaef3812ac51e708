#include "io/FileSave.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <unistd.h>

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
    // Unbuffered: every byte goes to the system at once, so a full disk shows
    // in write()'s count. A buffered write's later failure goes unseen by
    // commit(), which would then put a cut file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int reason = errno;
        if (reason == EACCES || reason == EPERM || reason == EROFS)
            return SaveStatus::Protected;
        return SaveStatus::Failed;
    }
    bool whole = file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError;
    // Some file systems only find out at write-back that the disk is full;
    // the bytes must be on the disk before the old file gives way.
    if (whole && file.handle() >= 0)
        whole = ::fsync(file.handle()) == 0;
    if (!whole) {
        file.cancelWriting();
        return SaveStatus::Failed;
    }
    return file.commit() ? SaveStatus::Saved : SaveStatus::Failed;
}

} // namespace FileSave
