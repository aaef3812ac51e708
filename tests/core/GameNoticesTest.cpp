// What the game tells its views and the ticket list's observer, beyond the
// numbers: which changes are noticed, how a number's winners arrive, and what
// the user may click once a game begins.
#include "controls/IgraLook.h"
#include "core/GameEngine.h"
#include "core/ListStats.h"
#include "support/RecordingMessenger.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>

namespace
{

struct Notice {
    ListStats::Change change;
    std::vector<qint32> rows;
};

// Counts the winners' batches and what the user may click.
class BatchView : public IgraView
{
public:
    void NikaAdd(const NikaReason &reason, const std::vector<qint32> &tickets) override
    {
        batches.emplace_back(IgraLook::NikaPrefix(reason), tickets);
    }
    void EnableBiletPic(bool enabled) override { cardClicks = enabled; }
    void EnablePole(bool enabled) override { boardClicks = enabled; }
    std::vector<std::pair<QString, std::vector<qint32>>> batches;
    bool cardClicks = true;
    bool boardClicks = false;
};

// A check game just begun on these tickets.
template <class View> struct CheckGame {
    explicit CheckGame(std::vector<BILETCls> bilety)
    {
        state.store.Load(std::move(bilety));
        engine.RegimProverka_Click();
    }
    ProgramState state;
    View view;
    RecordingMessenger messenger;
    GameEngine engine{state, view, messenger};
};

} // namespace

TEST(ListStatsNotices, EachChangeIsNoticedOnceAndAStartOutranksTheRest)
{
    ListStats stats;
    std::vector<Notice> notices;
    stats.Observe([&notices](ListStats::Change c, const std::vector<qint32> &rows) {
        notices.push_back({c, rows});
    });

    stats.Publish();
    EXPECT_TRUE(notices.empty()) << "nothing changed, nothing to say";

    stats.Start(5);
    stats.Sovpad(2, 1);
    stats.Publish();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].change, ListStats::Change::Start) << "a start outranks the rows changed after it";
    stats.Publish();
    EXPECT_EQ(notices.size(), 1u);

    stats.NewHod(); // row 2 loses its "+"
    stats.Sovpad(4, 1);
    stats.Publish();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1].change, ListStats::Change::Rows);
    EXPECT_EQ(notices[1].rows, (std::vector<qint32>{2, 4}));

    stats.PublishAll();
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[2].change, ListStats::Change::All);
    EXPECT_TRUE(notices[2].rows.empty());
}

TEST(GameNotices, AGameBeginsWithTheBoardOpenAndANumbersWinnersComeInOneBatch)
{
    // Two tickets complete their first row with the same number.
    const std::array<std::array<int, 5>, 6> rows = {{{5, 15, 25, 35, 45},
                                                     {6, 16, 26, 36, 46},
                                                     {7, 17, 27, 37, 47},
                                                     {1, 51, 61, 71, 90},
                                                     {2, 52, 62, 72, 82},
                                                     {3, 53, 63, 73, 83}}};
    CheckGame<BatchView> game({TestSupport::BiletFromRows(rows, QStringLiteral("A")),
                               TestSupport::BiletFromRows(rows, QStringLiteral("B"))});
    GameEngine &engine = game.engine;
    const BatchView &view = game.view;
    EXPECT_TRUE(view.boardClicks);
    EXPECT_FALSE(view.cardClicks) << "the card is only looked at during a game";

    for (int n : {5, 15, 25, 35})
        engine.NomerEntered(n);
    EXPECT_TRUE(view.batches.empty());
    engine.NomerEntered(45);
    ASSERT_EQ(view.batches.size(), 1u) << "the winners of one number arrive together";
    EXPECT_EQ(view.batches[0].first, QStringLiteral("(номер 45)  "));
    EXPECT_EQ(view.batches[0].second, (std::vector<qint32>{0, 1}));
}

TEST(GameNotices, ATourChangeTakesTheHighlightOffEveryAwaitedNumberUpTo90)
{
    // The ticket's first row waits for 90 once 1, 12, 23 and 34 are drawn.
    const std::array<std::array<int, 5>, 6> rows = {{{1, 12, 23, 34, 90},
                                                     {2, 13, 24, 35, 46},
                                                     {3, 14, 25, 36, 47},
                                                     {4, 15, 26, 37, 48},
                                                     {5, 16, 27, 38, 49},
                                                     {6, 17, 28, 39, 50}}};
    CheckGame<IgraView> game({TestSupport::BiletFromRows(rows, QStringLiteral("A"))});
    GameEngine &engine = game.engine;
    for (int n : {1, 12, 23, 34, 60})
        engine.NomerEntered(n);
    ASSERT_TRUE(engine.Highlighted(90));
    game.messenger.Script({MsgAnswer::Yes}); // "Перейти в следующий тур?"
    engine.Tur_Click();
    ASSERT_EQ(engine.TurNomer, 2);
    EXPECT_FALSE(engine.Highlighted(90));
}
