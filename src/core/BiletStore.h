#pragma once

#include "core/BILETCls.h"
#include "core/LotoRules.h"
#include "core/NbInBLTCls.h"

#include <array>
#include <vector>

// The tickets of the current set and the index from each number to the
// tickets and rows that carry it. The program state owns one; tests make their own.
class BiletStore
{
public:
    // The tickets of the set; valid ones are 0..BiletCount-1, and a new set has the uncounted slot 0.
    std::vector<BILETCls> Bilety;
    // Number of tickets in the set. The store never changes it: the ticket list
    // resets it on Clear and advances it on Add.
    qint32 BiletCount = 0;
    // Ticket shown on the card; equals BiletCount while a new ticket is being keyed in.
    qint32 CurBilet = 0;

    // The ticket in slot 0..Bilety.size()-1.
    BILETCls &Bilet(qint32 index);
    // The ticket in slot 0..Bilety.size()-1, read only.
    const BILETCls &Bilet(qint32 index) const;
    // Makes slots up to upperIndex exist, keeping the tickets already there; new slots are empty.
    void GrowBilety(qint32 upperIndex);
    // Starts a new set: a single empty slot 0.
    void NewSet();
    // Puts a whole set read from a file in place of the one in hand: its
    // tickets counted, ticket 0 on the card, and the number index built anew,
    // each number's entries by ticket, then by position.
    void Load(std::vector<BILETCls> bilety);
    // Builds the number index anew from tickets 0..BiletCount-1: each number's
    // entries by ticket, then by position.
    void BuildIndex();
    // Empties the number index.
    void ClearIndex();
    // Adds every filled position of ticket t to the number index, in position
    // order, after the entries already there. Each call moves the whole index:
    // for a ticket or two; a whole set is indexed by BuildIndex.
    void IndexBilet(qint32 t);
    // The entries of number 0..90, valid until the index changes.
    NbInBLTCls PoNomeru(int n) const;
    // The first ticket of the set, other than except, whose number is nomer; -1 when none.
    qint32 FindNomer(const QString &nomer, qint32 except = -1) const;

private:
    std::size_t CheckedSlot(qint32 index) const;

    // The number index (BiletyPoNomeru): the entries of every number in one
    // array, number n's from indexStart_[n] to indexStart_[n + 1]; number 0 has none.
    std::vector<quint32> index_;
    std::array<quint32, Loto::kMaxNomer + 2> indexStart_{};
};
