// The draw of the game in hand as a file, the checker and a replay take it.
#include "core/Tirag.h"
#include "core/GameEngine.h"
#include "core/ProgramState.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>
#include <tuple>

namespace
{

struct TiragCase {
    const char *name;
    std::vector<qint32> entries;
    qint32 hodCount;
    qint32 hodExtra;
    bool ended;
};

TEST(Tirag, ItsNumbersAndMarkersAreCountedApartAndTheEndMarkerEndsIt)
{
    const std::vector<TiragCase> cases = {
        {"nothing drawn", {}, 0, 0, false},
        {"the end alone", {93}, 0, 1, true},
        {"a number, a tour and the end", {5, 91, 93}, 1, 2, true},
        {"an end marker before the last entry", {5, 93, 7}, 2, 1, false},
        {"a prize took the end's place", {5, 94, 0}, 1, 2, false},
        // The entry after a prize is a ticket's index: the ticket at index 93 is no end.
        {"a prize for the ticket at index 93", {5, 94, 93}, 1, 2, false},
        {"the end after such a prize", {5, 94, 93, 93}, 1, 3, true},
        // Nor is the ticket at index 7 a number drawn.
        {"a prize for the ticket at index 7", {5, 94, 7, 8}, 2, 2, false},
        {"a prize marker with no ticket", {5, 94}, 1, 1, false},
        {"entries no game writes", {5, 0, 92, -3, 95}, 1, 4, false},
    };
    for (const TiragCase &c : cases) {
        const Tirag tirag(c.entries);
        EXPECT_EQ(tirag.Entries(), c.entries) << c.name;
        EXPECT_EQ(tirag.Size(), qint32(c.entries.size())) << c.name;
        EXPECT_EQ(tirag.HodCount(), c.hodCount) << c.name;
        EXPECT_EQ(tirag.HodExtra(), c.hodExtra) << c.name;
        EXPECT_EQ(tirag.Ended(), c.ended) << c.name;
    }
}

// A draw built step by step holds what a file of the same entries holds, and
// the counts follow every step.
TEST(Tirag, StepsAddTheirEntriesAndCounts)
{
    Tirag tirag;
    EXPECT_TRUE(tirag.Empty());
    tirag.AddNomer(5);
    tirag.AddNomer(90);
    tirag.AddTur();
    tirag.AddNomer(1);
    tirag.AddPriz(3);
    EXPECT_EQ(tirag.Entries(), (std::vector<qint32>{5, 90, 91, 1, 94, 3}));
    EXPECT_EQ(tirag.HodCount(), 3);
    EXPECT_EQ(tirag.HodExtra(), 3);
    EXPECT_FALSE(tirag.Ended());
    tirag.AddEnd();
    EXPECT_TRUE(tirag.Ended());
    EXPECT_EQ(tirag, Tirag({5, 90, 91, 1, 94, 3, 93}));

    // Nothing outside 1..90 is a number.
    tirag.AddNomer(0);
    tirag.AddNomer(91);
    EXPECT_EQ(tirag.Size(), 7);
    EXPECT_TRUE(tirag.Ended());

    tirag.Clear();
    EXPECT_EQ(tirag, Tirag());
    EXPECT_EQ(tirag.HodCount(), 0);
    EXPECT_FALSE(tirag.Ended());
}

// A prize given once the game ended takes the end's place, so a replay reaches
// it: the marker counted once, never twice.
TEST(Tirag, APrizeAfterTheEndTakesTheEndsPlace)
{
    Tirag tirag({5, 91, 93});
    tirag.AddPriz(0);
    EXPECT_EQ(tirag.Entries(), (std::vector<qint32>{5, 91, 94, 0}));
    EXPECT_EQ(tirag.HodExtra(), 3);
    EXPECT_FALSE(tirag.Ended());
    tirag.AddPriz(93);
    tirag.AddEnd();
    tirag.AddPriz(2);
    EXPECT_EQ(tirag.Entries(), (std::vector<qint32>{5, 91, 94, 0, 94, 93, 94, 2}));
    EXPECT_EQ(tirag.HodCount(), 1);
    EXPECT_FALSE(tirag.Ended());
    // Before the end a prize is added after what is there.
    Tirag open({5});
    open.AddPriz(1);
    EXPECT_EQ(open.Entries(), (std::vector<qint32>{5, 94, 1}));
}

// Read step by step, a draw gives each thing that happened once, a prize with
// its ticket, and covers every entry.
TEST(Tirag, ReadStepByStep)
{
    using K = Tirag::Kind;
    const Tirag tirag({27, 91, 94, 93, 0, 94, 5, 93, 94});
    std::vector<std::tuple<K, qint32, qint32>> steps;
    for (qint32 pos = 0; pos < tirag.Size();) {
        const Tirag::Step step = tirag.At(pos);
        steps.emplace_back(step.kind, step.value, pos);
        pos += step.size;
    }
    const std::vector<std::tuple<K, qint32, qint32>> expected = {
        {K::Nomer, 27, 0}, {K::Tur, 0, 1}, {K::Priz, 93, 2},    {K::Unknown, 0, 4},
        {K::Priz, 5, 5},   {K::End, 0, 7}, {K::Unknown, 94, 8},
    };
    EXPECT_EQ(steps, expected);
}

// The ticket at index 93 given a prize, then another: both prizes stay in the
// draw, and the game is not taken for one played out.
TEST(Tirag, APrizeForTheTicketAtIndex93IsNoEndOfTheGame)
{
    ProgramState state;
    std::mt19937 rng(5);
    std::vector<BILETCls> bilety;
    for (int t = 0; t < 100; ++t)
        bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(t)));
    state.store.Load(bilety);
    TestSupport::RecordingView view;
    RecordingMessenger messenger;
    GameEngine engine(state, view, messenger);
    engine.RegimProverka_Click();
    engine.NomerEntered(5);
    engine.PrizPoNomeru(93);
    EXPECT_FALSE(engine.PovtorAvailable());
    engine.PrizPoNomeru(2);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5, 94, 93, 94, 2}));
    EXPECT_EQ(state.TiragNomera.HodCount(), 1);
}

} // namespace
