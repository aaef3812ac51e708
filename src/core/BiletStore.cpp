#include "core/BiletStore.h"

#include <stdexcept>

std::size_t BiletStore::CheckedSlot(qint32 index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= Bilety.size())
        throw std::out_of_range("BiletStore: ticket slot out of range");
    return static_cast<std::size_t>(index);
}

BILETCls &BiletStore::Bilet(qint32 index)
{
    return Bilety[CheckedSlot(index)];
}

const BILETCls &BiletStore::Bilet(qint32 index) const
{
    return Bilety[CheckedSlot(index)];
}

void BiletStore::GrowBilety(qint32 upperIndex)
{
    if (upperIndex < 0)
        throw std::out_of_range("BiletStore: negative upper index");
    const std::size_t wanted = static_cast<std::size_t>(upperIndex) + 1;
    // Only ever grows: shrinking here would silently drop tickets of the set.
    if (Bilety.size() < wanted)
        Bilety.resize(wanted);
}

void BiletStore::NewSet()
{
    Bilety.assign(1, BILETCls{});
}

void BiletStore::ClearIndex()
{
    BiletyPoNomeru.fill(NbInBLTCls{});
}

void BiletStore::IndexBilet(qint32 t)
{
    const BILETCls &bilet = Bilet(t);
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
        const qint32 n = bilet.NomeraList(k);
        if (n != 0)
            BiletyPoNomeru[static_cast<std::size_t>(n)].NewBilet(t, Loto::StrokaOfPosition(k));
    }
}

const NbInBLTCls &BiletStore::PoNomeru(int n) const
{
    if (n < 0 || n > Loto::kMaxNomer)
        throw std::out_of_range("BiletStore: number out of range");
    return BiletyPoNomeru[static_cast<std::size_t>(n)];
}
