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
