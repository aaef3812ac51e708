#include "core/NbInBLTCls.h"

#include <limits>
#include <stdexcept>

void NbInBLTCls::NewBilet(qint32 NmBileta, qint32 NmStroki)
{
    // ListCount() must stay representable.
    if (Entries.size() >= static_cast<std::size_t>(std::numeric_limits<qint32>::max()))
        throw std::length_error("NbInBLTCls: too many entries");
    Entries.push_back(BiletDataCls{NmBileta, NmStroki});
}

qint32 NbInBLTCls::ListNomerBileta(qint32 index) const
{
    return Entry(index).NomerBileta;
}

qint32 NbInBLTCls::ListStroka(qint32 index) const
{
    return Entry(index).Stroka;
}

void NbInBLTCls::Reserve(qint32 n)
{
    if (n < 0)
        throw std::out_of_range("NbInBLTCls: negative reserve");
    Entries.reserve(static_cast<std::size_t>(n));
}

const BiletDataCls &NbInBLTCls::Entry(qint32 index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= Entries.size())
        throw std::out_of_range("NbInBLTCls: entry out of range");
    return Entries[static_cast<std::size_t>(index)];
}
