#include "core/SovpCls.h"

#include <algorithm>
#include <stdexcept>

void SovpCls::RowOutOfRange()
{
    throw std::out_of_range("SovpCls: row out of range");
}

void SovpCls::NewTur(qint32 turNomer)
{
    if (turNomer == 2) {
        // Each match of tour 1 sits in exactly one row, so the rows add up to the fields.
        Pole1Sovp = StrokaSovp[0] + StrokaSovp[1] + StrokaSovp[2];
        Pole2Sovp = StrokaSovp[3] + StrokaSovp[4] + StrokaSovp[5];
        MaxCount = std::max(Pole1Sovp, Pole2Sovp);
    } else {
        MaxCount = Pole1Sovp + Pole2Sovp;
    }
}

qint32 SovpCls::FirstUndrawn(const BILETCls &bilet, int from, int to, const Loto::KletkaTable &nomerColor)
{
    for (int k = from; k <= to; ++k) {
        const qint32 n = bilet.NomeraList(k);
        // A ticket holds only 0..90; 0 is an unfilled position, never an awaited number.
        if (n != 0 && !IsDrawn(nomerColor[static_cast<std::size_t>(n)]))
            return n;
    }
    return 0;
}

qint32 SovpCls::FoundNomera1Typ(const BILETCls &bilet, qint32 stroka,
                                const Loto::KletkaTable &nomerColor) const
{
    if (stroka < 0 || stroka >= Loto::kStroki)
        RowOutOfRange();
    const int first = stroka * Loto::kNomeraPerStroka;
    return FirstUndrawn(bilet, first, first + Loto::kNomeraPerStroka - 1, nomerColor);
}

qint32 SovpCls::FoundNomera2Typ(const BILETCls &bilet, const Loto::KletkaTable &nomerColor) const
{
    if (Pole1Sovp == kNomeraNaPole - 1)
        return FirstUndrawn(bilet, 0, kNomeraNaPole - 1, nomerColor);
    return FirstUndrawn(bilet, kNomeraNaPole, Loto::kNomeraPerBilet - 1, nomerColor);
}

qint32 SovpCls::FoundNomera3Typ(const BILETCls &bilet, const Loto::KletkaTable &nomerColor) const
{
    return FirstUndrawn(bilet, 0, Loto::kNomeraPerBilet - 1, nomerColor);
}

qint32 SovpCls::Cubishka() const
{
    return (Pole1Sovp == kNomeraNaPole || Pole2Sovp == kNomeraNaPole) ? 1 : 0;
}

qint32 SovpCls::Stroka(int r) const
{
    if (r < 0 || r >= Loto::kStroki)
        RowOutOfRange();
    return StrokaSovp[static_cast<std::size_t>(r)];
}
