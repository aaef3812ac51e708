#include "app/GameListeners.h"

#include "core/BiletStore.h"
#include "core/ListStats.h"
#include "core/LotoRules.h"

#include <algorithm>

void StripFacts::NewGame()
{
    lastNomer_.clear();
    priz_.clear();
    undrawn_.clear();
}

void StripFacts::NomerDrawn(const NomerFact &fact)
{
    lastNomer_ = QString::number(fact.nomer);
    priz_.clear();
}

void StripFacts::PrizAwarded(qint32 bilet)
{
    SetPriz(bilet);
}

void StripFacts::GameEnded(const EndFact &fact)
{
    undrawn_ = fact.undrawn;
}

void StripFacts::Rebuilt(const IgraSummary &summary)
{
    lastNomer_ = summary.lastNomer > 0 ? QString::number(summary.lastNomer) : QString();
    priz_.clear();
    SetPriz(summary.lastPriz);
}

void StripFacts::SetPriz(qint32 bilet)
{
    if (bilet >= 0 && bilet < store_.BiletCount())
        priz_ = QStringLiteral("Приз по номеру: билет ") + store_.Bilet(bilet).Nomer;
}

QString UndoneText(const IgraHod &hod, const BiletStore &store)
{
    switch (hod.kind) {
    case IgraHod::Kind::Nomer:
        return QStringLiteral("Отменён номер %1").arg(hod.value);
    case IgraHod::Kind::Tur:
        return QStringLiteral("Отменён переход в следующий тур");
    case IgraHod::Kind::Priz:
        break;
    }
    const QString nomer =
        hod.value >= 0 && hod.value < store.BiletCount() ? store.Bilet(hod.value).Nomer : QString();
    return QStringLiteral("Отменён приз билета ") + nomer;
}

namespace
{

// "на 1 билете", "на 12 билетах", "на 21 билете".
QString OnTickets(qint64 count)
{
    if (count == 0)
        return QStringLiteral("ни на одном билете");
    const bool one = count % 10 == 1 && count % 100 != 11;
    return QStringLiteral("на %1 %2")
        .arg(count)
        .arg(one ? QStringLiteral("билете") : QStringLiteral("билетах"));
}

} // namespace

QString ReaderFacts::Nomer(qint32 bilet) const
{
    return bilet >= 0 && bilet < store_.BiletCount() ? store_.Bilet(bilet).Nomer : QString();
}

void ReaderFacts::NomerDrawn(const NomerFact &fact)
{
    // A ticket carries a number once; an index of another set may say otherwise.
    std::vector<qint32> tickets;
    tickets.reserve(std::size_t(std::max<qint32>(fact.hits.ListCount(), 0)));
    for (qint32 j = 0; j < fact.hits.ListCount(); ++j)
        tickets.push_back(fact.hits.At(j).NomerBileta);
    std::sort(tickets.begin(), tickets.end());
    const auto carrying = std::distance(tickets.begin(), std::unique(tickets.begin(), tickets.end()));
    QString text = QStringLiteral("%1: %2, ждут один номер: %3")
                       .arg(fact.nomer)
                       .arg(OnTickets(carrying))
                       .arg(stats_.AwaitedCount());
    // The win as its message box says it.
    if (!fact.winners.empty())
        text +=
            QStringLiteral(". Количество выигравших билетов:") + Loto::NomerText(qint32(fact.winners.size()));
    say_(text);
}

void ReaderFacts::TurChanged(qint32 tur)
{
    say_(QStringLiteral("Тур %1").arg(tur));
}

void ReaderFacts::PrizAwarded(qint32 bilet)
{
    say_(QStringLiteral("Билет номер ") + Nomer(bilet) + QStringLiteral(" выиграл приз!!!"));
}

void ReaderFacts::GameEnded(const EndFact &fact)
{
    QString text = QStringLiteral("Игра окончена, ходов: %1, не выпало номеров: %2")
                       .arg(fact.hod)
                       .arg(fact.undrawn.size());
    for (qint32 bilet : fact.jackpot)
        text += QStringLiteral(". Билет номер ") + Nomer(bilet) + QStringLiteral(" выиграл КУБЫШКУ!!!");
    say_(text);
}

void ReaderFacts::Undone(const IgraHod &hod)
{
    say_(UndoneText(hod, store_));
}
