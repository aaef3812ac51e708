#pragma once
// What a report on a game holds, to keep or print: the lottery and draw, the
// draw tour by tour, the numbers that did not come, every line of the winners
// list with what won it, and one line per ticket. Built from the game in hand
// or just ended; the writers (CSV, PDF, paper) only lay it out.

#include "core/IgraFacts.h"

#include <QString>
#include <array>
#include <vector>

class GameEngine;
struct ProgramState;

struct IgraReport {
    // A line of the winners list: what won it, and the ticket's number.
    struct Win {
        IgraWin win;
        QString nomer;
    };
    // A ticket: its number, its best count in each tour (-1 for a tour the game
    // never reached) and, while the game is on, the number it waits for (0: none).
    struct Bilet {
        QString nomer;
        std::array<qint32, 3> best{-1, -1, -1};
        qint32 awaited = 0;
    };

    QString lottery; // "Русское лото" or "Золотой ключ"
    QString tirag;   // the title of the draw played, "Тираж1473"
    bool ended = false;
    qint32 hod = 0;                         // numbers drawn
    qint32 tur = 1;                         // the tour in hand, or the one the game ended in
    std::vector<std::vector<qint32>> tours; // the numbers of each tour, in the order drawn
    std::vector<qint32> undrawn;            // ascending; while the game is on, those still to come
    std::vector<Win> wins;
    std::vector<Bilet> bilety;

    // The report on the game of state and engine as it stands.
    static IgraReport Of(const ProgramState &state, const GameEngine &engine);
    // What won a line, for a person: "тур 1, строка 2, номером 12 (ход 9)".
    static QString WinText(const IgraWin &win);
    // The same with its ticket: "Билет 104549: тур 1, строка 2, номером 12 (ход 9)".
    static QString WinLine(const QString &nomer, const IgraWin &win);
    // The draw's title without "Тираж" when it names a number: "№ 1473", else the title.
    QString TiragName() const;
};
