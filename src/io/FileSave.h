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
// once everything is written; on failure the old file stays whole.
SaveStatus WriteAtomically(const QString &path, const QByteArray &bytes);

} // namespace FileSave
