// Opening a large ticket file: the parse alone, and the whole way from the
// menu's choice to the window showing the set (index, list, board, card).
#include "BenchApp.h"
#include "app/MainM.h"
#include "controls/ListBilet.h"
#include "io/BiletFile.h"
#include "support/RecordingMessenger.h"
#include "support/TicketFactory.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <numeric>
#include <random>

namespace
{

constexpr qint32 kBilety = 100000;

// A ticket file of count tickets (100,000 or a million), made once.
const QByteArray &LargeFile(qint32 count = kBilety)
{
    static std::map<qint32, QByteArray> files;
    QByteArray &bytes = files[count];
    if (bytes.isEmpty()) {
        std::mt19937 rng(1234);
        std::vector<BILETCls> bilety;
        bilety.reserve(std::size_t(count));
        for (qint32 t = 0; t < count; ++t)
            bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(100000000 + t)));
        bytes = BiletFile::Encode(QStringLiteral("Тираж1234"), bilety, count);
    }
    return bytes;
}

// A started window whose work folder holds the large file as "big.rlb";
// no window when the file could not be written.
struct LargeSetWindow {
    explicit LargeSetWindow(qint32 count = kBilety)
    {
        EnsureApplication();
        QFile f(dir.filePath(QStringLiteral("big.rlb")));
        if (f.open(QIODevice::WriteOnly) && f.write(LargeFile(count)) == LargeFile(count).size())
            window = MainM(program, messenger, dir.path());
    }
    QTemporaryDir dir;
    ProgramState program;
    RecordingMessenger messenger;
    std::unique_ptr<frmForma> window;
};

void BM_ParseTicketFile(benchmark::State &state)
{
    const QByteArray &bytes = LargeFile();
    for (auto _ : state) {
        auto parsed = BiletFile::Parse(bytes);
        benchmark::DoNotOptimize(parsed);
    }
    state.counters["MB"] = double(bytes.size()) / 1e6;
}

void BM_OpenTicketFile(benchmark::State &state)
{
    const qint32 count = qint32(state.range(0));
    LargeSetWindow large(count);
    if (!large.window) {
        state.SkipWithError("cannot write the ticket file");
        return;
    }
    ProgramState &program = large.program;
    frmForma *window = large.window.get();
    for (auto _ : state) {
        window->OpenBlt(QStringLiteral("big.rlb"));
        if (program.store.BiletCount() != count) {
            state.SkipWithError("the set was not opened");
            break;
        }
    }
}

// One called number in check mode through the real window: board, card, the
// list's statistics and one repaint of the list. Every 90 numbers a new game
// starts, outside the timing.
void BM_WindowOneNumber(benchmark::State &state)
{
    LargeSetWindow large;
    if (!large.window) {
        state.SkipWithError("cannot write the ticket file");
        return;
    }
    ProgramState &program = large.program;
    frmForma *window = large.window.get();
    window->show();
    window->OpenBlt(QStringLiteral("big.rlb"));
    std::mt19937 rng(77);
    std::vector<int> order(90);
    std::size_t next = order.size();
    double worst = 0;
    for (auto _ : state) {
        if (next == order.size()) {
            state.PauseTiming();
            std::iota(order.begin(), order.end(), 1);
            std::shuffle(order.begin(), order.end(), rng);
            next = 0;
            program.TiragNomera.Clear();
            window->RegimProverka_Click();
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        window->igra().NomerEntered(order[next++]);
        benchmark::DoNotOptimize(window->Ui().ListBilet1->grab());
        worst = std::max(
            worst,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["worst_ms"] = worst;
}

} // namespace

BENCHMARK(BM_WindowOneNumber)->Iterations(900)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseTicketFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTicketFile)->Arg(kBilety)->Arg(1000000)->Unit(benchmark::kMillisecond);
