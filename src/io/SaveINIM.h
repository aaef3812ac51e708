#pragma once
// The settings file "Жребикон.ini": the timer interval on line 1 and the
// simulator's maximum of moves on line 2, each as " N " with CR LF.

#include "core/Messenger.h"
#include "core/ProgramState.h"
#include "io/FileSave.h"

#include <QByteArray>
#include <QString>

namespace SettingsFile
{

inline const QString FileName = QStringLiteral("Жребикон.ini");

// The file's bytes for these settings.
QByteArray Encode(const Settings &settings);

// Reads the two values from the file's bytes. A value that cannot be read keeps
// its default, so a damaged file never leaves the program with nonsense.
Settings Decode(const QByteArray &bytes);

// Reads the file; a missing or unreadable file, or a symbolic link in its place, gives the defaults.
Settings Read(const QString &path);

// Writes the file atomically: on failure the old file stays as it was, and a
// symbolic link in its place is refused (Protected), never written through.
SaveStatus Write(const QString &path, const Settings &settings);

} // namespace SettingsFile

// Asks whether to close the program and, on Yes, writes the settings file into
// the folder. Returns 1 when the user declines (closing must be cancelled),
// 0 otherwise, also when writing failed after its message was shown.
int SaveINIM(Messenger &messenger, const QString &folder, const Settings &settings);

// Writes the settings file into the folder without asking; a failure is told.
void WriteINIM(Messenger &messenger, const QString &folder, const Settings &settings);
