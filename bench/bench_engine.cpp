// The game engine on a large ticket set: one drawn number in check mode, and
// a whole replay of a recorded 90-number draw with its tour changes.
#include "core/GameEngine.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <numeric>

namespace
{

constexpr qint32 kBilety = 100000;

// Announcements close at once; questions get the answer set beforehand.
class SilentMessenger : public Messenger
{
public:
    MsgAnswer answer = MsgAnswer::No;
    MsgAnswer Show(const MessageRequest &request) override
    {
        return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : answer;
    }
};

struct BigGame {
    ProgramState state;
    TestSupport::RecordingView view;
    SilentMessenger messenger;
    GameEngine engine{state, view, messenger};

    BigGame()
    {
        view.quiet = true;
        std::mt19937 rng(20240601);
        std::vector<BILETCls> bilety;
        for (qint32 t = 0; t < kBilety; ++t)
            bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(100000000 + t)));
        state.store.Load(std::move(bilety));
    }

    // Leaving a finished or running game asks first; the benchmark says yes.
    void StartCheck()
    {
        messenger.answer = MsgAnswer::Yes;
        engine.RegimProverka_Click();
        messenger.answer = MsgAnswer::No;
    }
};

BigGame &Game()
{
    static BigGame game;
    return game;
}

std::vector<int> Shuffled(std::mt19937 &rng)
{
    std::vector<int> nomera(90);
    std::iota(nomera.begin(), nomera.end(), 1);
    std::shuffle(nomera.begin(), nomera.end(), rng);
    return nomera;
}

// One number typed in check mode: the whole walk over the tickets that carry
// it, the winners and, when someone wins, the tour change over every ticket.
void BM_CheckOneNumber(benchmark::State &bs)
{
    BigGame &g = Game();
    std::mt19937 rng(11);
    std::vector<int> nomera;
    std::size_t next = 0;
    double worstMs = 0;
    for (auto _ : bs) {
        if (next == nomera.size()) {
            bs.PauseTiming();
            g.StartCheck();
            nomera = Shuffled(rng);
            next = 0;
            bs.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        g.engine.NomerEntered(nomera[next++]);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        worstMs = std::max(worstMs, took.count());
    }
    bs.counters["worst_ms"] = worstMs;
}
BENCHMARK(BM_CheckOneNumber)->Unit(benchmark::kMillisecond)->Iterations(900);

// A recorded check game of all 90 numbers (tour changes after its wins, the
// end marker) replayed tick by tick from "Повтор" to its end.
void BM_ReplayWholeDraw(benchmark::State &bs)
{
    BigGame &g = Game();
    std::mt19937 rng(12);
    g.StartCheck();
    for (int n : Shuffled(rng))
        g.engine.NomerEntered(n);
    g.engine.EndIgra();
    const Tirag recorded = g.state.TiragNomera;

    for (auto _ : bs) {
        bs.PauseTiming();
        g.state.PovtorNomera = recorded;
        g.state.RegimState = Rezhim::Povtor;
        g.messenger.answer = MsgAnswer::Yes;
        bs.ResumeTiming();
        g.engine.RegimPovtor_Click();
        g.messenger.answer = MsgAnswer::No;
        while (g.state.RegimState == Rezhim::Povtor)
            g.engine.Timer1_Timer();
    }
    if (g.state.TiragNomera != recorded)
        bs.SkipWithError("the replay did not reproduce the draw");
    bs.counters["tour_changes"] =
        double(std::count(recorded.Entries().begin(), recorded.Entries().end(), 91));
    bs.counters["winners"] = double(g.engine.NikaCount());
}
BENCHMARK(BM_ReplayWholeDraw)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
