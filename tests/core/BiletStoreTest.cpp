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
    NbInBLTCls list;
    EXPECT_THROW(list.ListNomerBileta(0), std::out_of_range);
    list.NewBilet(4, 0);
    list.NewBilet(9, 3);
    list.NewBilet(17, 5);
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(EntryOf(list, 2), std::make_pair(17, 5));
    EXPECT_THROW(list.ListNomerBileta(3), std::out_of_range);
    EXPECT_THROW(list.ListStroka(-1), std::out_of_range);

    // A popular number in a large set has far more entries than a 16-bit index reaches.
    for (qint32 t = 3; t < 40000; ++t)
        list.NewBilet(t, t % 6);
    EXPECT_EQ(EntryOf(list, 32768), std::make_pair(32768, 32768 % 6));
    EXPECT_EQ(EntryOf(list, 39999), std::make_pair(39999, 39999 % 6));
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

    const NbInBLTCls &n45 = store.PoNomeru(45);
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
