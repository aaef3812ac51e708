#pragma once
// What a game shows, in the game's own terms: what each number's cell is, what
// the button under the board does, what won a line of the winners list and what
// the entry box's caption asks for. How each looks and reads is the window's
// choice (controls/IgraLook.h).

#include <QtGlobal>
#include <algorithm>

// What a number's cell on the board or the card is now.
enum class Kletka : quint8 {
    Free = 0,    // nothing: not drawn, not on the card
    OnCard = 1,  // on the card being keyed in
    Tur1 = 2,    // drawn in tour 1
    Tur2 = 3,    // drawn in tour 2
    Tur3 = 4,    // drawn in tour 3 or later
    Awaited = 5, // on the board: a ticket one number short waits for it
};

// The cell of a number drawn in tour tur.
constexpr Kletka KletkaOfTur(qint32 tur)
{
    return static_cast<Kletka>(static_cast<int>(Kletka::Tur1) + std::clamp(tur, 1, 3) - 1);
}

// Whether a number with this cell was drawn in the game in hand.
constexpr bool IsDrawn(Kletka kletka)
{
    return kletka == Kletka::Tur1 || kletka == Kletka::Tur2 || kletka == Kletka::Tur3;
}

// What the button under the board does now.
enum class Knopka : quint8 {
    Hidden, // no button
    Stop,   // pauses the replay or the simulator
    Dalee,  // goes on after a pause
    Konec,  // ends the check game
};

// What won the lines of the winners list that come together: a number in a
// tour, the jackpot at the end, a prize given by ticket number, or a prize the
// replayed draw holds. The line shows it before the ticket's number.
struct NikaReason {
    enum class Kind : quint8 { Nomer, Kubishka, Priz, PovtorPriz };
    Kind kind = Kind::Nomer;
    qint32 nomer = 0; // the number that won, for Kind::Nomer
    bool operator==(const NikaReason &) const = default;
};

// What the caption before the entry box asks for while a game runs.
enum class EntryPrompt : quint8 {
    Vvedite, // a check: the number just drawn is to be typed in
    Vypal,   // replay and simulator: the box shows the number drawn
};
