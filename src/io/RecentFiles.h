#pragma once
// The files used last, newest first: a file opened or saved again moves to
// the top, and the list keeps the last eight. Paths are whole and clean, so
// one file is listed once however it was reached.

#include <QString>
#include <QStringList>

namespace RecentFiles
{

constexpr int kMax = 8;

// The list with path on top.
QStringList With(const QStringList &list, const QString &path);
// The list without path.
QStringList Without(const QStringList &list, const QString &path);

} // namespace RecentFiles
