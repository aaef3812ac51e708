#pragma once
// Reading one of the program's files whole. Only an ordinary file is read: a
// named pipe, a device, a folder or a socket would block the window or feed it
// without end, and so would a file far beyond any ticket set.

#include <QByteArray>
#include <QString>
#include <variant>

// Why a file was not read.
enum class ReadFailure {
    Missing,    // no such file
    Unreadable, // anything else: no permission, not an ordinary file, too large, a read error
};

namespace FileRead
{

// The largest file taken: 100,000 tickets are about 13 MB.
inline constexpr qint64 kMaxBytes = qint64(256) << 20;

// The file's whole content. A file larger than maxBytes is refused before
// anything of it is read.
std::variant<QByteArray, ReadFailure> Whole(const QString &path, qint64 maxBytes = kMaxBytes);

// At most maxBytes from the start of an ordinary file; the rest is left unread.
std::variant<QByteArray, ReadFailure> Start(const QString &path, qint64 maxBytes);

// The same for the program's own files (the journal, the settings): a
// symbolic link in their place is not followed but refused as Unreadable.
std::variant<QByteArray, ReadFailure> OwnWhole(const QString &path, qint64 maxBytes = kMaxBytes);
std::variant<QByteArray, ReadFailure> OwnStart(const QString &path, qint64 maxBytes);

// The user's message: "Файл не найден." or "Файл открыть не возможно.".
QString Message(ReadFailure failure);

} // namespace FileRead
