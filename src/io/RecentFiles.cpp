#include "io/RecentFiles.h"

#include <QFileInfo>

namespace
{

QString Whole(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

namespace RecentFiles
{

QStringList With(const QStringList &list, const QString &path)
{
    QStringList result = Without(list, path);
    result.prepend(Whole(path));
    while (result.size() > kMax)
        result.removeLast();
    return result;
}

QStringList Without(const QStringList &list, const QString &path)
{
    const QString whole = Whole(path);
    QStringList result;
    for (const QString &entry : list)
        if (!entry.isEmpty() && Whole(entry) != whole)
            result << Whole(entry);
    return result;
}

} // namespace RecentFiles
