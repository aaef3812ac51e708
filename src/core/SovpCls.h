#pragma once

#include "core/BILETCls.h"
#include "core/LotoRules.h"

#include <algorithm>
#include <array>

// Match counts of one ticket during a game and its score for the current tour.
// Tour 1 counts rows, tours 2 and 3 count the two playing fields.
class SovpCls
{
public:
    // The ticket's score in the current tour: best row (tour 1), best field (tour 2), all matches (tour 3).
    qint32 MaxCount = 0;

    // Records one match of a drawn number in row r 0..5 of this ticket during
    // tour turNomer. Inline: a number of a large set counts tens of thousands.
    void SovpAdd(qint32 r, qint32 turNomer)
    {
        if (r < 0 || r >= Loto::kStroki)
            RowOutOfRange();
        if (turNomer == 1) {
            qint32 &row = StrokaSovp[static_cast<std::size_t>(r)];
            ++row;
            MaxCount = std::max(MaxCount, row);
        } else if (turNomer == 2 || turNomer == 3) {
            qint32 &pole = r < kStrokiNaPole ? Pole1Sovp : Pole2Sovp;
            ++pole;
            if (turNomer == 2)
                MaxCount = std::max(MaxCount, pole);
            else
                ++MaxCount; // tour 3 scores every covered number, whatever the field
        }
    }
    // Carries the counts over when the game has just moved on to tour turNomer.
    void NewTur(qint32 turNomer);
    // The first undrawn number of row stroka 0..5, or 0 when the whole row is drawn.
    qint32 FoundNomera1Typ(const BILETCls &bilet, qint32 stroka, const Loto::KletkaTable &nomerColor) const;
    // The first undrawn number of the field that is one short (field 1 when both are), or 0.
    qint32 FoundNomera2Typ(const BILETCls &bilet, const Loto::KletkaTable &nomerColor) const;
    // The first undrawn number of the whole ticket, or 0.
    qint32 FoundNomera3Typ(const BILETCls &bilet, const Loto::KletkaTable &nomerColor) const;
    // 1 when a whole playing field is covered (the jackpot condition), else 0.
    qint32 Cubishka() const;

    // Matches counted in row r 0..5.
    qint32 Stroka(int r) const;
    // Matches counted on field 1 (rows 0..2).
    qint32 Pole1() const { return Pole1Sovp; }
    // Matches counted on field 2 (rows 3..5).
    qint32 Pole2() const { return Pole2Sovp; }

private:
    [[noreturn]] static void RowOutOfRange();

    static constexpr qint32 kStrokiNaPole = 3;
    static constexpr qint32 kNomeraNaPole = kStrokiNaPole * Loto::kNomeraPerStroka;

    static qint32 FirstUndrawn(const BILETCls &bilet, int from, int to, const Loto::KletkaTable &nomerColor);

    std::array<qint32, Loto::kStroki> StrokaSovp{};
    qint32 Pole1Sovp = 0;
    qint32 Pole2Sovp = 0;
};
