#pragma once
// What happens in a game, as facts: a number was drawn and whom it hit, won
// for or left waiting; the tour changed; a prize was given; the game ended;
// something was taken back; the mode changed. The engine tells them to every
// listener that subscribed, in the order they happen, each fact once: a game
// rebuilt quietly after a take-back is told as one Rebuilt, never as the
// numbers over again. Painting the window is the view's business (IgraView);
// a listener keeps its own record of the game from these facts.

#include "core/NbInBLTCls.h"
#include "core/ProgramState.h"

#include <span>
#include <vector>

// One thing the user did in a check game: the game can be rebuilt from a list of them.
struct IgraHod {
    enum class Kind { Nomer, Tur, Priz };
    Kind kind;
    qint32 value; // the number, or the prize's ticket index
    bool operator==(const IgraHod &) const = default;
};

// A ticket one number short, and the number it waits for.
struct IgraAwaited {
    qint32 bilet;
    qint32 nomer;
    bool operator==(const IgraAwaited &) const = default;
};

// One line of the winners list and what won it: a tour won with a number, the
// jackpot at the end, or a prize by ticket number.
struct IgraWin {
    enum class Kind { Nomer, Kubishka, Priz };
    Kind kind = Kind::Nomer;
    qint32 bilet = -1;
    qint32 tur = 1;     // the tour the game was in
    qint32 stroka = -1; // tour 1: the row 0..5 it completed
    qint32 pole = -1;   // tour 2: the field 0 or 1 it covered; the jackpot: the field covered
    qint32 nomer = 0;   // the number that won it; 0 for the jackpot and a prize
    qint32 hod = 0;     // that number's move; for the jackpot and a prize, the moves so far
    bool operator==(const IgraWin &) const = default;
};

// A number was drawn. The spans and the hits are valid only during the call.
struct NomerFact {
    qint32 nomer = 0;
    qint32 hod = 0; // numbers drawn so far, this one included
    qint32 tur = 1; // the tour it was drawn in
    // Every (ticket, row) of the set carrying the number.
    NbInBLTCls hits;
    // Tickets it won for, in the order the winners list shows them.
    std::span<const qint32> winners;
    // What each of them won: the row or field, the number and its move.
    std::span<const IgraWin> wins;
    // Tickets that became one number short with it, and what each waits for.
    std::span<const IgraAwaited> awaited;
};

// The game ended.
struct EndFact {
    qint32 hod = 0;              // numbers drawn
    std::vector<qint32> undrawn; // the numbers that did not come, ascending
    std::vector<qint32> jackpot; // tickets that won the jackpot, in list order
};

// The game as it stands, told after a quiet rebuild.
struct IgraSummary {
    qint32 hod = 0;       // numbers drawn
    qint32 tur = 1;       // the tour in progress
    qint32 lastNomer = 0; // the last number drawn; 0 before the first
    qint32 lastPriz = -1; // the ticket of a prize given after the last number, else -1
};

// Every fact does nothing unless a listener overrides it.
class IgraListener
{
public:
    virtual ~IgraListener() = default;

    // A new game began: nothing drawn, tour 1.
    virtual void NewGame() {}
    virtual void NomerDrawn(const NomerFact & /*fact*/) {}
    // The game moved on to tour tur.
    virtual void TurChanged(qint32 /*tur*/) {}
    // Ticket bilet was given a prize.
    virtual void PrizAwarded(qint32 /*bilet*/) {}
    virtual void GameEnded(const EndFact & /*fact*/) {}
    // The game was built again with nothing told on the way; this is where it stands.
    virtual void Rebuilt(const IgraSummary & /*summary*/) {}
    // hod was taken back (told after the Rebuilt of the game without it).
    virtual void Undone(const IgraHod & /*hod*/) {}
    virtual void RegimChanged(Rezhim /*regim*/) {}
};
