#pragma once
// The ticket card being keyed in: six rows of nine cells filled top to bottom,
// one number a column in a row. Every change says what it did, so the window
// paints just that, and is kept in a history that can be walked back.

#include "core/BILETCls.h"
#include "core/BiletStore.h"
#include "core/LotoRules.h"

#include <array>
#include <optional>
#include <vector>

class BiletEntry
{
public:
    // CurStroka once every row is complete.
    static constexpr int kFull = Loto::kStroki;

    // What one Toggle did.
    struct Change {
        enum class Kind {
            None,     // nothing: a full card takes no more numbers
            PutOn,    // nomer went into the row being filled, at (stroka, column)
            TakenOff, // nomer left the card; stroka is -1 when it was on no cell
        };
        Kind kind = Kind::None;
        int nomer = 0;
        int stroka = -1;
        int column = -1;
        // Put on: the number of the same column that made way for it, or 0.
        int displaced = 0;
        // The row being filled before and after the change (kFull: none).
        int strokaBefore = 0;
        int strokaAfter = 0;
        // Put on: the change completed its row.
        bool rowCompleted = false;

        bool operator==(const Change &) const = default;
    };

    // The entry marks the numbers on the card in nomerColor (OnCard, else Free).
    explicit BiletEntry(Loto::KletkaTable &nomerColor) : nomerColor_(nomerColor) {}

    // An empty card, filling row 0; nothing on the board; no history.
    void Clear();
    // A stored ticket on the card for editing: every row complete.
    void Load(const BILETCls &bilet);
    // Number n put on the card, or taken off when it is on it already.
    Change Toggle(int n);
    // Takes the last change back: the card is as it was before it. Returns
    // the change taken back; nothing when there is none.
    std::optional<Change> Undo();
    // The card holds a whole ticket.
    bool Complete() const { return curStroka_ == kFull; }
    // "Билет готов" stores a whole card that has a ticket number.
    bool Ready(const QString &nomer) const { return Complete() && !nomer.isEmpty(); }
    // The ticket's 30 numbers in stored order: row by row, by column within a row.
    void Store(BILETCls &bilet) const;

    // What "Билет готов" did to the set.
    struct Filed {
        BiletStore::Stored stored;
        // Another ticket of the set that has the same ticket number, or -1:
        // a number twice in a set is allowed, but not unnoticed.
        qint32 twin = -1;
        // The number offered for the next ticket: tickets bought together are
        // numbered in a row, so the next one the set does not hold yet.
        QString next;
    };
    // Stores the card numbered nomer into store as its ticket on the card (a
    // new one or the one being corrected). Nothing when the card is not Ready.
    std::optional<Filed> File(BiletStore &store, const QString &nomer) const;
    // Another ticket of store than the one on the card that has number nomer;
    // -1 when none. Said as soon as the number is typed, not after thirty numbers.
    static qint32 Twin(const BiletStore &store, const QString &nomer)
    {
        return store.FindNomer(nomer, store.CurBilet());
    }

    // Number in cell (row * 9 + column), 0 when empty.
    qint32 Kletka(int index) const { return kletki_[static_cast<std::size_t>(index)]; }
    qint32 Kletka(int stroka, int column) const { return Kletka(Loto::KletkaIndex(stroka, column)); }
    // Numbers in row r 0..5.
    qint32 StrokaCount(int r) const { return strokaCount_[static_cast<std::size_t>(r)]; }
    // Row being filled; kFull when the card is full.
    int CurStroka() const { return curStroka_; }
    bool OnCard(int n) const
    {
        return n >= 1 && n <= Loto::kMaxNomer && nomerColor_[static_cast<std::size_t>(n)] != ::Kletka::Free;
    }

    // The number of the ticket bought after one numbered nomer: its last run of
    // digits one higher, width and leading zeros kept ("017" → "018",
    // "АБ-099" → "АБ-100"); empty when it has no digits.
    static QString NextNomer(const QString &nomer);
    // The next number after nomer that the set does not hold yet ("017" with
    // 018 held → "019"); empty when nomer has no digits.
    static QString NextFreeNomer(const QString &nomer, const BiletStore &store);

    // Every change since the card was cleared or loaded, oldest first.
    const std::vector<Change> &History() const { return history_; }

private:
    Change TakeOff(int n);
    Change PutOn(int n);

    Loto::KletkaTable &nomerColor_;
    std::array<qint32, Loto::kKletki> kletki_{};
    // Element kFull stays 0 and stops the search for the next row to fill.
    std::array<qint32, Loto::kStroki + 1> strokaCount_{};
    int curStroka_ = 0;
    std::vector<Change> history_;
};

// Quick typing in the number box. Numbers have two digits at most: in ticket
// entry the second digit ends a number, and a Space or Enter typed after it
// out of habit changes nothing, unless that number made the ticket ready: then
// Enter goes on to "Билет готов", so "…68 81⏎⏎" stores the ticket as
// "…68 8⏎⏎⏎" does. Backspace right after a number's second digit corrects it as
// before the number went onto the card. Space ends a number as Enter does.
class NomerTyping
{
public:
    enum class Key { Enter, Space, Backspace, Other };
    // The box as the key finds it.
    struct Box {
        QString text;
        qsizetype cursor = 0;
        qsizetype selectionStart = -1; // -1: nothing selected
        qsizetype selectionLength = 0;
    };
    // What the window does with the key, in this order.
    struct Step {
        bool absorbed = true;       // false: the box edits itself as usual
        bool undo = false;          // the card's last change is taken back
        std::optional<QString> box; // the box's new text
        bool toGotov = false;       // the focus goes on to "Билет готов"
        // Enter or Space took what the box held (typed, its number nomer, 0
        // when none): the number is entered if it is one.
        bool entered = false;
        QString typed;
        // A number 1..90 ended by its second digit goes onto the card (or off).
        int ended = 0;
        int nomer = 0;
    };

    // A key with its text; zagruzka: ticket entry, gotov: "Билет готов" is enabled.
    Step Press(Key key, const QString &text, const Box &box, bool zagruzka, bool gotov);
    // The number ended by its second digit changed the card (Backspace then takes it back).
    void EndedChangedCard() { endedChangedCard_ = true; }
    // Whatever was typed before is done with (a paste).
    void Reset() { numberEnded_ = false; }

private:
    bool numberEnded_ = false;
    QString endedNumber_; // its two digits
    bool endedChangedCard_ = false;
};
