#pragma once
// A PNG file that lies about its size: a valid header announcing a picture of
// the given size, with hardly any data behind it.

#include <QByteArray>
#include <QtEndian>

namespace TestSupport
{

inline QByteArray PngClaiming(quint32 width, quint32 height)
{
    // The CRC-32 that PNG chunks carry.
    const auto crc32 = [](const QByteArray &bytes) {
        quint32 crc = 0xffffffffu;
        for (const char byte : bytes) {
            crc ^= quint8(byte);
            for (int bit = 0; bit < 8; ++bit)
                crc = crc & 1 ? (crc >> 1) ^ 0xedb88320u : crc >> 1;
        }
        return ~crc;
    };
    const auto chunk = [&](const char *type, const QByteArray &data) {
        QByteArray length(4, '\0'), crc(4, '\0');
        qToBigEndian<quint32>(quint32(data.size()), length.data());
        const QByteArray body = QByteArray(type) + data;
        qToBigEndian<quint32>(crc32(body), crc.data());
        return length + body + crc;
    };
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
           chunk("IDAT", QByteArray::fromHex("789c030000000001")) + chunk("IEND", {});
}

} // namespace TestSupport
