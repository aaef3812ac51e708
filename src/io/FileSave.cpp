#include "io/FileSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSave
{
namespace
{

SaveStatus StatusOf(int reason)
{
    return reason == EACCES || reason == EPERM || reason == EROFS ? SaveStatus::Protected
                                                                  : SaveStatus::Failed;
}

// Writes all of bytes to fd and puts them on the disk.
bool WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return ::fsync(fd) == 0;
}

} // namespace

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

SaveStatus WriteOwnFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat st {
    };
    if (::lstat(target.constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode))
            return SaveStatus::Protected;
        if (!S_ISREG(st.st_mode))
            return SaveStatus::Failed;
        // A read-only file stays as it is, as in WriteAtomically.
        if (::access(target.constData(), W_OK) != 0)
            return StatusOf(errno);
    } else if (errno != ENOENT) {
        return StatusOf(errno);
    }

    // mkstemp makes a file that did not exist, never opening one through a link.
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return StatusOf(errno);
    const bool whole = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    // rename() puts the new file in the name's place, link or not.
    if (!whole || !closed || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return SaveStatus::Failed;
    }
    return SaveStatus::Saved;
}

} // namespace FileSave
