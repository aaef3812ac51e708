#include "core/LotoRules.h"

#include <stdexcept>

namespace Loto
{

void NotANomer(int /*n*/)
{
    throw std::out_of_range("ColumnOfNomer: not a lottery number");
}

int StrokaOfPosition(int k)
{
    if (k < 0 || k >= kNomeraPerBilet)
        throw std::out_of_range("StrokaOfPosition: position out of range");
    return k / kNomeraPerStroka;
}

int KletkaIndex(int stroka, int column)
{
    if (stroka < 0 || stroka >= kStroki || column < 0 || column >= kColumns)
        throw std::out_of_range("KletkaIndex: cell out of range");
    return stroka * kColumns + column;
}

bool IsRusLotoFileName(const QString &fileName)
{
    if (fileName.size() < 3)
        return false;
    return fileName.right(3).toLower() == QLatin1String("rlb");
}

QString KindName(bool isRusLoto)
{
    return isRusLoto ? QStringLiteral("Русское лото") : QStringLiteral("Золотой ключ");
}

QString BiletExtension(bool isRusLoto)
{
    return isRusLoto ? QStringLiteral(".rlb") : QStringLiteral(".gkb");
}

QString TiragExtension(bool isRusLoto)
{
    return isRusLoto ? QStringLiteral(".rlt") : QStringLiteral(".gkt");
}

FileKind KindOfFile(const QString &fileName)
{
    FileKind kind;
    for (const bool isRusLoto : {true, false}) {
        if (fileName.endsWith(BiletExtension(isRusLoto), Qt::CaseInsensitive))
            kind.bilety = true;
        else if (fileName.endsWith(TiragExtension(isRusLoto), Qt::CaseInsensitive))
            kind.tirag = true;
        else
            continue;
        kind.isRusLoto = isRusLoto;
        break;
    }
    return kind;
}

QString MakeTiragTitle(const QString &drawNumber)
{
    return QStringLiteral("Тираж") + drawNumber;
}

QString TiragNumber(const QString &title)
{
    static const QString prefix = QStringLiteral("Тираж");
    if (!title.startsWith(prefix) || title.size() == prefix.size())
        return {};
    QString digits = title.mid(prefix.size());
    for (QChar c : std::as_const(digits))
        if (!IsLatinDigit(c))
            return {};
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    return digits;
}

bool OtherTirag(const QString &biletTitle, const QString &tiragTitle)
{
    const QString bilet = TiragNumber(biletTitle), tirag = TiragNumber(tiragTitle);
    return !bilet.isEmpty() && !tirag.isEmpty() && bilet != tirag;
}

QString OtherTiragText(const QString &biletTitle, const QString &tiragTitle)
{
    return QStringLiteral("%1 не тот, что у билетов (%2).").arg(tiragTitle, biletTitle);
}

QString MakeGameTitle(bool isRusLoto, const QString &tiragTitle)
{
    return KindName(isRusLoto) + QStringLiteral(" - ") + tiragTitle;
}

QString NomerText(qint64 n)
{
    const QString digits = QString::number(n);
    return n < 0 ? digits : QLatin1Char(' ') + digits;
}

} // namespace Loto
