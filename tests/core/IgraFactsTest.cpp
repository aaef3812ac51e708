// The facts a game tells its listeners agree with what the window shows, and
// each is told once: a take-back or a crash restore tells a rebuilt game, never
// its numbers again.
#include "core/GameEngine.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>
#include <numeric>

namespace
{

using Hod = GameEngine::Hod;

// Writes every fact down as a line, and keeps the last number's details.
class FactLog : public IgraListener
{
public:
    QStringList lines;
    std::vector<qint32> winners;
    std::vector<IgraAwaited> awaited;
    std::vector<BiletDataCls> hits;
    EndFact end;

    void NewGame() override { lines << QStringLiteral("NewGame"); }
    void NomerDrawn(const NomerFact &f) override
    {
        lines << QStringLiteral("Nomer %1 hod %2 tur %3").arg(f.nomer).arg(f.hod).arg(f.tur);
        winners.assign(f.winners.begin(), f.winners.end());
        awaited.assign(f.awaited.begin(), f.awaited.end());
        hits.clear();
        for (qint32 j = 0; j < f.hits.ListCount(); ++j)
            hits.push_back(f.hits.At(j));
    }
    void TurChanged(qint32 tur) override { lines << QStringLiteral("Tur %1").arg(tur); }
    void PrizAwarded(qint32 bilet) override { lines << QStringLiteral("Priz %1").arg(bilet); }
    void GameEnded(const EndFact &f) override
    {
        lines << QStringLiteral("End %1").arg(f.hod);
        end = f;
    }
    void Rebuilt(const IgraSummary &s) override
    {
        lines << QStringLiteral("Rebuilt hod %1 tur %2 last %3 priz %4")
                     .arg(s.hod)
                     .arg(s.tur)
                     .arg(s.lastNomer)
                     .arg(s.lastPriz);
    }
    void Undone(const IgraHod &h) override
    {
        lines << QStringLiteral("Undone %1 %2").arg(int(h.kind)).arg(h.value);
    }
    void RegimChanged(Rezhim r) override { lines << QStringLiteral("Regim %1").arg(int(r)); }

    // The lines told since the last call.
    QStringList Take()
    {
        QStringList out = lines;
        lines.clear();
        return out;
    }
};

struct Game {
    ProgramState state;
    TestSupport::RecordingView view{&state.store};
    RecordingMessenger messenger;
    GameEngine engine{state, view, messenger};
    FactLog log;

    explicit Game(const std::vector<BILETCls> &bilety)
    {
        messenger.fallbackAnswer = MsgAnswer::Yes; // "Перейти в следующий тур?"
        state.store.Load(bilety);
        state.kind = &Loto::RusLoto();
        engine.Listen(log);
    }
};

std::vector<BILETCls> RandomBilety(std::mt19937 &rng, int count)
{
    std::vector<BILETCls> bilety;
    for (int t = 0; t < count; ++t)
        bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(700 + t)));
    return bilety;
}

// The lines of the winners list from index from on that start with prefix, by ticket number.
QStringList Lines(const QStringList &nika, qsizetype from, const QString &prefix)
{
    QStringList out;
    for (qsizetype i = from; i < nika.size(); ++i)
        if (nika[i].startsWith(prefix))
            out << nika[i].mid(prefix.size());
    return out;
}

QStringList Nomera(const BiletStore &store, const std::vector<qint32> &bilety)
{
    QStringList out;
    for (qint32 t : bilety)
        out << store.Bilet(t).Nomer;
    return out;
}

TEST(IgraFacts, ANumbersFactNamesTheWinnersTheListShowsAndTheTicketsWaiting)
{
    for (int seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        Game game(RandomBilety(rng, 80));
        game.engine.RegimProverka_Click();
        std::vector<int> order(90);
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), rng);
        bool won = false;
        for (int k = 0; k < 70; ++k) {
            const int n = order[std::size_t(k)];
            const qsizetype listed = game.view.nika.size();
            game.log.Take();
            game.engine.NomerEntered(n);
            const QStringList told = game.log.Take();
            ASSERT_FALSE(told.isEmpty()) << seed;
            EXPECT_EQ(told.front(), QStringLiteral("Nomer %1 hod %2 tur %3")
                                        .arg(n)
                                        .arg(k + 1)
                                        .arg(game.engine.TurNomer - (told.size() > 1 ? 1 : 0)))
                << seed;
            const QString prefix = QStringLiteral("(номер") + Loto::NomerText(n) + QStringLiteral(")  ");
            EXPECT_EQ(Nomera(game.state.store, game.log.winners), Lines(game.view.nika, listed, prefix))
                << seed << " number " << n;
            won = won || !game.log.winners.empty();
            // A win in tours 1 and 2 moves the game on, told after the number.
            if (told.size() > 1) {
                EXPECT_EQ(told,
                          QStringList({told.front(), QStringLiteral("Tur %1").arg(game.engine.TurNomer)}))
                    << seed;
            }
            for (const BiletDataCls &hit : game.log.hits) {
                const BILETCls &b = game.state.store.Bilet(hit.NomerBileta);
                bool inRow = false;
                for (int i = 0; i < 5; ++i)
                    inRow = inRow || b.NomeraList(hit.Stroka * 5 + i) == n;
                EXPECT_TRUE(inRow) << seed << " number " << n << " ticket " << hit.NomerBileta;
            }
            for (const IgraAwaited &a : game.log.awaited) {
                EXPECT_EQ(game.state.NomerColor[std::size_t(a.nomer)], Kletka::Free) << seed;
                const BILETCls &b = game.state.store.Bilet(a.bilet);
                bool on = false;
                for (int p = 0; p < 30; ++p)
                    on = on || b.NomeraList(p) == a.nomer;
                EXPECT_TRUE(on) << seed << " awaited " << a.nomer;
                // Highlighted unless the tour moved on and took the highlights away.
                if (told.size() == 1) {
                    EXPECT_TRUE(game.engine.Highlighted(a.nomer)) << seed << " awaited " << a.nomer;
                }
            }
        }
        EXPECT_TRUE(won) << seed;
        // Every (ticket, row) carrying the last number was a hit.
        const int last = order[69];
        std::size_t carrying = 0;
        for (qint32 t = 0; t < game.state.store.BiletCount(); ++t)
            for (int p = 0; p < 30; ++p)
                carrying += game.state.store.Bilet(t).NomeraList(p) == last;
        EXPECT_EQ(game.log.hits.size(), carrying) << seed;

        // The end: the undrawn numbers in order, and exactly the jackpot lines of the list.
        const qsizetype listed = game.view.nika.size();
        game.messenger.Script({MsgAnswer::Yes, MsgAnswer::No}); // " Конец", then no saving
        game.engine.Knopka_Click();
        std::vector<qint32> undrawn(order.begin() + 70, order.end());
        std::sort(undrawn.begin(), undrawn.end());
        EXPECT_EQ(game.log.end.undrawn, undrawn) << seed;
        EXPECT_EQ(game.log.end.hod, 70) << seed;
        EXPECT_EQ(Nomera(game.state.store, game.log.end.jackpot),
                  Lines(game.view.nika, listed, QStringLiteral("(КУБЫШКА)  ")))
            << seed;
        EXPECT_EQ(game.log.Take(), QStringList({QStringLiteral("End 70"), QStringLiteral("Regim 0")}))
            << seed;
    }
}

struct UndoCase {
    const char *name;
    std::vector<Hod> hody; // the last one is taken back
    QString rebuilt;       // the game as told after the take-back
};

TEST(IgraFacts, ATakeBackTellsTheRebuiltGameOnceAndNothingOfItAgain)
{
    const Hod n5{Hod::Kind::Nomer, 5}, n17{Hod::Kind::Nomer, 17}, n33{Hod::Kind::Nomer, 33};
    const Hod priz2{Hod::Kind::Priz, 2}, priz4{Hod::Kind::Priz, 4}, tur{Hod::Kind::Tur, 0};
    const std::vector<Hod> five = {
        {Hod::Kind::Nomer, 1}, {Hod::Kind::Nomer, 2}, {Hod::Kind::Nomer, 3}, {Hod::Kind::Nomer, 4}, n5};
    std::vector<Hod> fiveAndTur = five;
    fiveAndTur.push_back(tur);
    std::vector<Hod> turThenNomer = fiveAndTur;
    turThenNomer.push_back(n17);
    const std::vector<UndoCase> cases = {
        {"the only number", {n5}, QStringLiteral("Rebuilt hod 0 tur 1 last 0 priz -1")},
        {"a number after a prize",
         {n5, n17, priz2, n33},
         QStringLiteral("Rebuilt hod 2 tur 1 last 17 priz 2")},
        {"the second of two prizes", {n5, priz4, priz2}, QStringLiteral("Rebuilt hod 1 tur 1 last 5 priz 4")},
        {"a prize", {n5, n17, priz2}, QStringLiteral("Rebuilt hod 2 tur 1 last 17 priz -1")},
        {"a tour change", fiveAndTur, QStringLiteral("Rebuilt hod 5 tur 1 last 5 priz -1")},
        {"a number of tour 2", turThenNomer, QStringLiteral("Rebuilt hod 5 tur 2 last 5 priz -1")},
    };
    // Tickets that carry none of the numbers played, so nothing wins on the way.
    std::vector<BILETCls> bilety;
    for (int t = 0; t < 6; ++t)
        bilety.push_back(TestSupport::BiletFromRows({{{40 + t, 50, 60, 70, 80},
                                                      {41, 51, 61, 71, 81},
                                                      {42, 52, 62, 72, 82},
                                                      {43, 53, 63, 73, 83},
                                                      {44, 54, 64, 74, 84},
                                                      {45, 55, 65, 75, 85}}},
                                                    QString::number(300 + t)));
    for (const UndoCase &c : cases) {
        Game game(bilety);
        game.engine.RegimProverka_Click();
        for (const Hod &h : c.hody) {
            if (h.kind == Hod::Kind::Nomer)
                game.engine.NomerEntered(h.value);
            else if (h.kind == Hod::Kind::Tur)
                game.engine.Tur_Click();
            else
                game.engine.PrizPoNomeru(h.value);
        }
        ASSERT_EQ(game.engine.Hody(), c.hody) << c.name;
        game.log.Take();
        const std::size_t shown = game.messenger.shown.size();
        ASSERT_EQ(game.engine.Undo(), c.hody.back()) << c.name;
        EXPECT_EQ(game.log.Take(),
                  QStringList(
                      {c.rebuilt,
                       QStringLiteral("Undone %1 %2").arg(int(c.hody.back().kind)).arg(c.hody.back().value)}))
            << c.name;
        EXPECT_EQ(game.messenger.shown.size(), shown) << c.name;
    }
}

TEST(IgraFacts, ARestoredGameIsToldAsRebuiltNotNumberByNumber)
{
    std::mt19937 rng(9);
    Game game(RandomBilety(rng, 20));
    game.engine.RestoreProverka(Tirag({12, 34, 56, 78, 9, Loto::kMarkerPriz, 3, 44}));
    EXPECT_EQ(game.log.Take(), QStringList({QStringLiteral("Regim 1"), QStringLiteral("NewGame"),
                                            QStringLiteral("Rebuilt hod 6 tur 1 last 44 priz -1")}));
}

TEST(IgraFacts, EveryListenerHearsEachFactOnceUntilItLeaves)
{
    std::mt19937 rng(4);
    Game game(RandomBilety(rng, 10));
    FactLog second;
    game.engine.Listen(second);
    game.engine.Listen(game.log); // already listening: not told twice
    game.engine.RegimProverka_Click();
    game.engine.NomerEntered(7);
    const QStringList expected = {QStringLiteral("Regim 1"), QStringLiteral("NewGame"),
                                  QStringLiteral("Nomer 7 hod 1 tur 1")};
    EXPECT_EQ(game.log.Take(), expected);
    EXPECT_EQ(second.Take(), expected);
    game.engine.Unlisten(second);
    game.engine.NomerEntered(8);
    game.engine.NomerEntered(8); // drawn already: no fact
    EXPECT_EQ(game.log.Take(), QStringList({QStringLiteral("Nomer 8 hod 2 tur 1")}));
    EXPECT_TRUE(second.Take().isEmpty());
}

TEST(IgraFacts, AReplayTellsTheFactsOfTheGameItReplays)
{
    for (int seed = 1; seed <= 8; ++seed) {
        std::mt19937 rng(seed);
        Game game(RandomBilety(rng, 40));
        game.engine.RegimProverka_Click();
        std::vector<int> order(90);
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), rng);
        for (int k = 0; k < 60; ++k) {
            game.engine.NomerEntered(order[std::size_t(k)]);
            if (k == 30)
                game.engine.PrizPoNomeru(7);
        }
        game.log.Take();
        const std::vector<qint32> draw = game.state.TiragNomera.Entries();
        // The facts of the game, as told while it was played, from the recorded draw.
        Game check(game.state.store.Bilety());
        check.engine.RegimProverka_Click();
        for (std::size_t i = 0; i < draw.size(); ++i) {
            if (draw[i] == Loto::kMarkerPriz)
                check.engine.PrizPoNomeru(draw[++i]);
            else if (draw[i] >= 1 && draw[i] <= 90)
                check.engine.NomerEntered(draw[i]);
        }
        QStringList expected;
        for (const QString &line : check.log.lines)
            if (line.startsWith(QStringLiteral("Nomer")) || line.startsWith(QStringLiteral("Tur")) ||
                line.startsWith(QStringLiteral("Priz")))
                expected << line;

        game.engine.PovtorTiraga(QStringLiteral("ПОВТОР"), Tirag(draw));
        for (int tick = 0; tick < 200 && game.state.RegimState == Rezhim::Povtor; ++tick)
            game.engine.Timer1_Timer();
        QStringList replayed;
        for (const QString &line : game.log.lines)
            if (line.startsWith(QStringLiteral("Nomer")) || line.startsWith(QStringLiteral("Tur")) ||
                line.startsWith(QStringLiteral("Priz")))
                replayed << line;
        EXPECT_EQ(replayed, expected) << seed;
        EXPECT_TRUE(game.log.lines.contains(QStringLiteral("End 60"))) << seed;
    }
}

} // namespace
