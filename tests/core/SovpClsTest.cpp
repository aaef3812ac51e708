#include "core/SovpCls.h"
#include "core/BiletStore.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>
#include <stdexcept>

using TestSupport::BiletFromRows;

namespace
{

// Adds the given number of matches to each row during tour 1.
SovpCls AfterTour1(const std::array<int, 6> &perRow)
{
    SovpCls s;
    for (int r = 0; r < 6; ++r)
        for (int i = 0; i < perRow[static_cast<std::size_t>(r)]; ++i)
            s.SovpAdd(r, 1);
    return s;
}

const BILETCls kBilet = BiletFromRows({{{1, 10, 20, 30, 40},
                                        {2, 11, 21, 31, 41},
                                        {3, 12, 22, 32, 42},
                                        {4, 13, 23, 33, 43},
                                        {5, 14, 24, 34, 44},
                                        {6, 15, 25, 35, 90}}},
                                      "42");

// Every number of the ticket marked as drawn except the ones listed.
Loto::KletkaTable DrawnExcept(std::initializer_list<int> undrawn)
{
    Loto::KletkaTable color{};
    for (int k = 0; k < 30; ++k)
        color[static_cast<std::size_t>(kBilet.NomeraList(k))] = Kletka::Tur1;
    for (int n : undrawn)
        color[static_cast<std::size_t>(n)] = Kletka::Free;
    return color;
}

} // namespace

TEST(SovpTours, Tour1ScoresTheBestRowOnly)
{
    const SovpCls s = AfterTour1({2, 0, 0, 0, 3, 0});
    EXPECT_EQ(s.MaxCount, 3);
    EXPECT_EQ(s.Pole1(), 0);
    EXPECT_EQ(s.Pole2(), 0);
}

TEST(SovpTours, Tour2FoldsRowsIntoFieldsAndTour3CountsEveryMatch)
{
    SovpCls s = AfterTour1({4, 1, 0, 2, 2, 2});
    s.NewTur(2);
    EXPECT_EQ(s.Pole1(), 5);
    EXPECT_EQ(s.Pole2(), 6);
    EXPECT_EQ(s.MaxCount, 6);

    s.SovpAdd(1, 2); // field 1 reaches 6: still not ahead
    EXPECT_EQ(s.MaxCount, 6);
    s.SovpAdd(2, 2);
    EXPECT_EQ(s.MaxCount, 7);
    EXPECT_EQ(s.Stroka(2), 0) << "rows stop counting after tour 1";

    s.NewTur(3);
    EXPECT_EQ(s.MaxCount, 13);
    s.SovpAdd(3, 3); // first row of field 2
    EXPECT_EQ(s.MaxCount, 14);
    s.SovpAdd(0, 3);
    EXPECT_EQ(s.MaxCount, 15);
    EXPECT_EQ(s.Pole1(), 8);
    EXPECT_EQ(s.Pole2(), 7);
}

TEST(SovpTours, RefusedRowsAndUnknownToursChangeNothing)
{
    SovpCls s = AfterTour1({1, 0, 0, 0, 0, 0});
    EXPECT_THROW(s.SovpAdd(6, 1), std::out_of_range);
    EXPECT_THROW(s.SovpAdd(-1, 2), std::out_of_range);
    EXPECT_THROW(s.Stroka(6), std::out_of_range);
    EXPECT_THROW(s.Stroka(-1), std::out_of_range);
    s.SovpAdd(0, 0);
    s.SovpAdd(3, 4);
    EXPECT_EQ(s.MaxCount, 1);
    EXPECT_EQ(s.Stroka(0), 1);
    EXPECT_EQ(s.Stroka(3), 0);
    EXPECT_EQ(s.Pole2(), 0);
}

TEST(SovpTours, NumberOnBothFieldsCountsInBothRows)
{
    BiletStore store;
    store.NewSet();
    BILETCls bilet = kBilet;
    bilet.NomeraAdd(9, 77);  // row 1
    bilet.NomeraAdd(24, 77); // row 4
    store.Store(bilet);

    SovpCls s;
    const NbInBLTCls &hits = store.PoNomeru(77);
    for (qint32 i = 0; i < hits.ListCount(); ++i)
        s.SovpAdd(hits.ListStroka(i), 1);
    EXPECT_EQ(s.Stroka(1), 1);
    EXPECT_EQ(s.Stroka(4), 1);
    s.NewTur(2);
    EXPECT_EQ(s.Pole1(), 1);
    EXPECT_EQ(s.Pole2(), 1);
}

TEST(SovpAwaited, FirstUndrawnNumberOfRowFieldAndTicket)
{
    const SovpCls s;
    EXPECT_EQ(s.FoundNomera1Typ(kBilet, 4, DrawnExcept({34, 14})), 14) << "lowest position first";
    EXPECT_EQ(s.FoundNomera1Typ(kBilet, 5, DrawnExcept({90})), 90);
    EXPECT_EQ(s.FoundNomera1Typ(kBilet, 4, DrawnExcept({90})), 0) << "whole row drawn";
    EXPECT_THROW(s.FoundNomera1Typ(kBilet, 6, DrawnExcept({})), std::out_of_range);

    EXPECT_EQ(s.FoundNomera3Typ(kBilet, DrawnExcept({44, 21})), 21);
    EXPECT_EQ(s.FoundNomera3Typ(kBilet, DrawnExcept({})), 0);

    // An unfilled position holds 0, which is never an awaited number.
    BILETCls partial = kBilet;
    partial.NomeraAdd(0, 0);
    Loto::KletkaTable color = DrawnExcept({30});
    EXPECT_EQ(s.FoundNomera1Typ(partial, 0, color), 30);
    EXPECT_EQ(s.FoundNomera3Typ(partial, color), 30);
}

TEST(SovpAwaited, FieldQueryPrefersField1WhenBothAreOneShort)
{
    SovpCls both = AfterTour1({5, 5, 4, 5, 5, 4});
    both.NewTur(2);
    ASSERT_EQ(both.Pole1(), 14);
    ASSERT_EQ(both.Pole2(), 14);
    EXPECT_EQ(both.FoundNomera2Typ(kBilet, DrawnExcept({42, 90})), 42);

    SovpCls second = AfterTour1({5, 5, 3, 5, 5, 4});
    second.NewTur(2);
    EXPECT_EQ(second.FoundNomera2Typ(kBilet, DrawnExcept({42, 90})), 90);
}

TEST(SovpJackpot, NeedsAWholeField)
{
    SovpCls s = AfterTour1({5, 5, 4, 5, 5, 4});
    s.NewTur(2);
    EXPECT_EQ(s.Cubishka(), 0) << "14 on each field is not enough";
    s.SovpAdd(5, 2);
    EXPECT_EQ(s.Cubishka(), 1);

    SovpCls first = AfterTour1({5, 5, 4, 0, 0, 0});
    first.NewTur(2);
    first.NewTur(3);
    first.SovpAdd(2, 3);
    EXPECT_EQ(first.Cubishka(), 1);
}
