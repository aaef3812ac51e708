#pragma once

#include "core/LotoRules.h"

#include <QString>
#include <array>

// One paper ticket: its number text and its 30 numbers, row by row and
// ascending within a row (position k lies in row k / 5).
class BILETCls
{
public:
    // The ticket number exactly as the user typed it; compared as text.
    QString Nomer;

    // Stores a number 0..90 at position 0..29; anything else throws and leaves the ticket as it was.
    void NomeraAdd(int index, qint32 value);
    // The number at position 0..29 (0 while the position is unfilled); anything else throws.
    qint32 NomeraList(int index) const
    {
        if (index < 0 || index >= Loto::kNomeraPerBilet)
            OutOfRange();
        return Nomera[static_cast<std::size_t>(index)];
    }

private:
    [[noreturn]] static void OutOfRange();

    // Every reader uses these values as an index into a 0..90 table, so only
    // 0..90 gets in; a byte each keeps a million tickets small.
    std::array<quint8, Loto::kNomeraPerBilet> Nomera{};
};
