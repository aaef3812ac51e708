#include "core/BiletStore.h"

#include <algorithm>
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

qint32 BiletStore::FindNomer(const QString &nomer, qint32 except) const
{
    const qint32 count = std::min<qint32>(BiletCount, static_cast<qint32>(Bilety.size()));
    for (qint32 t = 0; t < count; ++t)
        if (t != except && Bilety[static_cast<std::size_t>(t)].Nomer == nomer)
            return t;
    return -1;
}

void BiletStore::NewSet()
{
    Bilety.assign(1, BILETCls{});
}

void BiletStore::Load(std::vector<BILETCls> bilety)
{
    Bilety = std::move(bilety);
    BiletCount = static_cast<qint32>(Bilety.size());
    CurBilet = 0;
    ClearIndex();
    // A large set puts tens of thousands of entries under each number: each
    // number's list gets its room at once instead of growing step by step.
    std::array<qint32, Loto::kMaxNomer + 1> occurrences{};
    for (const BILETCls &bilet : Bilety)
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
            ++occurrences[static_cast<std::size_t>(bilet.NomeraList(k))];
    for (int n = 1; n <= Loto::kMaxNomer; ++n)
        BiletyPoNomeru[static_cast<std::size_t>(n)].Reserve(occurrences[static_cast<std::size_t>(n)]);
    for (qint32 t = 0; t < BiletCount; ++t)
        IndexBilet(t);
    if (Bilety.empty())
        NewSet();
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
