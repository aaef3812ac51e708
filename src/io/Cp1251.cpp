#include "io/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp1251
{
namespace
{
constexpr const char *kName = "windows-1251";
}

QByteArray Encode(const QString &text, bool *ok)
{
    QStringEncoder encoder(kName);
    QByteArray bytes = encoder.encode(text);
    if (ok)
        *ok = encoder.isValid() && !encoder.hasError();
    return bytes;
}

bool CanEncode(const QString &text)
{
    bool ok = false;
    Encode(text, &ok);
    return ok;
}

QString Decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kName);
    return decoder.decode(bytes);
}

} // namespace Cp1251
