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
const QString kZagruzkaTitle = QStringLiteral("Жребикон: несохранённые билеты");
const QString kCopyTitle = QStringLiteral("Жребикон: билеты незавершённой проверки");
constexpr int kHeaderLines = 3;
// The ticket file's name is a path at most.
constexpr qsizetype kMaxNameBytes = 4096;

// The lottery's line: its ticket files' ending without the dot, "rlb" or "gkb".
QByteArray KindTag(const Loto::Kind &kind)
{
    return kind.biletExtension.mid(1).toLatin1();
}

QByteArray EncodeSet(const QString &title, const QByteArray &line2, const Loto::Kind &kind,
                     const QString &tiragTitle, const std::vector<BILETCls> &bilety, qint32 count)
{
    return Cp1251::Encode(title) + "\r\n" + line2 + "\r\n" + KindTag(kind) + "\r\n" +
           BiletFile::Encode(tiragTitle, bilety, count);
}

// Lines 2 and 3 and the set after them, of a journal or copy whose title was read.
std::variant<BiletFileData, FileParseError> ParseSet(const QByteArray &bytes, FileText::LineReader &lines,
                                                     QByteArray &line2, const Loto::Kind *&lotoKind)
{
    const std::optional<QByteArrayView> second = lines.Next();
    const std::optional<QByteArrayView> kind = lines.Next();
    if (!second || !kind)
        return FileText::ErrorAt(lines.LineNumber() + 1, QStringLiteral("файл обрывается"));
    line2 = second->toByteArray();
    lotoKind = nullptr;
    for (const Loto::Kind *known : Loto::Kinds())
        if (*kind == QByteArrayView(KindTag(*known)))
            lotoKind = known;
    if (!lotoKind)
        return FileText::ErrorAt(3, QStringLiteral("ожидалось rlb или gkb"));
    auto set = BiletFile::Parse(bytes.sliced(bytes.size() - lines.BytesLeft()));
    if (auto *error = std::get_if<FileParseError>(&set))
        error->line += kHeaderLines;
    return set;
}

} // namespace

QByteArray Fingerprint(const QByteArray &biletBytes)
{
    return QCryptographicHash::hash(biletBytes, QCryptographicHash::Sha1).toHex();
}

QByteArray Encode(const ZhurnalData &data)
{
    return Cp1251::Encode(kTitle) + "\r\n" + Cp1251::Encode(data.BiletFile) + "\r\n" + data.fingerprint +
           "\r\n" + TiragFile::Encode(data.RegimTitle, data.tirag);
}

std::variant<ZhurnalData, FileParseError> Parse(const QByteArray &bytes)
{
    FileText::LineReader lines(bytes);
    ZhurnalData data;
    const std::optional<QByteArrayView> title = lines.Next();
    // Compared as bytes: a line of junk is never decoded.
    if (title && *title == Cp1251::Encode(kZagruzkaTitle)) {
        QByteArray name;
        auto set = ParseSet(bytes, lines, name, data.kind);
        if (auto *error = std::get_if<FileParseError>(&set))
            return *error;
        if (name.size() > kMaxNameBytes)
            return FileText::ErrorAt(2, QStringLiteral("нет имени файла билетов"));
        data.zagruzka = true;
        data.BiletFile = Cp1251::Decode(name);
        data.bilety = std::get<BiletFileData>(std::move(set));
        return data;
    }
    if (!title || *title != Cp1251::Encode(kTitle))
        return FileText::ErrorAt(1, QStringLiteral("это не журнал проверки"));
    const std::optional<QByteArrayView> name = lines.Next();
    // A set that has no file is played from the copy alone.
    if (!name || name->size() > kMaxNameBytes)
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
    data.tirag = std::move(draw.tirag);
    return data;
}

QByteArray EncodeZagruzka(const QString &biletFile, const Loto::Kind &kind, const QString &tiragTitle,
                          const std::vector<BILETCls> &bilety, qint32 count)
{
    return EncodeSet(kZagruzkaTitle, Cp1251::Encode(biletFile), kind, tiragTitle, bilety, count);
}

QByteArray EncodeCopy(const QByteArray &fingerprint, const Loto::Kind &kind, const QString &tiragTitle,
                      const std::vector<BILETCls> &bilety, qint32 count)
{
    return EncodeSet(kCopyTitle, fingerprint, kind, tiragTitle, bilety, count);
}

std::variant<BiletyCopy, FileParseError> ParseCopy(const QByteArray &bytes)
{
    FileText::LineReader lines(bytes);
    const std::optional<QByteArrayView> title = lines.Next();
    if (!title || *title != Cp1251::Encode(kCopyTitle))
        return FileText::ErrorAt(1, QStringLiteral("это не копия билетов"));
    BiletyCopy copy;
    auto set = ParseSet(bytes, lines, copy.fingerprint, copy.kind);
    if (auto *error = std::get_if<FileParseError>(&set))
        return *error;
    copy.bilety = std::get<BiletFileData>(std::move(set));
    return copy;
}

} // namespace ZhurnalFile
