#pragma once

#include "core/BiletDataCls.h"

#include <vector>

// The (ticket, row) entries of one lottery number, in the order they were added.
// Indices are 32-bit: a popular number in a large set has far more than 32,768 entries.
class NbInBLTCls
{
public:
    // Appends the entry "ticket NmBileta carries the number in row NmStroki".
    void NewBilet(qint32 NmBileta, qint32 NmStroki);
    // Ticket index of entry 0..ListCount()-1.
    qint32 ListNomerBileta(qint32 index) const;
    // Row of entry 0..ListCount()-1.
    qint32 ListStroka(qint32 index) const;
    // Number of entries.
    qint32 ListCount() const { return static_cast<qint32>(Entries.size()); }
    // Makes room for n entries in advance when the caller knows the size of the set.
    void Reserve(qint32 n);

private:
    const BiletDataCls &Entry(qint32 index) const;

    std::vector<BiletDataCls> Entries;
};
