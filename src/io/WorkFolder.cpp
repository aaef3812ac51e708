#include "io/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <sys/stat.h>

namespace WorkFolder
{
namespace
{

bool CanWriteIn(const QString &folder)
{
    // Asking the file system beats trusting permission bits (network shares,
    // read-only mounts).
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zhrebikon-probe-XXXXXX")));
    return probe.open();
}

} // namespace

QString Choose()
{
    const QString started = QDir::currentPath();
    // Started from the desktop's menu the program finds itself in the home
    // folder, which is no place to scatter ticket files in.
    const bool home = QDir(started) == QDir::home();
    if (!home && !OthersMayWrite(started) && CanWriteIn(started))
        return started;

    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty()) {
        const QString own = QDir(documents).filePath(QStringLiteral("Жребикон"));
        if (QDir().mkpath(own) && CanWriteIn(own))
            return own;
    }
    // Nowhere to write: stay where we were started; saving will say so.
    return started;
}

bool OthersMayWrite(const QString &folder)
{
    struct stat st {
    };
    // A link to a folder counts as the folder it leads to.
    return ::stat(QFile::encodeName(folder).constData(), &st) == 0 && (st.st_mode & S_IWOTH) != 0;
}

} // namespace WorkFolder
