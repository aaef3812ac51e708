#pragma once
// How the game looks in the window: the colour of each state of a board or
// card cell, the captions of the tour label and of the button under the board,
// the start of a winners-list line, the move label, the entry box's number and
// the caption before the box. The game speaks of tours, numbers and tickets;
// this is the one table that turns them into what is painted and written.
// Colours are 0x00BBGGRR values, or a system colour (0x80000000 and its index)
// as VbColor reads them. Kept free of widgets so that anything showing a game can use it
// (the headless checker writes the same lines and caption).

#include "core/IgraShow.h"
#include "core/LotoRules.h"

#include <QString>
#include <algorithm>
#include <vector>

namespace IgraLook
{

// A number that is on some ticket of the set, on the board.
inline constexpr quint32 kOpened = 16751523;
// The face of a button (VbColor::ButtonFace): a cell with nothing in it.
inline constexpr quint32 kFree = 0x8000000F;
// What the reader of a photo was not sure of (a cell, a ticket or draw
// number): gold, so that it catches the eye.
inline constexpr quint32 kDoubt = 0x00D7FF;

// The colour a cell in this state is filled with.
constexpr quint32 ColorOf(Kletka kletka)
{
    switch (kletka) {
    case Kletka::Free:
        return kFree;
    case Kletka::OnCard:
        return kOpened;
    case Kletka::Tur1:
        return 9803263;
    case Kletka::Tur2:
        return 8454143;
    case Kletka::Tur3:
        return 8454016;
    case Kletka::Awaited:
        return 16689148;
    }
    return kFree;
}

// The tour label's back colour: the colour of the numbers drawn in the tour.
constexpr quint32 TurColor(qint32 tur)
{
    return ColorOf(KletkaOfTur(tur));
}

// The tour label's caption; tours after the third go on as the third.
inline QString TurCaption(qint32 tur)
{
    switch (std::clamp(tur, 1, 3)) {
    case 1:
        return QStringLiteral(" Тур-1");
    case 2:
        return QStringLiteral(" Тур-2");
    default:
        return QStringLiteral(" Тур-3...");
    }
}

// The caption of the button under the board; empty while it is hidden.
inline QString KnopkaCaption(Knopka knopka)
{
    switch (knopka) {
    case Knopka::Hidden:
        break;
    case Knopka::Stop:
        return QStringLiteral("  Стоп");
    case Knopka::Dalee:
        return QStringLiteral(" Далее");
    case Knopka::Konec:
        return QStringLiteral(" Конец");
    }
    return QString();
}

// What a line of the winners list says before the ticket's number.
inline QString NikaPrefix(const NikaReason &reason)
{
    switch (reason.kind) {
    case NikaReason::Kind::Nomer:
        break;
    case NikaReason::Kind::Kubishka:
        return QStringLiteral("(КУБЫШКА)  ");
    case NikaReason::Kind::Priz:
        return QStringLiteral("(Приз)  ");
    case NikaReason::Kind::PovtorPriz:
        return QStringLiteral("(Приз!!!) ");
    }
    return QStringLiteral("(номер") + Loto::NomerText(reason.nomer) + QStringLiteral(")  ");
}

// The move label: the numbers drawn so far.
inline QString NhodText(qint32 hod)
{
    return Loto::NomerText(hod);
}

// The entry box with the number just drawn; empty for none.
inline QString VvodText(qint32 nomer)
{
    return nomer > 0 ? Loto::NomerText(nomer) : QString();
}

// The caption before the entry box while a game runs.
inline QString PromptText(EntryPrompt prompt)
{
    return prompt == EntryPrompt::Vvedite ? QStringLiteral("Введите номер:")
                                          : QStringLiteral("Выпавший номер:");
}

// The caption before the entry box once a game ended: the numbers that did not come, by commas.
inline QString UndrawnText(const std::vector<qint32> &undrawn)
{
    QString text;
    for (qint32 n : undrawn) {
        if (!text.isEmpty())
            text += QLatin1Char(',');
        text += Loto::NomerText(n);
    }
    return text;
}

} // namespace IgraLook
