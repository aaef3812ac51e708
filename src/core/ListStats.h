#pragma once
// What the ticket list shows beside each ticket during a game: its count for
// the tour, a "+" when the latest number hit it, the number it still waits for,
// and "Лидер" on the tickets with the highest count. The game keeps it, the
// list paints it and the headless checker reports it, so they always agree.

#include "core/SovpCls.h"

#include <functional>
#include <limits>
#include <utility>
#include <vector>

class ListStats
{
public:
    struct Row {
        static constexpr qint32 kNone = std::numeric_limits<qint32>::min();
        qint32 count = kNone; // kNone: no game has shown this row's statistics
        qint32 awaited = 0;   // 0: waits for nothing
        bool plus = false;
        bool lider = false;
        bool HasCount() const { return count != kNone; }
    };

    // What changed since the last Publish: some rows, every row, or every row
    // at the start of a game.
    enum class Change { Rows, All, Start };
    using Observer = std::function<void(Change, const std::vector<qint32> &rows)>;
    // Told of the changes at each Publish (the list repaints what changed).
    void Observe(Observer observer) { observer_ = std::move(observer); }
    // Tells the observer what changed since the last time. The game publishes
    // once a number is counted, so a number that changes thousands of rows
    // costs one notice.
    void Publish();
    // Tells the observer that every row may have changed.
    void PublishAll()
    {
        ChangedAll(Change::All);
        Publish();
    }

    // No game: no row shows statistics.
    void Clear();
    // A game begins on rows 0..rows-1: every count 0, nothing else.
    void Start(qint32 rows);
    // A new number is about to be checked: every "+" goes.
    void NewHod();
    // Ticket t matched the number: its new count, and a "+". Inline: a number
    // of a large set hits tens of thousands of tickets.
    void Sovpad(qint32 t, qint32 count)
    {
        if (!IsRow(t))
            return;
        Row &row = rows_[static_cast<std::size_t>(t)];
        row.count = count;
        if (!row.plus) {
            row.plus = true;
            plusRows_.push_back(t);
        }
        Changed(t);
    }
    // A new highest count: every "Лидер" goes.
    void NewLider();
    // Ticket t is a leader.
    void AddLider(qint32 t);
    // Ticket t waits for number n; 0 waits for nothing.
    void NomerV(qint32 t, qint32 n);
    // A new tour: each row's count from its counter (0 without one), every "+"
    // and awaited number gone, and the rows at liderMax the leaders.
    void NewTur(const std::vector<SovpCls> &sovpBileta, qint32 liderMax);

    // Tickets that wait for one number.
    qint32 AwaitedCount() const { return awaitedCount_; }
    // Rows with statistics: those of the game in hand.
    qint32 Rows() const { return static_cast<qint32>(rows_.size()); }
    // Row t; a row outside the game shows nothing.
    const Row &At(qint32 t) const;

    // The count of every row.
    std::vector<qint32> Counts() const;
    // The rows marked "Лидер", in row order.
    std::vector<qint32> Leaders() const;
    // (row, number) for every row that waits for a number, in row order.
    std::vector<std::pair<qint32, qint32>> Awaited() const;

private:
    bool IsRow(qint32 t) const { return t >= 0 && t < Rows(); }
    void Changed(qint32 row)
    {
        // Nobody to tell (the headless checker): nothing to remember.
        if (observer_)
            changed_.push_back(row);
    }
    void ChangedAll(Change change)
    {
        // A start outranks a plain change of every row.
        if (all_ != Change::Start)
            all_ = change;
        changed_.clear();
    }

    std::vector<Row> rows_;
    // Rows showing "+" and "Лидер", so that taking the marks away touches only them.
    std::vector<qint32> plusRows_;
    std::vector<qint32> liderRows_;
    // Rows changed since the last Publish (a row may be listed twice), or
    // all_ when every row did.
    std::vector<qint32> changed_;
    Change all_ = Change::Rows;
    qint32 awaitedCount_ = 0;
    Observer observer_;
};
