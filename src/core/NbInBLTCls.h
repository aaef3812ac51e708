#pragma once

#include "core/BiletDataCls.h"

#include <QtGlobal>

// The (ticket, row) entries of one lottery number, by ticket and then by
// position: a view into the ticket store's number index, valid until the index
// changes. Each entry is one 32-bit word, ticket × 8 + row, so a popular number
// of a large set reads as one flat run of memory.
class NbInBLTCls
{
    static constexpr int kStrokaBits = 3;

public:
    NbInBLTCls() = default;
    NbInBLTCls(const quint32 *entries, qint32 count) : entries_(entries), count_(count) {}

    // One entry as stored in the index.
    static constexpr quint32 Pack(qint32 NmBileta, qint32 NmStroki)
    {
        return (static_cast<quint32>(NmBileta) << kStrokaBits) | static_cast<quint32>(NmStroki);
    }
    // The highest ticket index an entry can hold.
    static constexpr qint32 kMaxBilet = static_cast<qint32>(0xFFFFFFFFu >> kStrokaBits);

    // Ticket index of entry 0..ListCount()-1; anything else throws.
    qint32 ListNomerBileta(qint32 index) const { return BiletAt(Checked(index)); }
    // Row of entry 0..ListCount()-1; anything else throws.
    qint32 ListStroka(qint32 index) const { return StrokaAt(Checked(index)); }
    // Number of entries.
    qint32 ListCount() const { return count_; }
    // The entry j of a loop over 0..ListCount()-1, unchecked.
    BiletDataCls At(qint32 j) const { return {BiletAt(j), StrokaAt(j)}; }

private:
    qint32 BiletAt(qint32 j) const { return static_cast<qint32>(entries_[j] >> kStrokaBits); }
    qint32 StrokaAt(qint32 j) const { return static_cast<qint32>(entries_[j] & ((1u << kStrokaBits) - 1)); }
    qint32 Checked(qint32 index) const;

    const quint32 *entries_ = nullptr;
    qint32 count_ = 0;
};
