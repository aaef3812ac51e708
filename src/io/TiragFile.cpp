#include "io/TiragFile.h"

#include "core/LotoRules.h"
#include "io/Cp1251.h"

#include <limits>

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

bool IsBlankLine(QByteArrayView line)
{
    for (const char c : line)
        if (!IsBlank(c))
            return false;
    return true;
}

} // namespace

std::variant<TiragFileData, FileParseError> Parse(const QByteArray &bytes)
{
    using FileText::ErrorAt;
    const FileText::Text text = FileText::WithoutBom(bytes);
    if (text.bytes.isEmpty())
        return ErrorAt(1, QStringLiteral("файл пуст"));

    FileText::LineReader lines(text.bytes);
    TiragFileData data;
    data.RegimTitle = FileText::Decode(TitleField(*lines.Next()), text.utf8);

    while (const std::optional<QByteArrayView> line = lines.Next()) {
        if (IsBlankLine(*line))
            continue;
        // Commas part the fields; inside a field, spaces part numbers as well.
        qsizetype fieldStart = 0;
        while (fieldStart <= line->size()) {
            qsizetype fieldEnd = line->indexOf(',', fieldStart);
            if (fieldEnd < 0)
                fieldEnd = line->size();
            const QByteArrayView field = line->sliced(fieldStart, fieldEnd - fieldStart);
            if (IsBlankLine(field))
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
                data.entries.push_back(static_cast<qint32>(*value));
                i = end;
            }
            fieldStart = fieldEnd + 1;
        }
    }
    return data;
}

QByteArray Encode(const QString &regimTitle, const std::vector<qint32> &entries)
{
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
