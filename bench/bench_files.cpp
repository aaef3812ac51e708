// Opening a large ticket file: the parse alone, and the whole way from the
// menu's choice to the window showing the set (index, list, board, card).
#include "BenchApp.h"
#include "app/MainM.h"
#include "io/BiletFile.h"
#include "support/TicketFactory.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace
{

constexpr qint32 kBilety = 100000;

const QByteArray &LargeFile()
{
    static const QByteArray bytes = [] {
        std::mt19937 rng(1234);
        std::vector<BILETCls> bilety;
        bilety.reserve(kBilety);
        for (qint32 t = 0; t < kBilety; ++t)
            bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(100000000 + t)));
        return BiletFile::Encode(QStringLiteral("Тираж1234"), bilety, kBilety);
    }();
    return bytes;
}

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
    EnsureApplication();
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("big.rlb")));
        if (!f.open(QIODevice::WriteOnly) || f.write(LargeFile()) != LargeFile().size()) {
            state.SkipWithError("cannot write the ticket file");
            return;
        }
    }
    ProgramState program;
    RecordingMessenger messenger;
    std::unique_ptr<frmForma> window = MainM(program, messenger, dir.path());
    for (auto _ : state) {
        window->OpenBlt(QStringLiteral("big.rlb"));
        if (program.store.BiletCount != kBilety) {
            state.SkipWithError("the set was not opened");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_ParseTicketFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTicketFile)->Unit(benchmark::kMillisecond);
