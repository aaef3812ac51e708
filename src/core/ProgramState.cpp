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

void ProgramState::OpenBilety(const QString &file, bool isRusLoto, const QString &tiragTitle,
                              std::vector<BILETCls> bilety, bool unsaved)
{
    IsRusLoto = isRusLoto;
    TiragTitle = tiragTitle;
    GameTitle = Loto::MakeGameTitle(IsRusLoto, TiragTitle);
    store.Load(std::move(bilety), file, unsaved);
}
