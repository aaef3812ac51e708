#include "core/BiletStore.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <utility>

namespace
{

std::array<qint32, 30> NumbersOf(const BILETCls &b)
{
    std::array<qint32, 30> out{};
    for (int k = 0; k < 30; ++k)
        out[static_cast<std::size_t>(k)] = b.NomeraList(k);
    return out;
}

std::pair<qint32, qint32> EntryOf(const NbInBLTCls &list, qint32 i)
{
    return {list.ListNomerBileta(i), list.ListStroka(i)};
}

} // namespace

TEST(BiletCls, RefusedWritesLeaveTheTicketUnchanged)
{
    std::mt19937 rng(7);
    BILETCls b = TestSupport::RandomValidBilet(rng, "A-1");
    const auto before = NumbersOf(b);

    EXPECT_THROW(b.NomeraAdd(30, 5), std::out_of_range);
    EXPECT_THROW(b.NomeraAdd(-1, 5), std::out_of_range);
    EXPECT_THROW(b.NomeraAdd(0, 91), std::out_of_range) << "91 would index past a 0..90 table";
    EXPECT_THROW(b.NomeraAdd(0, -1), std::out_of_range);
    EXPECT_THROW(b.NomeraList(30), std::out_of_range);
    EXPECT_EQ(NumbersOf(b), before);
    EXPECT_EQ(b.NomeraList(29), before[29]);
}

TEST(NbIndexList, EntriesKeepTheirOrderAndBounds)
{
    EXPECT_THROW(NbInBLTCls().ListNomerBileta(0), std::out_of_range);

    // A popular number in a large set has far more entries than a 16-bit index
    // reaches, and tickets far beyond 65,535.
    BiletStore store;
    std::vector<BILETCls> bilety(40000);
    for (qint32 t = 0; t < 40000; ++t)
        bilety[static_cast<std::size_t>(t)].NomeraAdd(t % 30, 45);
    bilety[17].NomeraAdd(29, 90);
    store.Load(std::move(bilety));
    const NbInBLTCls list = store.PoNomeru(45);
    ASSERT_EQ(list.ListCount(), 40000);
    EXPECT_EQ(EntryOf(list, 2), std::make_pair(2, 0));
    EXPECT_EQ(EntryOf(list, 32768), std::make_pair(32768, (32768 % 30) / 5));
    EXPECT_EQ(EntryOf(list, 39999), std::make_pair(39999, (39999 % 30) / 5));
    EXPECT_EQ(list.At(39999).NomerBileta, 39999);
    EXPECT_THROW(list.ListNomerBileta(40000), std::out_of_range);
    EXPECT_THROW(list.ListStroka(-1), std::out_of_range);
    EXPECT_EQ(EntryOf(store.PoNomeru(90), 0), std::make_pair(17, 5));
    EXPECT_EQ(store.PoNomeru(90).ListCount(), 1);
    EXPECT_EQ(store.PoNomeru(44).ListCount(), 0);

    // Entries pack ticket and row into one word: the largest ticket keeps its row.
    EXPECT_EQ(NbInBLTCls::Pack(NbInBLTCls::kMaxBilet, 5) >> 3, static_cast<quint32>(NbInBLTCls::kMaxBilet));
    EXPECT_EQ(NbInBLTCls::Pack(NbInBLTCls::kMaxBilet, 5) & 7u, 5u);
}

TEST(StoreSlots, FreshSetHasOneEmptySlotAndGrowingKeepsTickets)
{
    BiletStore store;
    EXPECT_THROW(store.Bilet(0), std::out_of_range) << "nothing exists before the first set";
    store.NewSet();
    EXPECT_TRUE(store.Bilet(0).Nomer.isEmpty());
    EXPECT_EQ(NumbersOf(store.Bilet(0)), (std::array<qint32, 30>{}));
    EXPECT_THROW(store.Bilet(1), std::out_of_range);

    std::mt19937 rng(3);
    store.Bilet(0) = TestSupport::RandomValidBilet(rng, "first");
    const auto first = NumbersOf(store.Bilet(0));
    store.GrowBilety(3);
    store.GrowBilety(1); // must not shrink
    ASSERT_EQ(store.Bilety.size(), 4u);
    EXPECT_EQ(store.Bilet(0).Nomer, "first");
    EXPECT_EQ(NumbersOf(store.Bilet(0)), first);
    EXPECT_TRUE(store.Bilet(3).Nomer.isEmpty());
    EXPECT_THROW(store.GrowBilety(-1), std::out_of_range);
    EXPECT_EQ(store.BiletCount, 0) << "only the ticket list counts tickets";

    store.NewSet();
    EXPECT_EQ(store.Bilety.size(), 1u);
    EXPECT_TRUE(store.Bilet(0).Nomer.isEmpty());
}

TEST(StoreIndex, OrderedByTicketThenPosition)
{
    BiletStore store;
    store.NewSet();
    store.GrowBilety(1);
    store.Bilet(0).NomeraAdd(3, 37);
    store.Bilet(0).NomeraAdd(24, 45); // row 4
    store.Bilet(1).NomeraAdd(4, 45);  // row 0
    store.Bilet(1).NomeraAdd(28, 45); // row 5
    store.Bilet(1).NomeraAdd(29, 90);
    store.IndexBilet(0);
    store.IndexBilet(1);

    const NbInBLTCls n45 = store.PoNomeru(45);
    ASSERT_EQ(n45.ListCount(), 3);
    EXPECT_EQ(EntryOf(n45, 0), std::make_pair(0, 4));
    EXPECT_EQ(EntryOf(n45, 1), std::make_pair(1, 0));
    EXPECT_EQ(EntryOf(n45, 2), std::make_pair(1, 5));
    EXPECT_EQ(EntryOf(store.PoNomeru(90), 0), std::make_pair(1, 5));
    EXPECT_EQ(store.PoNomeru(0).ListCount(), 0) << "unfilled positions are not indexed";
    EXPECT_THROW(store.PoNomeru(91), std::out_of_range);
    EXPECT_THROW(store.IndexBilet(2), std::out_of_range);

    store.ClearIndex();
    EXPECT_EQ(store.PoNomeru(45).ListCount(), 0);
}

TEST(StoreIndex, TicketByTicketAgreesWithTheWholeSetAtOnce)
{
    std::mt19937 rng(11);
    std::vector<BILETCls> bilety;
    for (int t = 0; t < 60; ++t)
        bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(t)));

    BiletStore whole;
    whole.Load(bilety);
    BiletStore oneByOne;
    oneByOne.Bilety = bilety;
    for (qint32 t = 0; t < 60; ++t)
        oneByOne.IndexBilet(t);

    qint32 entries = 0;
    for (int n = 0; n <= 90; ++n) {
        const NbInBLTCls a = whole.PoNomeru(n);
        const NbInBLTCls b = oneByOne.PoNomeru(n);
        ASSERT_EQ(a.ListCount(), b.ListCount()) << "number " << n;
        for (qint32 j = 0; j < a.ListCount(); ++j) {
            EXPECT_EQ(EntryOf(a, j), EntryOf(b, j)) << "number " << n << " entry " << j;
            const BILETCls &bilet = bilety[static_cast<std::size_t>(a.ListNomerBileta(j))];
            bool inRow = false;
            for (int k = a.ListStroka(j) * 5; k < a.ListStroka(j) * 5 + 5; ++k)
                inRow = inRow || bilet.NomeraList(k) == n;
            EXPECT_TRUE(inRow) << "number " << n << " is not in the row its entry names";
            if (j > 0) {
                EXPECT_LE(a.ListNomerBileta(j - 1), a.ListNomerBileta(j));
            }
        }
        entries += a.ListCount();
    }
    EXPECT_EQ(entries, 60 * 30);
    EXPECT_EQ(whole.BiletCount, 60);
    EXPECT_EQ(whole.CurBilet, 0);
}
