#pragma once
// Program-wide state of one running program: the ticket set, the titles that
// name it, the mode of the main window and the settings. The main window owns
// one; a test creates a fresh one.

#include "core/BiletStore.h"
#include "core/ListStats.h"
#include "core/Tirag.h"

#include <QString>
#include <vector>

// Modes of the main window.
enum class Rezhim : qint32 {
    None = 0,     // no game running
    Proverka = 1, // the user types the called numbers
    Povtor = 2,   // replay of a recorded draw
    Imitator = 3, // random draw on the timer
    Zagruzka = 4, // keying in tickets
};

// Replay and simulator: the numbers come on the timer.
constexpr bool IsAutomatic(Rezhim regim)
{
    return regim == Rezhim::Povtor || regim == Rezhim::Imitator;
}

// The window's caption in a mode, for the set gameTitle; a replay names the
// draw it replays.
QString RegimCaption(Rezhim regim, const QString &gameTitle, const QString &regimTitle);

struct Settings {
    static constexpr qint32 kDefaultInterval = 100;
    static constexpr qint32 kDefaultMaxHod = 84;
    // The simulator's maximum of moves must lie in this range.
    static constexpr qint32 kLowestMaxHod = 81;
    static constexpr qint32 kHighestMaxHod = 89;

    qint32 interval = kDefaultInterval; // pace of replay and simulator, milliseconds
    qint32 MaxHod = kDefaultMaxHod;     // the simulator ends after this many numbers

    bool operator==(const Settings &) const = default;
};

struct ProgramState {
    // The ticket set: its tickets, the ticket on the card, the number index,
    // its file and whether it is saved.
    BiletStore store;
    // The ticket list's statistics of the game in hand.
    ListStats stats;

    Rezhim RegimState = Rezhim::None;
    QString RegimTitle;

    // Lottery and titles of the current ticket set; the titles are empty until a set exists.
    const Loto::Kind *kind = &Loto::ZolotoyKlyuch();
    QString TiragTitle;
    QString GameTitle;
    // The one place a set's lottery is chosen: its kind and title, and the
    // game's title made of them.
    void SetKind(const Loto::Kind &lotoKind, const QString &tiragTitle);

    QString TiragFile; // draw file last read or written

    Settings settings;

    // Takes a ticket set in hand as opening its file does, in the window and
    // the checker alike: its kind and titles, its tickets counted and indexed,
    // ticket 0 on the card. file names where it came from (empty: no file
    // holds it); unsaved says it holds what no file does.
    void OpenBilety(const QString &file, const Loto::Kind &lotoKind, const QString &tiragTitle,
                    std::vector<BILETCls> bilety, bool unsaved = false);

    // The draw of the current game: its numbers with their markers, as a draw
    // file, the checker's report and a replay take them.
    Tirag TiragNomera;
    // The draw being replayed.
    Tirag PovtorNomera;
    // Per number what its cell is: in ticket entry on the card being keyed in
    // or free; in a game drawn in a tour or not drawn.
    Loto::KletkaTable NomerColor{};
    // Ticket behind each line of the winners list.
    std::vector<qint32> NikaBilet = std::vector<qint32>(1, 0);
};
