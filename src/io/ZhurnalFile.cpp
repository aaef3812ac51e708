#include "io/ZhurnalFile.h"

#include "io/Cp1251.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cctype>

namespace ZhurnalFile
{
namespace
{

const QString kTitle = QStringLiteral("Жребикон: незавершённая проверка");
constexpr int kHeaderLines = 3;
// The ticket file's name is a path at most.
constexpr qsizetype kMaxNameBytes = 4096;

} // namespace

QByteArray Fingerprint(const QByteArray &biletBytes)
{
    return QCryptographicHash::hash(biletBytes, QCryptographicHash::Sha1).toHex();
}

QByteArray Encode(const ZhurnalData &data)
{
    return Cp1251::Encode(kTitle) + "\r\n" + Cp1251::Encode(data.BiletFile) + "\r\n" + data.fingerprint +
           "\r\n" + TiragFile::Encode(data.RegimTitle, data.entries);
}

std::variant<ZhurnalData, FileParseError> Parse(const QByteArray &bytes)
{
    FileText::LineReader lines(bytes);
    ZhurnalData data;
    const std::optional<QByteArrayView> title = lines.Next();
    // Compared as bytes: a line of junk is never decoded.
    if (!title || *title != Cp1251::Encode(kTitle))
        return FileText::ErrorAt(1, QStringLiteral("это не журнал проверки"));
    const std::optional<QByteArrayView> name = lines.Next();
    if (!name || name->isEmpty() || name->size() > kMaxNameBytes)
        return FileText::ErrorAt(2, QStringLiteral("нет имени файла билетов"));
    data.BiletFile = Cp1251::Decode(name->toByteArray());
    const std::optional<QByteArrayView> fingerprint = lines.Next();
    const QByteArray expected = Fingerprint({});
    if (!fingerprint || fingerprint->size() != expected.size() ||
        !std::all_of(fingerprint->begin(), fingerprint->end(),
                     [](char c) { return std::isxdigit(uchar(c)); }))
        return FileText::ErrorAt(3, QStringLiteral("нет отпечатка файла билетов"));
    data.fingerprint = fingerprint->toByteArray();

    const qsizetype rest = bytes.size() - lines.BytesLeft();
    auto tirag = TiragFile::Parse(QByteArrayView(bytes).sliced(rest));
    if (auto *error = std::get_if<FileParseError>(&tirag)) {
        error->line += kHeaderLines;
        return *error;
    }
    TiragFileData &draw = std::get<TiragFileData>(tirag);
    data.RegimTitle = draw.RegimTitle;
    data.entries = std::move(draw.entries);
    return data;
}

} // namespace ZhurnalFile
