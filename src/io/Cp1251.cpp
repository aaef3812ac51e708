#include "io/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

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

QString Decode(QByteArrayView bytes)
{
    // Ticket numbers are mostly digits: plain ASCII needs no code page.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    // Opening the converter costs more than a line's decoding; a single-byte
    // code page carries nothing from one call to the next.
    thread_local QStringDecoder decoder(kName, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace Cp1251
