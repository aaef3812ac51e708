#pragma once
// What the program remembers about the user's desktop beyond "Жребикон.ini":
// the zoom of the window, the recently used files and the last folder picked.
// They live in the desktop's settings place (~/.config/zhrebikon/zhrebikon.ini
// on Linux). "Жребикон.ini" keeps its own two values and its own format.

#include <QString>
#include <QStringList>

namespace DeskSettings
{

// The window's zoom in percent (100 when never set or unreadable).
int Zoom();
void SetZoom(int percent);

// The files opened or saved last, newest first.
QStringList RecentFiles();
void SetRecentFiles(const QStringList &files);

// The folder the desktop's file dialog opened in last (empty when none).
QString LastFolder();
void SetLastFolder(const QString &folder);

// Keeps the settings in this file instead of the desktop's place (tests; an
// empty path goes back to the desktop's place).
void UseFile(const QString &path);

} // namespace DeskSettings
