#include "io/BiletFile.h"

#include "core/LotoRules.h"
#include "io/Cp1251.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <limits>

namespace FileText
{

std::optional<QByteArrayView> LineReader::Next()
{
    if (pos_ >= bytes_.size())
        return std::nullopt;
    const char *start = bytes_.data() + pos_;
    const qsizetype left = bytes_.size() - pos_;
    const auto *lf = static_cast<const char *>(std::memchr(start, '\n', static_cast<std::size_t>(left)));
    qsizetype length = lf ? lf - start : left;
    pos_ += lf ? length + 1 : length;
    ++line_;
    if (length > 0 && start[length - 1] == '\r')
        --length;
    return QByteArrayView(start, length);
}

std::optional<qint64> ParseInteger(QByteArrayView text)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end)
        return std::nullopt;
    // Anything beyond 32 bits is only ever rejected, so the value stops growing
    // there instead of overflowing on a long run of digits.
    constexpr qint64 kCap = qint64(1) << 40;
    qint64 value = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min(value * 10 + (c - '0'), kCap);
    }
    return negative ? -value : value;
}

FileParseError ErrorAt(qint64 line, const QString &reason)
{
    const qint64 capped = std::min<qint64>(line, std::numeric_limits<int>::max());
    return FileParseError{static_cast<int>(capped), reason};
}

Text WithoutBom(QByteArrayView bytes)
{
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(kBom))
        return Text{bytes.sliced(3), true};
    return Text{bytes, false};
}

bool IsBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

QString TooLongReason()
{
    return QStringLiteral("строка длиннее %1 байт").arg(kMaxTitleBytes);
}

QString Decode(QByteArrayView line, bool utf8)
{
    return utf8 ? QString::fromUtf8(line) : Cp1251::Decode(line);
}

} // namespace FileText

QString DescribeParseError(const QString &fileName, const FileParseError &e)
{
    // One arg() call: a file name holding "%2" must not swallow the line number.
    return QStringLiteral("Файл «%1» повреждён: строка %2, %3.")
        .arg(fileName, QString::number(e.line), e.reason);
}

namespace BiletFile
{
namespace
{

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// The count line holds the highest index, so the count itself still fits in 32 bits.
constexpr qint64 kMaxLastIndex = std::numeric_limits<qint32>::max() - 1;

// The shortest ticket a file can hold: an empty number line and 30 one-digit
// lines, each with a bare LF.
constexpr qsizetype kMinTicketBytes = 1 + Loto::kNomeraPerBilet * 2;

} // namespace

std::variant<BiletFileData, FileParseError> Parse(const QByteArray &bytes, BiletFileData *kept)
{
    using FileText::ErrorAt;
    const FileText::Text text = FileText::WithoutBom(bytes);
    if (text.bytes.isEmpty())
        return ErrorAt(1, QStringLiteral("файл пуст"));

    FileText::LineReader lines(text.bytes);
    BiletFileData data;
    // A fault hands over what was read whole before it.
    const auto fault = [&](const FileParseError &error) {
        if (kept) {
            if (!data.Bilety.empty() && data.Bilety.back().NomeraList(Loto::kNomeraPerBilet - 1) == 0)
                data.Bilety.pop_back();
            *kept = std::move(data);
        }
        return error;
    };
    const QByteArrayView titleLine = *lines.Next();
    if (titleLine.size() > FileText::kMaxTitleBytes)
        return fault(ErrorAt(1, FileText::TooLongReason()));
    data.TiragTitle = FileText::Decode(titleLine, text.utf8);

    const std::optional<QByteArrayView> countLine = lines.Next();
    if (!countLine)
        return fault(ErrorAt(2, QStringLiteral("файл обрывается перед числом билетов")));
    const std::optional<qint64> lastIndex = FileText::ParseInteger(*countLine);
    if (lastIndex == -1)
        return fault(ErrorAt(2, QStringLiteral("в файле нет ни одного билета")));
    if (!lastIndex || *lastIndex < 0 || *lastIndex > kMaxLastIndex)
        return fault(ErrorAt(2, QStringLiteral("ожидалось число от 0 до %1").arg(kMaxLastIndex)));
    const qint64 count = *lastIndex + 1;

    // The announced count is only a claim: room is made for no more tickets than
    // the rest of the file could possibly hold.
    data.Bilety.reserve(static_cast<std::size_t>(std::min(count, lines.BytesLeft() / kMinTicketBytes + 1)));
    for (qint64 t = 0; t < count; ++t) {
        auto truncated = [&] {
            return fault(ErrorAt(lines.LineNumber() + 1,
                                 QStringLiteral("файл обрывается на билете %1 из %2").arg(t + 1).arg(count)));
        };
        const std::optional<QByteArrayView> nomer = lines.Next();
        if (!nomer)
            return truncated();
        // A character takes up to four bytes of UTF-8; a longer line is not
        // decoded at all, so a file of one huge line costs no more than its bytes.
        const auto tooLongNomer = [&] {
            return fault(
                ErrorAt(lines.LineNumber(),
                        QStringLiteral("номер билета длиннее %1 знаков").arg(Loto::kNomerMaxLength)));
        };
        if (nomer->size() > 4 * Loto::kNomerMaxLength)
            return tooLongNomer();
        QString nomerText = FileText::Decode(*nomer, text.utf8);
        if (nomerText.size() > Loto::kNomerMaxLength)
            return tooLongNomer();
        BILETCls &bilet = data.Bilety.emplace_back();
        bilet.Nomer = std::move(nomerText);
        // A printed ticket: thirty different numbers, each row five of them in
        // five different columns, stored from left to right.
        std::bitset<Loto::kMaxNomer + 1> onBilet;
        int lastColumn = -1;
        qint32 lastInRow = 0;
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
            std::optional<qint64> n = lines.NextSmallNumber();
            if (!n) {
                const std::optional<QByteArrayView> line = lines.Next();
                if (!line)
                    return truncated();
                n = FileText::ParseInteger(*line);
            }
            if (!n || *n < 1 || *n > Loto::kMaxNomer)
                return fault(ErrorAt(lines.LineNumber(),
                                     QStringLiteral("ожидалось число от 1 до %1").arg(Loto::kMaxNomer)));
            const qint32 value = static_cast<qint32>(*n);
            if (onBilet.test(static_cast<std::size_t>(value)))
                return fault(
                    ErrorAt(lines.LineNumber(), QStringLiteral("число %1 уже есть на билете").arg(value)));
            if (k % Loto::kNomeraPerStroka == 0)
                lastColumn = -1;
            const int column = Loto::ColumnOfNomer(value);
            if (column == lastColumn)
                return fault(ErrorAt(
                    lines.LineNumber(),
                    QStringLiteral("числа %1 и %2 в одном столбце строки").arg(lastInRow).arg(value)));
            if (column < lastColumn)
                return fault(
                    ErrorAt(lines.LineNumber(),
                            QStringLiteral("число %1 стоит в строке после %2").arg(value).arg(lastInRow)));
            onBilet.set(static_cast<std::size_t>(value));
            lastColumn = column;
            lastInRow = value;
            bilet.NomeraAdd(k, value);
        }
    }
    // The file ends with an empty line; anything more means the count on line 2
    // is wrong, and tickets would be lost without a word.
    while (const std::optional<QByteArrayView> line = lines.Next()) {
        if (!FileText::IsBlank(*line))
            return fault(ErrorAt(lines.LineNumber(),
                                 QStringLiteral("билетов больше, чем сказано в строке 2 (%1)").arg(count)));
    }
    return data;
}

QByteArray Encode(const QString &tiragTitle, const std::vector<BILETCls> &bilety, qint32 count)
{
    const std::size_t written = std::min(static_cast<std::size_t>(std::max(count, 0)), bilety.size());
    QByteArray out;
    out.reserve(static_cast<qsizetype>(64 + written * 128));
    out += Cp1251::Encode(tiragTitle) + kLineEnd;
    out += Loto::NomerText(static_cast<qint64>(written) - 1).toLatin1() + kLineEnd;
    for (std::size_t t = 0; t < written; ++t) {
        const BILETCls &bilet = bilety[t];
        out += Cp1251::Encode(bilet.Nomer) + kLineEnd;
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
            out += QByteArray::number(bilet.NomeraList(k)) + kLineEnd;
    }
    out += kLineEnd;
    return out;
}

} // namespace BiletFile
