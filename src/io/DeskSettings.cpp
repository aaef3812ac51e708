#include "io/DeskSettings.h"

#include <QSettings>
#include <memory>

namespace
{

QString &OverrideFile()
{
    static QString path;
    return path;
}

std::unique_ptr<QSettings> Open()
{
    if (!OverrideFile().isEmpty())
        return std::make_unique<QSettings>(OverrideFile(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("zhrebikon"), QStringLiteral("zhrebikon"));
}

} // namespace

namespace DeskSettings
{

int Zoom()
{
    bool ok = false;
    const int z = Open()->value(QStringLiteral("view/zoom"), 100).toInt(&ok);
    return ok ? z : 100;
}

void SetZoom(int percent)
{
    Open()->setValue(QStringLiteral("view/zoom"), percent);
}

QStringList RecentFiles()
{
    return Open()->value(QStringLiteral("files/recent")).toStringList();
}

void SetRecentFiles(const QStringList &files)
{
    Open()->setValue(QStringLiteral("files/recent"), files);
}

QString LastFolder()
{
    return Open()->value(QStringLiteral("files/lastFolder")).toString();
}

void SetLastFolder(const QString &folder)
{
    Open()->setValue(QStringLiteral("files/lastFolder"), folder);
}

void UseFile(const QString &path)
{
    OverrideFile() = path;
}

} // namespace DeskSettings
