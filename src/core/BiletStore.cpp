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
    BuildIndex();
    if (Bilety.empty())
        NewSet();
}

void BiletStore::BuildIndex()
{
    const qint32 count = std::min(BiletCount, static_cast<qint32>(Bilety.size()));
    if (count - 1 > NbInBLTCls::kMaxBilet)
        throw std::length_error("BiletStore: too many tickets for the number index");
    // A counting sort: first how many entries each number has, then each entry
    // straight into its place, tickets in order, so no list ever grows.
    std::array<quint32, Loto::kMaxNomer + 2> next{};
    for (qint32 t = 0; t < count; ++t) {
        const BILETCls &bilet = Bilety[static_cast<std::size_t>(t)];
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
            ++next[static_cast<std::size_t>(bilet.NomeraList(k)) + 1];
    }
    next[1] = 0; // unfilled positions are not indexed
    for (std::size_t n = 1; n < next.size(); ++n)
        next[n] += next[n - 1];
    indexStart_ = next;
    index_.assign(next.back(), 0);
    for (qint32 t = 0; t < count; ++t) {
        const BILETCls &bilet = Bilety[static_cast<std::size_t>(t)];
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
            const qint32 n = bilet.NomeraList(k);
            if (n != 0)
                index_[next[static_cast<std::size_t>(n)]++] = NbInBLTCls::Pack(t, k / Loto::kNomeraPerStroka);
        }
    }
}

void BiletStore::ClearIndex()
{
    index_.clear();
    indexStart_.fill(0);
}

void BiletStore::IndexBilet(qint32 t)
{
    const BILETCls &bilet = Bilet(t);
    if (t > NbInBLTCls::kMaxBilet)
        throw std::length_error("BiletStore: too many tickets for the number index");
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
        const qint32 n = bilet.NomeraList(k);
        if (n == 0)
            continue;
        const std::size_t end = indexStart_[static_cast<std::size_t>(n) + 1];
        index_.insert(index_.begin() + static_cast<std::ptrdiff_t>(end),
                      NbInBLTCls::Pack(t, Loto::StrokaOfPosition(k)));
        for (std::size_t m = static_cast<std::size_t>(n) + 1; m < indexStart_.size(); ++m)
            ++indexStart_[m];
    }
}

NbInBLTCls BiletStore::PoNomeru(int n) const
{
    if (n < 0 || n > Loto::kMaxNomer)
        throw std::out_of_range("BiletStore: number out of range");
    const quint32 from = indexStart_[static_cast<std::size_t>(n)];
    const quint32 to = indexStart_[static_cast<std::size_t>(n) + 1];
    return NbInBLTCls(index_.data() + from, static_cast<qint32>(to - from));
}
