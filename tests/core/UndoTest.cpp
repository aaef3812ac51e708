// Taking back what the user did in a check game leaves everything as if it
// had never been done.
#include "core/GameEngine.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>

namespace
{

using Hod = GameEngine::Hod;

struct Game {
    ProgramState state;
    TestSupport::RecordingView view{&state.store};
    RecordingMessenger messenger;
    GameEngine engine{state, view, messenger};

    explicit Game(const std::vector<BILETCls> &bilety)
    {
        messenger.fallbackAnswer = MsgAnswer::Yes; // "Перейти в следующий тур?"
        state.store.Load(bilety);
        state.kind = &Loto::RusLoto();
        engine.RegimProverka_Click();
    }
    void Play(const Hod &hod)
    {
        if (hod.kind == Hod::Kind::Nomer)
            engine.NomerEntered(hod.value);
        else if (hod.kind == Hod::Kind::Tur)
            engine.Tur_Click();
        else
            engine.PrizPoNomeru(hod.value);
    }
};

// Everything the user sees of a game and everything the next number builds on.
void ExpectSame(const Game &a, const Game &b, int seed)
{
    const ProgramState &s = a.state, &t = b.state;
    EXPECT_EQ(s.TiragNomera, t.TiragNomera) << seed;
    EXPECT_EQ(s.TiragNomera.HodCount(), t.TiragNomera.HodCount()) << seed;
    EXPECT_EQ(s.NomerColor, t.NomerColor) << seed;
    EXPECT_EQ(s.NikaBilet, t.NikaBilet) << seed;
    EXPECT_EQ(a.engine.TurNomer, b.engine.TurNomer) << seed;
    EXPECT_EQ(a.engine.LiderMax, b.engine.LiderMax) << seed;
    EXPECT_EQ(a.engine.KletkaNow, b.engine.KletkaNow) << seed;
    EXPECT_EQ(a.engine.NomerVFlag, b.engine.NomerVFlag) << seed;
    EXPECT_EQ(a.engine.Hody(), b.engine.Hody()) << seed;
    for (std::size_t i = 0; i < a.engine.SovpBileta.size(); ++i)
        for (int r = 0; r < 6; ++r)
            EXPECT_EQ(a.engine.SovpBileta[i].Stroka(r), b.engine.SovpBileta[i].Stroka(r)) << seed;
    for (qint32 i = 0; i < s.stats.Rows(); ++i) {
        const ListStats::Row &x = s.stats.At(i), &y = t.stats.At(i);
        EXPECT_TRUE(x.count == y.count && x.awaited == y.awaited && x.plus == y.plus && x.lider == y.lider)
            << seed << " row " << i;
    }
    for (int n = 1; n <= 90; ++n)
        EXPECT_EQ(a.engine.Highlighted(n), b.engine.Highlighted(n)) << seed << " number " << n;
    EXPECT_EQ(a.view.pole, b.view.pole) << seed;
    EXPECT_EQ(a.view.nika, b.view.nika) << seed;
    EXPECT_EQ(a.view.tur, b.view.tur) << seed;
    EXPECT_EQ(a.view.turColor, b.view.turColor) << seed;
    EXPECT_EQ(a.view.nhod, b.view.nhod) << seed;
}

} // namespace

TEST(Undo, RandomGamesWithTakenBackActionsEqualTheGamesWithoutThem)
{
    for (int seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        std::vector<BILETCls> bilety;
        for (int t = 0; t < 60; ++t)
            bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(500 + t)));
        Game slips(bilety);
        std::vector<Hod> kept;
        const int steps = 60 + int(rng() % 120);
        for (int step = 0; step < steps; ++step) {
            const unsigned what = rng() % 100;
            if (what < 10 && !kept.empty()) {
                // Take back one or a few.
                for (unsigned k = 1 + rng() % 3; k > 0 && !kept.empty(); --k) {
                    ASSERT_EQ(slips.engine.Undo(), kept.back()) << seed;
                    kept.pop_back();
                }
                continue;
            }
            const qint32 before = slips.engine.Hody().size();
            Hod hod{Hod::Kind::Nomer, 1 + int(rng() % 90)};
            if (what < 13)
                hod = Hod{Hod::Kind::Tur, 0};
            else if (what < 15)
                hod = Hod{Hod::Kind::Priz, int(rng() % 60)};
            slips.Play(hod);
            if (qint32(slips.engine.Hody().size()) > before)
                kept.push_back(hod);
        }
        Game clean(bilety);
        for (const Hod &hod : kept)
            clean.Play(hod);
        ExpectSame(slips, clean, seed);
        // The announcements of the rebuilt actions are not shown again.
        EXPECT_LE(slips.messenger.shown.size(), clean.messenger.shown.size() + std::size_t(steps)) << seed;
    }
}

TEST(Undo, NothingToTakeBackOutsideARunningCheck)
{
    std::mt19937 rng(3);
    Game game({TestSupport::RandomValidBilet(rng, QStringLiteral("1"))});
    EXPECT_FALSE(game.engine.Undo());
    game.engine.NomerEntered(5);
    ASSERT_TRUE(game.engine.CanUndo());
    const std::size_t shown = game.messenger.shown.size();
    EXPECT_EQ(game.engine.Undo(), (Hod{Hod::Kind::Nomer, 5}));
    EXPECT_EQ(game.messenger.shown.size(), shown);
    game.engine.NomerEntered(5); // entered again at once
    EXPECT_EQ(game.state.TiragNomera.HodCount(), 1);
    game.engine.Knopka_Click(); // " Конец", answered Yes; "Сохранить тираж?" too
    EXPECT_FALSE(game.engine.CanUndo());
}
