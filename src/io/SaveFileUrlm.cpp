#include "io/SaveFileUrlm.h"

#include "io/Cp1251.h"
#include "io/FileSave.h"

#include <QDir>
#include <QFileInfo>
#include <QStringView>
#include <QTemporaryDir>

namespace
{

const QString PageHead = QStringLiteral("<html><head><meta http-equiv='refresh' content='0; url=");
const QString PageTail =
    QStringLiteral("'><meta http-equiv='Content-Type' content='text/html; "
                   "charset=windows-1251'><title>WWW</title></head><body></body></html>");

// The address in the code page, with the characters it has no byte for escaped.
QByteArray EncodeAddress(const QString &address)
{
    bool ok = false;
    QByteArray bytes = Cp1251::Encode(address, &ok);
    if (ok)
        return bytes;

    bytes.clear();
    const QStringView rest(address);
    qsizetype i = 0;
    while (i < rest.size()) {
        // A character beyond the basic plane is a surrogate pair and travels whole.
        const qsizetype length = rest[i].isHighSurrogate() && i + 1 < rest.size() ? 2 : 1;
        const QString piece = rest.sliced(i, length).toString();
        bool pieceOk = false;
        const QByteArray encoded = Cp1251::Encode(piece, &pieceOk);
        bytes += pieceOk ? encoded : piece.toUtf8().toPercentEncoding();
        i += length;
    }
    return bytes;
}

} // namespace

QByteArray RedirectPage(const QString &address)
{
    QByteArray page = Cp1251::Encode(PageHead);
    page += EncodeAddress(address);
    page += Cp1251::Encode(PageTail);
    page += "\r\n";
    return page;
}

QString WriteRedirectPage(const QString &folder, const QString &address, int maxTries)
{
    const QByteArray page = RedirectPage(address);
    const QDir dir(folder);
    for (int n = 0; n < maxTries; ++n) {
        // A page held by another program, read-only, or a folder of that name:
        // the next number will do just as well.
        const QString path = dir.absoluteFilePath(QString::number(n) + QStringLiteral(".html"));
        if (FileSave::WriteOwnFile(path, page) == SaveStatus::Saved)
            return QFileInfo(path).absoluteFilePath();
    }
    return QString();
}

QString RedirectFolder()
{
    // mkdtemp makes it with mode 0700 under a name nobody could have taken before.
    static QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("zhrebikon-XXXXXX")));
    return folder.isValid() ? folder.path() : QString();
}
