#pragma once
// A draw: the numbers in the order they came, with marks of what happened
// between them — a tour change, a prize given by ticket number, the end of the
// game. A draw file, the journal of a check game, the checker's report and a
// replay all hold a draw in one encoding, its entries: a number 1..90, 91 for a
// tour change, 93 for the end, 94 followed by the prized ticket's index.

#include "core/LotoRules.h"

#include <vector>

class Tirag
{
public:
    // What one step of a draw is.
    enum class Kind : quint8 {
        Nomer,   // a number was drawn
        Tur,     // the game moved on to the next tour
        Priz,    // a ticket was given a prize
        End,     // the game ended
        Unknown, // an entry no game writes (or a prize without its ticket)
    };
    struct Step {
        Kind kind;
        qint32 value; // the number; the prize's ticket index; an unknown entry itself
        qint32 size;  // entries the step takes: 2 for a prize, else 1
    };

    Tirag() = default;
    // A draw as its entries; what no game writes is kept and read as Unknown.
    explicit Tirag(std::vector<qint32> entries);

    // The draw grows by a step. A number outside 1..90 is no number and is refused.
    void AddNomer(qint32 n);
    void AddTur();
    // A prize given after the end takes the end's place, so that a replay
    // reaches it; the draw then ends with the prize.
    void AddPriz(qint32 bilet);
    void AddEnd();
    void Clear();

    // Every entry, in order.
    const std::vector<qint32> &Entries() const { return entries_; }
    qint32 Size() const { return static_cast<qint32>(entries_.size()); }
    bool Empty() const { return entries_.empty(); }
    // Numbers drawn.
    qint32 HodCount() const { return hodCount_; }
    // Entries that are no number drawn: markers and the tickets of prizes.
    qint32 HodExtra() const { return Size() - hodCount_; }
    // Whether the last step is the end: the game was played out.
    bool Ended() const { return ended_; }
    // The step that starts at entry pos (0-based, below Size()).
    Step At(qint32 pos) const;

    bool operator==(const Tirag &) const = default;

private:
    std::vector<qint32> entries_;
    qint32 hodCount_ = 0;
    bool ended_ = false;
};
