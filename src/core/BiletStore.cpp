#include "core/BiletStore.h"

#include <algorithm>
#include <stdexcept>

std::size_t BiletStore::CheckedSlot(qint32 index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= bilety_.size())
        throw std::out_of_range("BiletStore: ticket slot out of range");
    return static_cast<std::size_t>(index);
}

const BILETCls &BiletStore::Bilet(qint32 index) const
{
    return bilety_[CheckedSlot(index)];
}

void BiletStore::GrowBilety(qint32 upperIndex)
{
    if (upperIndex < 0)
        throw std::out_of_range("BiletStore: negative upper index");
    const std::size_t wanted = static_cast<std::size_t>(upperIndex) + 1;
    // Only ever grows: shrinking here would silently drop tickets of the set.
    if (bilety_.size() < wanted)
        bilety_.resize(wanted);
}

qint32 BiletStore::FindNomer(const QString &nomer, qint32 except) const
{
    for (qint32 t = 0; t < count_; ++t)
        if (t != except && bilety_[static_cast<std::size_t>(t)].Nomer == nomer)
            return t;
    return -1;
}

void BiletStore::NewSet()
{
    ClearIndex();
    bilety_.assign(1, BILETCls{});
    count_ = 0;
    cur_ = 0;
    file_.clear();
    unsaved_ = false;
}

void BiletStore::Load(std::vector<BILETCls> bilety, const QString &file, bool unsaved)
{
    // The index of the set in hand goes first: a large set is never indexed twice over.
    ClearIndex();
    bilety_ = std::move(bilety);
    count_ = static_cast<qint32>(bilety_.size());
    cur_ = 0;
    file_ = file;
    unsaved_ = unsaved;
    BuildIndex();
    if (bilety_.empty())
        bilety_.assign(1, BILETCls{});
}

void BiletStore::Saved(const QString &file)
{
    file_ = file;
    unsaved_ = false;
}

void BiletStore::Show(qint32 t)
{
    if (t < 0 || t > count_)
        throw std::out_of_range("BiletStore: no such ticket to show");
    GrowBilety(t);
    cur_ = t;
}

BiletStore::Stored BiletStore::Store(const BILETCls &bilet)
{
    Stored stored;
    stored.slot = cur_;
    stored.added = cur_ == count_;
    GrowBilety(cur_);
    BILETCls &slot = bilety_[static_cast<std::size_t>(cur_)];
    stored.renamed = !stored.added && slot.Nomer != bilet.Nomer;
    bool sameNumbers = !stored.added;
    for (int k = 0; k < Loto::kNomeraPerBilet && sameNumbers; ++k)
        sameNumbers = slot.NomeraList(k) == bilet.NomeraList(k);
    slot = bilet;
    if (stored.added)
        ++count_;
    unsaved_ = true;
    // Only a new number needs a new index: a ticket given another ticket number keeps its place in it.
    if (!sameNumbers)
        BuildIndex();
    return stored;
}

bool BiletStore::Delete(qint32 t)
{
    if (t < 0 || t >= count_)
        return false;
    bilety_.erase(bilety_.begin() + t);
    --count_;
    // The tickets after it move up one place; so does the ticket on the card.
    if (cur_ == t)
        cur_ = count_;
    else if (cur_ > t)
        --cur_;
    GrowBilety(cur_);
    unsaved_ = true;
    BuildIndex();
    return true;
}

void BiletStore::BuildIndex()
{
    const qint32 count = std::min(count_, static_cast<qint32>(bilety_.size()));
    if (count - 1 > NbInBLTCls::kMaxBilet)
        throw std::length_error("BiletStore: too many tickets for the number index");
    // A counting sort: first how many entries each number has, then each entry
    // straight into its place, tickets in order, so no list ever grows.
    std::array<quint32, Loto::kMaxNomer + 2> next{};
    for (qint32 t = 0; t < count; ++t) {
        const BILETCls &bilet = bilety_[static_cast<std::size_t>(t)];
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
            ++next[static_cast<std::size_t>(bilet.NomeraList(k)) + 1];
    }
    next[1] = 0; // unfilled positions are not indexed
    for (std::size_t n = 1; n < next.size(); ++n)
        next[n] += next[n - 1];
    indexStart_ = next;
    index_.assign(next.back(), 0);
    for (qint32 t = 0; t < count; ++t) {
        const BILETCls &bilet = bilety_[static_cast<std::size_t>(t)];
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
            const qint32 n = bilet.NomeraList(k);
            if (n != 0)
                index_[next[static_cast<std::size_t>(n)]++] = NbInBLTCls::Pack(t, k / Loto::kNomeraPerStroka);
        }
    }
}

void BiletStore::ClearIndex()
{
    std::vector<quint32>().swap(index_);
    indexStart_.fill(0);
}

NbInBLTCls BiletStore::PoNomeru(int n) const
{
    if (n < 0 || n > Loto::kMaxNomer)
        throw std::out_of_range("BiletStore: number out of range");
    const quint32 from = indexStart_[static_cast<std::size_t>(n)];
    const quint32 to = indexStart_[static_cast<std::size_t>(n) + 1];
    return NbInBLTCls(index_.data() + from, static_cast<qint32>(to - from));
}
