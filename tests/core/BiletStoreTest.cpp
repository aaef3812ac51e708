#include "core/BiletStore.h"
#include "support/TicketFactory.h"

#include <QStringList>
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

TEST(StoreSlots, FreshSetHasOneEmptySlotAndTheCardMovesOnlyWithinTheSet)
{
    BiletStore store;
    EXPECT_THROW(store.Bilet(0), std::out_of_range) << "nothing exists before the first set";
    store.NewSet();
    EXPECT_TRUE(store.Bilet(0).Nomer.isEmpty());
    EXPECT_EQ(NumbersOf(store.Bilet(0)), (std::array<qint32, 30>{}));
    EXPECT_THROW(store.Bilet(1), std::out_of_range);
    EXPECT_EQ(store.BiletCount(), 0);

    std::mt19937 rng(3);
    const BILETCls first = TestSupport::RandomValidBilet(rng, "first");
    const BiletStore::Stored stored = store.Store(first);
    EXPECT_EQ(stored.slot, 0);
    EXPECT_TRUE(stored.added);
    EXPECT_EQ(store.BiletCount(), 1);
    EXPECT_EQ(store.CurBilet(), 0) << "the stored ticket stays on the card";
    store.ShowNew();
    EXPECT_EQ(store.CurBilet(), 1);
    EXPECT_TRUE(store.Bilet(1).Nomer.isEmpty()) << "the new ticket has its slot";
    EXPECT_THROW(store.Show(2), std::out_of_range);
    EXPECT_THROW(store.Show(-1), std::out_of_range);
    EXPECT_EQ(store.CurBilet(), 1);
    EXPECT_EQ(NumbersOf(store.Bilet(0)), NumbersOf(first));

    store.NewSet();
    EXPECT_EQ(store.Bilety().size(), 1u);
    EXPECT_EQ(store.BiletCount(), 0);
    EXPECT_TRUE(store.Bilet(0).Nomer.isEmpty());
    EXPECT_EQ(store.PoNomeru(first.NomeraList(0)).ListCount(), 0) << "a new set has no index of the old one";
}

TEST(StoreIndex, OrderedByTicketThenPosition)
{
    BiletStore store;
    store.NewSet();
    BILETCls a, b;
    a.NomeraAdd(3, 37);
    a.NomeraAdd(24, 45); // row 4
    b.NomeraAdd(4, 45);  // row 0
    b.NomeraAdd(28, 45); // row 5
    b.NomeraAdd(29, 90);
    store.Store(a);
    store.ShowNew();
    store.Store(b);

    const NbInBLTCls n45 = store.PoNomeru(45);
    ASSERT_EQ(n45.ListCount(), 3);
    EXPECT_EQ(EntryOf(n45, 0), std::make_pair(0, 4));
    EXPECT_EQ(EntryOf(n45, 1), std::make_pair(1, 0));
    EXPECT_EQ(EntryOf(n45, 2), std::make_pair(1, 5));
    EXPECT_EQ(EntryOf(store.PoNomeru(90), 0), std::make_pair(1, 5));
    EXPECT_EQ(store.PoNomeru(0).ListCount(), 0) << "unfilled positions are not indexed";
    EXPECT_THROW(store.PoNomeru(91), std::out_of_range);
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
    oneByOne.NewSet();
    for (const BILETCls &bilet : bilety) {
        oneByOne.ShowNew();
        oneByOne.Store(bilet);
    }

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
    EXPECT_EQ(whole.BiletCount(), 60);
    EXPECT_EQ(whole.CurBilet(), 0);
}

namespace
{

// A set of n tickets numbered "0".."n-1", every ticket's first number its own
// (1 + t), so the index tells the tickets apart.
BiletStore SetOf(qint32 n)
{
    std::vector<BILETCls> bilety(static_cast<std::size_t>(n));
    for (qint32 t = 0; t < n; ++t) {
        bilety[static_cast<std::size_t>(t)].Nomer = QString::number(t);
        bilety[static_cast<std::size_t>(t)].NomeraAdd(0, 1 + t);
        bilety[static_cast<std::size_t>(t)].NomeraAdd(29, 90);
    }
    BiletStore store;
    store.Load(std::move(bilety), QStringLiteral("set.rlb"));
    return store;
}

QStringList Nomera(const BiletStore &store)
{
    QStringList out;
    for (qint32 t = 0; t < store.BiletCount(); ++t)
        out << store.Bilet(t).Nomer;
    return out;
}

} // namespace

TEST(StoreDelete, LaterTicketsAndTheCardMoveUpAndTheIndexFollows)
{
    struct Case {
        qint32 card;    // ticket on the card before (5: a new one being keyed in)
        qint32 deleted; // ticket deleted
        qint32 cardAfter;
    };
    // Five tickets 0..4.
    for (const Case c : {Case{3, 1, 2}, Case{3, 3, 4}, Case{3, 4, 3}, Case{0, 4, 0}, Case{5, 0, 4},
                         Case{5, 4, 4}, Case{4, 4, 4}, Case{1, 0, 0}}) {
        BiletStore store = SetOf(5);
        store.Show(c.card);
        const BILETCls onCard = store.Bilet(c.card);
        ASSERT_TRUE(store.Delete(c.deleted));
        EXPECT_EQ(store.BiletCount(), 4);
        EXPECT_EQ(store.CurBilet(), c.cardAfter) << c.card << " " << c.deleted;
        if (c.card != c.deleted && c.card < 5) {
            EXPECT_EQ(store.Bilet(store.CurBilet()).Nomer, onCard.Nomer) << "the card keeps its ticket";
        } else {
            EXPECT_EQ(store.CurBilet(), store.BiletCount()) << "a new ticket is keyed in instead";
            EXPECT_NO_THROW(store.Bilet(store.CurBilet()));
        }
        EXPECT_TRUE(store.Unsaved());
        EXPECT_EQ(store.File(), QStringLiteral("set.rlb"));

        QStringList left{"0", "1", "2", "3", "4"};
        left.removeAt(c.deleted);
        EXPECT_EQ(Nomera(store), left);
        // Every ticket's own number points at the ticket's new place; the deleted one's at none.
        for (qint32 t = 0; t < 4; ++t) {
            const NbInBLTCls own = store.PoNomeru(1 + left[t].toInt());
            ASSERT_EQ(own.ListCount(), 1) << "ticket " << t;
            EXPECT_EQ(own.ListNomerBileta(0), t) << "ticket " << t << " after deleting " << c.deleted;
        }
        EXPECT_EQ(store.PoNomeru(1 + c.deleted).ListCount(), 0);
        const NbInBLTCls shared = store.PoNomeru(90);
        ASSERT_EQ(shared.ListCount(), 4);
        EXPECT_EQ(shared.ListNomerBileta(3), 3);
    }
}

TEST(StoreDelete, OnlyTicketsOfTheSetAreDeletedAndTheLastLeavesAnEmptySet)
{
    BiletStore store = SetOf(2);
    EXPECT_FALSE(store.Delete(2));
    EXPECT_FALSE(store.Delete(-1));
    EXPECT_FALSE(store.Unsaved()) << "nothing was deleted";
    ASSERT_TRUE(store.Delete(0));
    ASSERT_TRUE(store.Delete(0));
    EXPECT_EQ(store.BiletCount(), 0);
    EXPECT_EQ(store.CurBilet(), 0);
    EXPECT_EQ(store.Bilety().size(), 1u) << "the card still has its slot";
    EXPECT_EQ(store.PoNomeru(90).ListCount(), 0);
    EXPECT_FALSE(store.Delete(0));
}

TEST(StoreStore, ReplacingATicketReindexesItAndTellsARenumbering)
{
    BiletStore store = SetOf(3);
    EXPECT_FALSE(store.Unsaved());
    store.Show(1);
    BILETCls changed = store.Bilet(1);
    changed.NomeraAdd(0, 50); // its own number 2 becomes 50
    BiletStore::Stored stored = store.Store(changed);
    EXPECT_EQ(stored.slot, 1);
    EXPECT_FALSE(stored.added);
    EXPECT_FALSE(stored.renamed);
    EXPECT_EQ(store.BiletCount(), 3);
    EXPECT_TRUE(store.Unsaved());
    EXPECT_EQ(store.PoNomeru(2).ListCount(), 0);
    ASSERT_EQ(store.PoNomeru(50).ListCount(), 1);
    EXPECT_EQ(store.PoNomeru(50).ListNomerBileta(0), 1);

    changed.Nomer = QStringLiteral("другой");
    stored = store.Store(changed);
    EXPECT_TRUE(stored.renamed);
    EXPECT_EQ(store.FindNomer(QStringLiteral("другой")), 1);
    EXPECT_EQ(store.FindNomer(QStringLiteral("другой"), 1), -1);

    store.Saved(QStringLiteral("new.rlb"));
    EXPECT_FALSE(store.Unsaved());
    EXPECT_EQ(store.File(), QStringLiteral("new.rlb"));
    store.SetFile(QString());
    EXPECT_TRUE(store.File().isEmpty());

    // A new ticket goes after the set's tickets and into the index.
    store.ShowNew();
    BILETCls added;
    added.Nomer = QStringLiteral("3");
    added.NomeraAdd(0, 60);
    stored = store.Store(added);
    EXPECT_TRUE(stored.added);
    EXPECT_EQ(stored.slot, 3);
    EXPECT_EQ(store.BiletCount(), 4);
    EXPECT_TRUE(store.Unsaved());
    ASSERT_EQ(store.PoNomeru(60).ListCount(), 1);
    EXPECT_EQ(store.PoNomeru(60).ListNomerBileta(0), 3);
    EXPECT_EQ(store.PoNomeru(90).ListCount(), 3);
}
