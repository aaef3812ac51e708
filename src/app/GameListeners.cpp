#include "app/GameListeners.h"

#include "core/BiletStore.h"

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
