// Every line of the winners list knows what won it: the tour, the row or field,
// the number and its move; the report on a game lists those, the draw tour by
// tour and each ticket's best count in every tour.
#include "core/IgraReport.h"
#include "core/GameEngine.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>

namespace
{

// Row r holds r+1, r+12, r+23, r+34, r+45: five columns, ascending.
BILETCls Plain(const QString &nomer)
{
    std::array<std::array<int, 5>, 6> rows{};
    for (int r = 0; r < 6; ++r)
        rows[std::size_t(r)] = {r + 1, r + 12, r + 23, r + 34, r + 45};
    return TestSupport::BiletFromRows(rows, nomer);
}

// Numbers on no row of Plain: 7-11, 18-22, 29-33, 40-44, 51-90.
std::vector<int> Elsewhere()
{
    std::vector<int> out;
    for (int n = 1; n <= 90; ++n)
        if (n > 50 || (n - 1) % 11 > 5)
            out.push_back(n);
    return out;
}

// What the facts told of each number's wins.
class WinLog : public IgraListener
{
public:
    std::vector<IgraWin> wins;
    void NomerDrawn(const NomerFact &f) override
    {
        EXPECT_EQ(f.wins.size(), f.winners.size());
        wins.insert(wins.end(), f.wins.begin(), f.wins.end());
    }
};

struct Game {
    ProgramState state;
    TestSupport::RecordingView view{&state.store};
    RecordingMessenger messenger;
    GameEngine engine{state, view, messenger};
    WinLog log;

    explicit Game(std::vector<BILETCls> bilety, bool rusLoto = true)
    {
        messenger.fallbackAnswer = MsgAnswer::Yes;
        state.store.Load(bilety);
        state.kind = rusLoto ? &Loto::RusLoto() : &Loto::ZolotoyKlyuch();
        state.TiragTitle = QStringLiteral("Тираж1473");
        engine.Listen(log);
        engine.RegimProverka_Click();
    }
    void Play(const std::vector<int> &nomera)
    {
        for (int n : nomera)
            engine.NomerEntered(n);
    }
};

using Kind = IgraWin::Kind;

TEST(IgraWins, EachLineNamesItsTourRowOrFieldNumberAndMove)
{
    Game game({Plain(QStringLiteral("104549")), Plain(QStringLiteral("777"))});
    // Tour 1: row 2 one short, a miss, then its last number.
    game.Play({2, 13, 24, 35, 90, 46});
    // Tour 2: the lower field, row by row.
    game.Play({4, 15, 26, 37, 48, 5, 16, 27, 38, 49, 6, 17, 28, 39, 50});
    // Tour 3: the rest of the ticket.
    game.Play({1, 12, 23, 34, 45, 3, 14, 25, 36, 47});

    const struct {
        qint32 bilet, tur, stroka, pole, nomer, hod;
        const char *text;
    } expected[] = {
        {0, 1, 1, -1, 46, 6, "тур 1, строка 2, номером 46 (ход 6)"},
        {1, 1, 1, -1, 46, 6, "тур 1, строка 2, номером 46 (ход 6)"},
        {0, 2, -1, 1, 50, 21, "тур 2, поле 2, номером 50 (ход 21)"},
        {1, 2, -1, 1, 50, 21, "тур 2, поле 2, номером 50 (ход 21)"},
        {0, 3, -1, -1, 47, 31, "тур 3, весь билет, номером 47 (ход 31)"},
        {1, 3, -1, -1, 47, 31, "тур 3, весь билет, номером 47 (ход 31)"},
    };
    const std::vector<IgraWin> &wins = game.engine.Wins();
    ASSERT_EQ(wins.size(), std::size(expected));
    ASSERT_EQ(game.engine.NikaCount(), qint32(std::size(expected)));
    for (std::size_t i = 0; i < wins.size(); ++i) {
        const auto &e = expected[i];
        EXPECT_EQ(wins[i], (IgraWin{Kind::Nomer, e.bilet, e.tur, e.stroka, e.pole, e.nomer, e.hod})) << i;
        EXPECT_EQ(IgraReport::WinText(wins[i]), QString::fromUtf8(e.text)) << i;
        EXPECT_EQ(game.state.NikaBilet[i], e.bilet) << i;
    }
    EXPECT_EQ(game.log.wins, wins);
    EXPECT_EQ(IgraReport::WinLine(QStringLiteral("104549"), wins[0]),
              QStringLiteral("Билет 104549: тур 1, строка 2, номером 46 (ход 6)"));

    // A take-back rebuilds the game quietly; the lines keep what won them.
    game.engine.NomerEntered(7);
    game.engine.Undo();
    EXPECT_EQ(game.engine.Wins(), wins);
}

TEST(IgraWins, ANumberOnBothFieldsNamesTheRowItCompleted)
{
    // 46 stands in row 2 and in row 6; only row 2 is complete when it comes,
    // yet the ticket is listed once for each of its rows.
    std::array<std::array<int, 5>, 6> rows{{{1, 12, 23, 34, 45},
                                            {2, 13, 24, 35, 46},
                                            {3, 14, 25, 36, 47},
                                            {4, 15, 26, 37, 48},
                                            {5, 16, 27, 38, 49},
                                            {6, 17, 28, 39, 46}}};
    Game game({TestSupport::BiletFromRows(rows, QStringLiteral("5"))});
    game.Play({2, 13, 24, 35, 46});
    const std::vector<IgraWin> &wins = game.engine.Wins();
    ASSERT_EQ(wins.size(), 2u);
    EXPECT_EQ(wins[0].stroka, 1);
    EXPECT_EQ(wins[1].stroka, 1);
}

TEST(IgraWins, TheJackpotAndAPrizeKeepTheirFieldAndMove)
{
    Game game({Plain(QStringLiteral("104549"))});
    game.Play(Elsewhere());                                               // 60 numbers, none on the ticket
    game.Play({4, 15, 26, 37, 48, 5, 16, 27, 38, 49, 6, 17, 28, 39, 50}); // the lower field
    game.engine.PrizPoNomeru(0);
    game.engine.EndIgra();

    const std::vector<IgraWin> &wins = game.engine.Wins();
    ASSERT_EQ(wins.size(), 4u);
    EXPECT_EQ(wins[0], (IgraWin{Kind::Nomer, 0, 1, 3, -1, 48, 65}));
    EXPECT_EQ(wins[1], (IgraWin{Kind::Nomer, 0, 2, -1, 1, 50, 75}));
    EXPECT_EQ(wins[2], (IgraWin{Kind::Priz, 0, 3, -1, -1, 0, 75}));
    EXPECT_EQ(wins[3], (IgraWin{Kind::Kubishka, 0, 3, -1, 1, 0, 75}));
    EXPECT_EQ(IgraReport::WinText(wins[2]), QStringLiteral("приз по номеру билета, после хода 75"));
    EXPECT_EQ(IgraReport::WinText(wins[3]), QStringLiteral("КУБЫШКА, поле 2, за 75 ходов"));

    // A new game forgets them.
    game.engine.RegimProverka_Click();
    EXPECT_TRUE(game.engine.Wins().empty());
}

TEST(IgraReport, HoldsTheDrawByTourTheUndrawnTheWinsAndEachTicketsBestCounts)
{
    std::array<std::array<int, 5>, 6> other{{{7, 18, 29, 40, 51},
                                             {8, 19, 30, 41, 52},
                                             {9, 20, 31, 42, 53},
                                             {10, 21, 32, 43, 54},
                                             {11, 22, 33, 44, 55},
                                             {2, 13, 60, 70, 80}}};
    Game game({Plain(QStringLiteral("104549")), TestSupport::BiletFromRows(other, QStringLiteral("000017"))});
    game.Play({2, 13, 24, 35, 90, 46}); // tour 1 won by 104549 row 2
    game.Play({4, 15, 7, 8});           // tour 2 goes on

    IgraReport report = IgraReport::Of(game.state, game.engine);
    EXPECT_EQ(report.lottery, QStringLiteral("Русское лото"));
    EXPECT_EQ(report.tirag, QStringLiteral("Тираж1473"));
    EXPECT_EQ(report.TiragName(), QStringLiteral("№ 1473"));
    EXPECT_FALSE(report.ended);
    EXPECT_EQ(report.hod, 10);
    EXPECT_EQ(report.tur, 2);
    EXPECT_EQ(report.tours, (std::vector<std::vector<qint32>>{{2, 13, 24, 35, 90, 46}, {4, 15, 7, 8}}));
    EXPECT_EQ(report.undrawn.size(), 80u);
    ASSERT_EQ(report.wins.size(), 1u);
    EXPECT_EQ(report.wins[0].nomer, QStringLiteral("104549"));
    EXPECT_EQ(report.wins[0].win.stroka, 1);
    ASSERT_EQ(report.bilety.size(), 2u);
    // 104549: row 2 complete in tour 1; the upper field holds 5, the lower 2 by now.
    EXPECT_EQ(report.bilety[0].best, (std::array<qint32, 3>{5, 5, -1}));
    // 000017: 2 and 13 in its last row in tour 1; 7 and 8 in the upper field later.
    EXPECT_EQ(report.bilety[1].best, (std::array<qint32, 3>{2, 2, -1}));
    // Each tour's best count is what the list showed for the tour in hand.
    EXPECT_EQ(report.bilety[0].best[1], game.state.stats.At(0).count);
    EXPECT_EQ(report.bilety[1].best[1], game.state.stats.At(1).count);

    game.engine.EndIgra();
    report = IgraReport::Of(game.state, game.engine);
    EXPECT_TRUE(report.ended);
    EXPECT_EQ(report.bilety[0].awaited, 0);
}

} // namespace
