#pragma once

#include "core/BILETCls.h"
#include "core/LotoRules.h"
#include "core/NbInBLTCls.h"

#include <QString>
#include <array>
#include <vector>

// The ticket set in hand: its tickets, how many there are, the ticket on the
// card, the index from each number to the tickets and rows that carry it, the
// file the set came from and whether it holds changes no file does. It is the
// only writer of all of these; the window, the list and the game read them.
// The program state owns one; tests make their own.
class BiletStore
{
public:
    // What storing the ticket on the card did.
    struct Stored {
        qint32 slot = -1;     // the ticket stored
        bool added = false;   // it is a new ticket at the end of the set
        bool renamed = false; // a ticket of the set got another ticket number
    };

    // The tickets: valid ones are 0..BiletCount()-1; a slot past them may hold
    // the ticket being keyed in.
    const std::vector<BILETCls> &Bilety() const { return bilety_; }
    qint32 BiletCount() const { return count_; }
    // Ticket shown on the card; equals BiletCount() while a new ticket is being keyed in.
    qint32 CurBilet() const { return cur_; }
    // The ticket in slot 0..Bilety().size()-1; any other slot throws std::out_of_range.
    const BILETCls &Bilet(qint32 index) const;
    // The file the set was read from or saved to; empty when a save must ask for a name.
    const QString &File() const { return file_; }
    // A ticket was stored, corrected or deleted since the set was last opened
    // or saved: the set in hand holds what no file does.
    bool Unsaved() const { return unsaved_; }

    // An empty set from no file: a single empty slot 0, ticket 0 on the card.
    void NewSet();
    // Puts a whole set in place of the one in hand: its tickets counted,
    // ticket 0 on the card, the number index built anew. The set came from
    // file (empty: from none) and holds changes that no file does when unsaved.
    void Load(std::vector<BILETCls> bilety, const QString &file = {}, bool unsaved = false);
    // The set was written to file: it holds nothing unsaved any more.
    void Saved(const QString &file);
    // The set is saved as file from now on; empty: no file is its own any
    // more (a damaged file is never replaced unasked), the next save asks for a name.
    void SetFile(const QString &file) { file_ = file; }

    // Ticket t on the card: 0..BiletCount()-1 shows a ticket of the set,
    // BiletCount() a new one being keyed in; any other t throws std::out_of_range.
    void Show(qint32 t);
    // A new ticket is keyed in: the card is the slot after the set's tickets.
    void ShowNew() { Show(count_); }
    // Stores bilet as the ticket on the card: a new ticket is added at the
    // end of the set, a ticket of the set is replaced. The ticket stays on
    // the card; the set holds a change no file does.
    Stored Store(const BILETCls &bilet);
    // Deletes ticket t 0..BiletCount()-1 (others are ignored: false): the
    // tickets after it move up, and so does the ticket on the card; the card
    // gets a new ticket when t was on it. True when a ticket was deleted.
    bool Delete(qint32 t);

    // The entries of number 0..90, valid until the set changes.
    NbInBLTCls PoNomeru(int n) const;
    // The first ticket of the set, other than except, whose number is nomer; -1 when none.
    qint32 FindNomer(const QString &nomer, qint32 except = -1) const;

private:
    std::size_t CheckedSlot(qint32 index) const;
    // Makes slots up to upperIndex exist, keeping the tickets already there.
    void GrowBilety(qint32 upperIndex);
    // Builds the number index anew from tickets 0..BiletCount()-1: each
    // number's entries by ticket, then by position.
    void BuildIndex();
    // Empties the number index and gives its memory back.
    void ClearIndex();

    std::vector<BILETCls> bilety_;
    qint32 count_ = 0;
    qint32 cur_ = 0;
    QString file_;
    bool unsaved_ = false;
    // The number index (BiletyPoNomeru): the entries of every number in one
    // array, number n's from indexStart_[n] to indexStart_[n + 1]; number 0 has none.
    std::vector<quint32> index_;
    std::array<quint32, Loto::kMaxNomer + 2> indexStart_{};
};
