#include "core/ProgramState.h"

#include <algorithm>

QString RegimCaption(Rezhim regim, const QString &gameTitle, const QString &regimTitle)
{
    switch (regim) {
    case Rezhim::Proverka:
        return gameTitle + QStringLiteral(": ПРОВЕРКА");
    case Rezhim::Povtor:
        return gameTitle + QStringLiteral(": ПОВТОР ") + regimTitle;
    case Rezhim::Imitator:
        return gameTitle + QStringLiteral(": ИМИТАТОР");
    case Rezhim::Zagruzka:
        return gameTitle + QStringLiteral(" Загрузка билетов");
    case Rezhim::None:
        break;
    }
    return gameTitle;
}

std::vector<qint32> ProgramState::TiragEntries() const
{
    const qint32 last = TiragEnd();
    std::vector<qint32> entries;
    for (qint32 k = 1; k <= last && static_cast<std::size_t>(k) < TiragNomera.size(); ++k)
        entries.push_back(TiragNomera[static_cast<std::size_t>(k)]);
    return entries;
}

bool ProgramState::TiragEnded() const
{
    // The entry after a prize's marker is a ticket's index, and index 93 is no end.
    const qint32 last = std::min<qint32>(TiragEnd(), static_cast<qint32>(TiragNomera.size()) - 1);
    bool ended = false;
    for (qint32 k = 1; k <= last; ++k) {
        const qint32 v = TiragNomera[static_cast<std::size_t>(k)];
        ended = v == Loto::kMarkerEnd;
        if (v == Loto::kMarkerPriz)
            ++k;
    }
    return ended && last == TiragEnd();
}

void ProgramState::OpenBilety(const QString &file, bool isRusLoto, const QString &tiragTitle,
                              std::vector<BILETCls> bilety, bool unsaved)
{
    IsRusLoto = isRusLoto;
    TiragTitle = tiragTitle;
    GameTitle = Loto::MakeGameTitle(IsRusLoto, TiragTitle);
    store.Load(std::move(bilety), file, unsaved);
}
