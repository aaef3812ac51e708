#include "core/PrizMatch.h"

#include <QStringView>

namespace PrizMatch
{

namespace
{

// Only the Latin capital counts as "any character"; a Cyrillic Х is a letter like any other.
constexpr QChar Wildcard = u'X';

} // namespace

QString Normalised(const QString &typed)
{
    return typed.toUpper();
}

qint32 FindBilet(const BiletStore &store, const QString &typed)
{
    const QString text = Normalised(typed);
    qsizetype start = 0;
    while (start < text.size() && text[start] == Wildcard)
        ++start;
    // With nothing left to compare every ticket would fit, which is no prize draw at all.
    if (start == text.size())
        return -1;
    const QStringView pattern = QStringView(text).sliced(start);

    for (qint32 t = 0; t < store.BiletCount(); ++t) {
        // A slot that was never filled holds an empty number, which fits no pattern.
        if (static_cast<std::size_t>(t) >= store.Bilety().size())
            break;
        const QStringView nomer(store.Bilet(t).Nomer);
        // A number that ends early yields fewer characters, which never equal the pattern.
        if (nomer.mid(start, pattern.size()) == pattern)
            return t;
    }
    return -1;
}

} // namespace PrizMatch
