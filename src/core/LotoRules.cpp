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

const Kind &RusLoto()
{
    static const Kind kind{QStringLiteral("Русское лото"), QStringLiteral(".rlb"), QStringLiteral(".rlt"),
                           true};
    return kind;
}

const Kind &ZolotoyKlyuch()
{
    static const Kind kind{QStringLiteral("Золотой ключ"), QStringLiteral(".gkb"), QStringLiteral(".gkt"),
                           false};
    return kind;
}

std::array<const Kind *, 2> Kinds()
{
    return {&RusLoto(), &ZolotoyKlyuch()};
}

const Kind &KindOfBiletFile(const QString &fileName)
{
    // The ending without its dot: a name of those three letters alone counts too.
    const bool rusLoto = fileName.size() >= 3 &&
                         fileName.right(3).compare(RusLoto().biletExtension.mid(1), Qt::CaseInsensitive) == 0;
    return rusLoto ? RusLoto() : ZolotoyKlyuch();
}

FileKind KindOfFile(const QString &fileName)
{
    FileKind file;
    for (const Kind *kind : Kinds()) {
        if (fileName.endsWith(kind->biletExtension, Qt::CaseInsensitive))
            file.bilety = true;
        else if (fileName.endsWith(kind->tiragExtension, Qt::CaseInsensitive))
            file.tirag = true;
        else
            continue;
        file.kind = kind;
        break;
    }
    return file;
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

QString MakeGameTitle(const Kind &kind, const QString &tiragTitle)
{
    return kind.name + QStringLiteral(" - ") + tiragTitle;
}

QString NomerText(qint64 n)
{
    const QString digits = QString::number(n);
    return n < 0 ? digits : QLatin1Char(' ') + digits;
}

} // namespace Loto
