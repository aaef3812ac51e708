#include "controls/OpURL.h"

#include "io/SaveFileUrlm.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <utility>

#ifndef ZHR_RESOURCES_DIR
#define ZHR_RESOURCES_DIR ""
#endif

namespace
{

const QString HelpPageName = QStringLiteral("Справка.html");

std::function<bool(const QUrl &)> &Opener()
{
    static std::function<bool(const QUrl &)> opener;
    return opener;
}

bool Open(const QUrl &url)
{
    const auto &opener = Opener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

// "https:", "mailto:", "file:" and the like. A single letter is not taken for
// a scheme, so that "C:/…" stays a path.
bool HasScheme(const QString &document)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(document).hasMatch();
}

} // namespace

bool OpenUrl(const QString &document)
{
    if (document.isEmpty())
        return false;
    if (!QDir::isAbsolutePath(document) && HasScheme(document)) {
        const QUrl url(document);
        return url.isValid() && Open(url);
    }
    const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(document);
    // A viewer handed a missing file would only show an error of its own.
    if (!QFileInfo(path).isFile())
        return false;
    return Open(QUrl::fromLocalFile(path));
}

bool SaveFileUrl(const QString &folder, const QString &address, bool *opened)
{
    const QString page = WriteRedirectPage(folder, address);
    if (page.isEmpty())
        return false;
    const bool ok = OpenUrl(page);
    if (opened)
        *opened = ok;
    return true;
}

bool SaveFileUrl(const QString &address, bool *opened)
{
    const QString folder = RedirectFolder();
    return !folder.isEmpty() && SaveFileUrl(folder, address, opened);
}

QString HelpPagePath()
{
    return HelpPagePathIn(QCoreApplication::applicationDirPath(), QStringLiteral(ZHR_RESOURCES_DIR));
}

QString HelpPagePathIn(const QString &programFolder, const QString &resourcesFolder)
{
    const QDir program(programFolder);
    const QString beside = program.absoluteFilePath(HelpPageName);
    QStringList candidates{beside,
                           QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/zhrebikon/")) +
                                           QLatin1Char('/') + HelpPageName)};
    if (!resourcesFolder.isEmpty())
        candidates << QDir(resourcesFolder).absoluteFilePath(HelpPageName);
    for (const QString &candidate : std::as_const(candidates)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return beside;
}

void SetUrlOpenerForTests(std::function<bool(const QUrl &)> opener)
{
    Opener() = std::move(opener);
}
