#pragma once
// Writing a whole file so that a failure never leaves it half written.

#include <QByteArray>
#include <QString>

// Outcome of writing one of the program's files.
enum class SaveStatus {
    Saved,
    Protected, // the file or its folder may not be written (read-only, no permission)
    Failed,    // anything else: full disk, missing folder, a folder in the file's place
};

namespace FileSave
{

// Writes bytes to path through a temporary file that replaces the old one only
// once everything is written; on failure the old file stays whole. A file the
// user named may be a symbolic link: the file it points to is replaced.
SaveStatus WriteAtomically(const QString &path, const QByteArray &bytes);

// The same for the program's own files (the journal, the settings, a redirect
// page), which are never written through a symbolic link: a link in their
// place is refused as Protected and left as it is, whatever it points to. The
// new file is made fresh beside it (readable by its owner only) and renamed
// into place, so a link that appears meanwhile is replaced, never followed.
SaveStatus WriteOwnFile(const QString &path, const QByteArray &bytes);

} // namespace FileSave
