#include "io/TiragFile.h"

#include "core/LotoRules.h"
#include "io/Cp1251.h"

#include <bitset>
#include <limits>
#include <optional>

namespace TiragFile
{
namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first field of the title line.
QByteArrayView TitleField(QByteArrayView line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i] == ' ')
        ++i;
    if (i < line.size() && line[i] == '"') {
        const qsizetype close = line.indexOf('"', i + 1);
        return line.sliced(i + 1, (close < 0 ? line.size() : close) - (i + 1));
    }
    const qsizetype comma = line.indexOf(',', i);
    return line.sliced(i, (comma < 0 ? line.size() : comma) - i);
}

// What a draw the program saved can hold: every number 1..90 once at most,
// at most two tour changes (a game has three tours), a prize as 94 and the
// index of the ticket, no more prizes than anyone could award by hand, and the
// end of the game only as the last entry (a prize after the end takes the end
// marker's place). Entries are taken one by one; each one that breaks these
// rules gets the reason why.
struct DrawRules {
    // Each prize is awarded by hand through a dialog and a message; a file
    // holding more is junk, which would only cost memory and messages.
    static constexpr int kMaxPrizy = 10000;

    std::bitset<Loto::kMaxNomer + 1> drawn;
    int turs = 0;
    int prizy = 0;
    bool ended = false;
    bool awaitingIndex = false;
    qint64 prizLine = 0;

    std::optional<QString> Take(qint32 v)
    {
        if (awaitingIndex) {
            awaitingIndex = false;
            if (v < 0)
                return QStringLiteral("после отметки приза 94 ожидался номер билета, а не %1").arg(v);
            return std::nullopt;
        }
        if (ended)
            return QStringLiteral("после отметки конца игры 93 ещё есть числа");
        if (v >= 1 && v <= Loto::kMaxNomer) {
            if (drawn.test(static_cast<std::size_t>(v)))
                return QStringLiteral("число %1 уже выпало").arg(v);
            drawn.set(static_cast<std::size_t>(v));
        } else if (v == Loto::kMarkerTur) {
            if (++turs > 2)
                return QStringLiteral("третья смена тура (91), а туров только три");
        } else if (v == Loto::kMarkerEnd) {
            ended = true;
        } else if (v == Loto::kMarkerPriz) {
            if (++prizy > kMaxPrizy)
                return QStringLiteral("больше %1 призов по номеру билета").arg(kMaxPrizy);
            awaitingIndex = true;
        } else {
            return QStringLiteral("%1 не число от 1 до 90 и не отметка 91, 93 или 94").arg(v);
        }
        return std::nullopt;
    }
};

} // namespace

std::variant<TiragFileData, FileParseError> Parse(QByteArrayView bytes)
{
    using FileText::ErrorAt;
    const FileText::Text text = FileText::WithoutBom(bytes);
    if (text.bytes.isEmpty())
        return ErrorAt(1, QStringLiteral("файл пуст"));

    FileText::LineReader lines(text.bytes);
    TiragFileData data;
    const QByteArrayView titleLine = *lines.Next();
    if (titleLine.size() > FileText::kMaxTitleBytes)
        return ErrorAt(1, FileText::TooLongReason());
    data.RegimTitle = FileText::Decode(TitleField(titleLine), text.utf8);

    DrawRules rules;
    std::vector<qint32> entries;
    while (const std::optional<QByteArrayView> line = lines.Next()) {
        if (FileText::IsBlank(*line))
            continue;
        // Commas part the fields; inside a field, spaces part numbers as well.
        qsizetype fieldStart = 0;
        while (fieldStart <= line->size()) {
            qsizetype fieldEnd = line->indexOf(',', fieldStart);
            if (fieldEnd < 0)
                fieldEnd = line->size();
            const QByteArrayView field = line->sliced(fieldStart, fieldEnd - fieldStart);
            if (FileText::IsBlank(field))
                return ErrorAt(lines.LineNumber(), QStringLiteral("лишняя запятая"));
            qsizetype i = 0;
            while (i < field.size()) {
                if (IsBlank(field[i])) {
                    ++i;
                    continue;
                }
                qsizetype end = i;
                while (end < field.size() && !IsBlank(field[end]))
                    ++end;
                const std::optional<qint64> value = FileText::ParseInteger(field.sliced(i, end - i));
                if (!value)
                    return ErrorAt(lines.LineNumber(), QStringLiteral("ожидалось целое число"));
                if (*value < std::numeric_limits<qint32>::min() ||
                    *value > std::numeric_limits<qint32>::max())
                    return ErrorAt(lines.LineNumber(), QStringLiteral("слишком большое число"));
                const qint32 entry = static_cast<qint32>(*value);
                if (const std::optional<QString> broken = rules.Take(entry))
                    return ErrorAt(lines.LineNumber(), *broken);
                entries.push_back(entry);
                if (rules.awaitingIndex)
                    rules.prizLine = lines.LineNumber();
                i = end;
            }
            fieldStart = fieldEnd + 1;
        }
    }
    if (rules.awaitingIndex)
        return ErrorAt(rules.prizLine, QStringLiteral("после отметки приза 94 нет номера билета"));
    data.tirag = Tirag(std::move(entries));
    return data;
}

QByteArray Encode(const QString &regimTitle, const Tirag &tirag)
{
    const std::vector<qint32> &entries = tirag.Entries();
    QByteArray out = Cp1251::Encode(regimTitle) + "\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            out += ',';
        out += Loto::NomerText(entries[i]).toLatin1();
    }
    out += "\r\n";
    return out;
}

} // namespace TiragFile
