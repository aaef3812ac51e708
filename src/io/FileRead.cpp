#include "io/FileRead.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileRead
{
namespace
{

// Closes the descriptor however reading ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

std::variant<QByteArray, ReadFailure> Read(const QString &path, qint64 maxBytes, bool refuseLarger,
                                           bool followLinks = true)
{
    if (path.isEmpty())
        return ReadFailure::Missing;
    // Opening a named pipe for reading waits for a writer unless it is told
    // not to; what was opened is judged by the descriptor, not by its name,
    // so nothing can be swapped in between.
    const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC |
                                                                        O_NOCTTY |
                                                                        (followLinks ? 0 : O_NOFOLLOW)));
    if (fd.get() < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadFailure::Missing : ReadFailure::Unreadable;
    struct stat st {
    };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return ReadFailure::Unreadable;
    if (refuseLarger && st.st_size > maxBytes)
        return ReadFailure::Unreadable;

    // A file that grew since it was looked at shows by one byte past the bound.
    const qint64 limit = refuseLarger ? maxBytes + 1 : maxBytes;
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(std::min<qint64>(limit, std::max<qint64>(st.st_size, 0) + 1)));
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got >= limit)
                break;
            bytes.resize(static_cast<qsizetype>(std::min<qint64>(limit, got * 2 + 4096)));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + got, static_cast<std::size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ReadFailure::Unreadable;
        if (n == 0)
            break;
        got += n;
    }
    if (refuseLarger && got > maxBytes)
        return ReadFailure::Unreadable;
    bytes.truncate(static_cast<qsizetype>(got));
    return bytes;
}

} // namespace

std::variant<QByteArray, ReadFailure> Whole(const QString &path, qint64 maxBytes)
{
    return Read(path, maxBytes, true);
}

std::variant<QByteArray, ReadFailure> Start(const QString &path, qint64 maxBytes)
{
    return Read(path, maxBytes, false);
}

std::variant<QByteArray, ReadFailure> OwnWhole(const QString &path, qint64 maxBytes)
{
    return Read(path, maxBytes, true, false);
}

std::variant<QByteArray, ReadFailure> OwnStart(const QString &path, qint64 maxBytes)
{
    return Read(path, maxBytes, false, false);
}

QString Message(ReadFailure failure)
{
    return failure == ReadFailure::Missing ? QStringLiteral("Файл не найден.")
                                           : QStringLiteral("Файл открыть не возможно.");
}

} // namespace FileRead
