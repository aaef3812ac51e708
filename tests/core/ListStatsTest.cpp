// The ticket list's statistics as a game changes them.
#include "core/ListStats.h"

#include <gtest/gtest.h>

TEST(ListStats, FollowTheGameAsTheTicketListShowsThem)
{
    ListStats stats;
    stats.Start(4);
    stats.Sovpad(1, 3);
    stats.Sovpad(2, 3);
    stats.AddLider(1);
    stats.AddLider(2);
    stats.AddLider(2);
    stats.NomerV(2, 61);
    stats.NomerV(3, 7);
    // Calls for rows the list does not have change nothing.
    stats.Sovpad(4, 9);
    stats.AddLider(-1);
    stats.NomerV(4, 5);
    EXPECT_EQ(stats.Counts(), (std::vector<qint32>{0, 3, 3, 0}));
    EXPECT_EQ(stats.Leaders(), (std::vector<qint32>{1, 2}));
    EXPECT_EQ(stats.Awaited(), (std::vector<std::pair<qint32, qint32>>{{2, 61}, {3, 7}}));

    // A new highest count takes every mark away before the new leader is marked.
    stats.Sovpad(0, 4);
    stats.NewLider();
    stats.AddLider(0);
    stats.NomerV(2, 0);
    EXPECT_EQ(stats.Leaders(), (std::vector<qint32>{0}));
    EXPECT_EQ(stats.Awaited(), (std::vector<std::pair<qint32, qint32>>{{3, 7}}));
    stats.NewLider();
    EXPECT_TRUE(stats.Leaders().empty());

    // A new tour redoes every row from the counters: awaited numbers go, the
    // rows at the highest count are the leaders, a row without a counter is 0.
    std::vector<SovpCls> sovp(3);
    sovp[0].SovpAdd(0, 2);
    sovp[2].SovpAdd(0, 2);
    stats.NewTur(sovp, 1);
    EXPECT_EQ(stats.Counts(), (std::vector<qint32>{1, 0, 1, 0}));
    EXPECT_EQ(stats.Leaders(), (std::vector<qint32>{0, 2}));
    EXPECT_TRUE(stats.Awaited().empty());
    // The marks the tour change set are the ones a later new leader removes.
    stats.NewLider();
    EXPECT_TRUE(stats.Leaders().empty());

    // A new game starts from nothing.
    stats.Sovpad(1, 2);
    stats.AddLider(1);
    stats.NomerV(1, 9);
    stats.Start(4);
    EXPECT_EQ(stats.Counts(), (std::vector<qint32>{0, 0, 0, 0}));
    EXPECT_TRUE(stats.Leaders().empty());
    EXPECT_TRUE(stats.Awaited().empty());
}
