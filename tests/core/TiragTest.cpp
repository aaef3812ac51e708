// The draw of the game in hand as a file, the checker and a replay take it.
#include "core/GameEngine.h"
#include "core/ProgramState.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"

#include <gtest/gtest.h>

namespace
{

struct TiragCase {
    const char *name;
    std::vector<qint32> stored; // TiragNomera, index 0 unused
    qint32 hodCount;
    qint32 hodExtra;
    std::vector<qint32> entries;
    bool ended;
};

TEST(Tirag, EntriesRunFromTheFirstToTheDrawsEndAndTheEndMarkerEndsIt)
{
    const std::vector<TiragCase> cases = {
        {"nothing drawn", {0, 0}, 0, 0, {}, false},
        {"the end alone", {0, 93}, 0, 1, {93}, true},
        {"a number, a tour and the end", {0, 5, 91, 93}, 1, 2, {5, 91, 93}, true},
        {"entries past the end are left over", {0, 5, 93, 7, 93}, 1, 1, {5, 93}, true},
        {"an end marker before the last entry", {0, 5, 93, 7}, 2, 1, {5, 93, 7}, false},
        {"a prize took the end's place", {0, 5, 94, 0}, 1, 2, {5, 94, 0}, false},
        // The entry after a prize is a ticket's index: the ticket at index 93 is no end.
        {"a prize for the ticket at index 93", {0, 5, 94, 93}, 1, 2, {5, 94, 93}, false},
        {"the end after such a prize", {0, 5, 94, 93, 93}, 1, 3, {5, 94, 93, 93}, true},
        {"an end beyond what is stored", {0, 5}, 1, 1, {5}, false},
    };
    for (const TiragCase &c : cases) {
        ProgramState state;
        state.TiragNomera = c.stored;
        state.HodCount = c.hodCount;
        state.HodExtra = c.hodExtra;
        EXPECT_EQ(state.TiragEntries(), c.entries) << c.name;
        EXPECT_EQ(state.TiragEnded(), c.ended) << c.name;
    }
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
    EXPECT_EQ(state.TiragEntries(), (std::vector<qint32>{5, 94, 93, 94, 2}));
}

} // namespace
