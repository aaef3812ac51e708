#include "core/ProgramState.h"

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

void ProgramState::SetKind(const Loto::Kind &lotoKind, const QString &tiragTitle)
{
    kind = &lotoKind;
    TiragTitle = tiragTitle;
    GameTitle = Loto::MakeGameTitle(lotoKind, tiragTitle);
}

void ProgramState::OpenBilety(const QString &file, const Loto::Kind &lotoKind, const QString &tiragTitle,
                              std::vector<BILETCls> bilety, bool unsaved)
{
    SetKind(lotoKind, tiragTitle);
    store.Load(std::move(bilety), file, unsaved);
}
