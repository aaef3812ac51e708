// The card being keyed in, without a window.
#include "core/BiletEntry.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>

namespace
{
using Kind = BiletEntry::Change::Kind;
}

TEST(BiletEntry, FillsRowByRowOneNumberAColumnAndGoesBackForAHole)
{
    Loto::NomerColorTable onCard{};
    BiletEntry entry(onCard);
    entry.Clear();
    // 7 takes 5's column in row 0; 7 again takes it off.
    EXPECT_EQ(entry.Toggle(5), (BiletEntry::Change{Kind::PutOn, 5, 0, 0, 0, 0, 0, false}));
    EXPECT_EQ(entry.Toggle(7), (BiletEntry::Change{Kind::PutOn, 7, 0, 0, 5, 0, 0, false}));
    EXPECT_EQ(onCard[5], 0);
    EXPECT_EQ(entry.Toggle(7), (BiletEntry::Change{Kind::TakenOff, 7, 0, 0, 0, 0, 0, false}));
    EXPECT_EQ(entry.StrokaCount(0), 0);

    const int rows[6][5] = {{5, 15, 25, 35, 45}, {6, 16, 26, 36, 46}, {7, 17, 27, 37, 47},
                            {1, 51, 61, 71, 90}, {2, 52, 62, 72, 82}, {3, 53, 63, 73, 83}};
    for (const auto &row : rows)
        for (int n : row)
            entry.Toggle(n);
    ASSERT_TRUE(entry.Complete());
    EXPECT_EQ(entry.Toggle(4).kind, Kind::None); // a full card takes nothing more
    EXPECT_FALSE(entry.Ready(QString()));
    EXPECT_TRUE(entry.Ready(QStringLiteral("017")));

    // A hole in row 1 sends filling back there; filling it moves on past the complete rows.
    EXPECT_EQ(entry.Toggle(16), (BiletEntry::Change{Kind::TakenOff, 16, 1, 1, 0, 6, 1, false}));
    EXPECT_EQ(entry.Toggle(18), (BiletEntry::Change{Kind::PutOn, 18, 1, 1, 0, 1, 6, true}));
    EXPECT_EQ(entry.History().size(), 35u); // all but the refused one

    BILETCls stored;
    entry.Store(stored);
    EXPECT_EQ(stored.NomeraList(6), 18);
    BiletEntry again(onCard);
    again.Load(stored);
    EXPECT_TRUE(again.Complete());
    EXPECT_TRUE(again.History().empty());
    for (int k = 0; k < 54; ++k)
        EXPECT_EQ(again.Kletka(k), entry.Kletka(k)) << k;
}

TEST(BiletEntry, TheNextTicketNumberCountsOnInTheLastRunOfDigits)
{
    const std::pair<const char *, const char *> cases[] = {
        {"017", "018"},       {"АБ-099", "АБ-100"}, {"99", "100"}, {"104512", "104513"}, {"А7Б", "А8Б"},
        {"12-39x", "12-40x"}, {"Серия", ""},        {"", ""},      {" 9 ", " 10 "},      {"0", "1"},
    };
    for (const auto &[nomer, next] : cases)
        EXPECT_EQ(BiletEntry::NextNomer(QString::fromUtf8(nomer)), QString::fromUtf8(next)) << nomer;
}
