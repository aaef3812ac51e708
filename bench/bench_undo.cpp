// Taking back a number late in a check game, and keeping the game's journal.
#include "BenchApp.h"
#include "app/MainM.h"
#include "controls/ListBilet.h"
#include "core/GameEngine.h"
#include "io/BiletFile.h"
#include "io/FileSave.h"
#include "io/ZhurnalFile.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <numeric>

namespace
{

std::vector<BILETCls> Bilety(qint32 count)
{
    std::mt19937 rng(2026);
    std::vector<BILETCls> bilety;
    for (qint32 t = 0; t < count; ++t)
        bilety.push_back(TestSupport::RandomValidBilet(rng, QString::number(100000000 + t)));
    return bilety;
}

// The 85 numbers a game has had before the one taken back.
std::vector<int> Order()
{
    std::vector<int> order(90);
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), std::mt19937(85));
    order.resize(86);
    return order;
}

// The engine alone: 85 numbers typed, the 86th taken back and typed again.
void BM_UndoAtMove85(benchmark::State &bs)
{
    ProgramState state;
    TestSupport::RecordingView view;
    view.quiet = true;
    RecordingMessenger messenger;
    GameEngine engine(state, view, messenger);
    state.store.Load(Bilety(qint32(bs.range(0))));
    engine.RegimProverka_Click();
    const std::vector<int> order = Order();
    for (int n : order)
        engine.NomerEntered(n);
    for (auto _ : bs) {
        engine.Undo();
        bs.PauseTiming();
        engine.NomerEntered(order.back());
        messenger.shown.clear();
        bs.ResumeTiming();
    }
}

// The same through the real window, with the board, card, lists and strip repainted.
void BM_WindowUndoAtMove85(benchmark::State &bs)
{
    EnsureApplication();
    QTemporaryDir dir;
    const std::vector<BILETCls> bilety = Bilety(qint32(bs.range(0)));
    QFile f(dir.filePath(QStringLiteral("t.rlb")));
    if (!f.open(QIODevice::WriteOnly) ||
        !f.write(BiletFile::Encode(QStringLiteral("Тираж1"), bilety, qint32(bilety.size())))) {
        bs.SkipWithError("cannot write the ticket file");
        return;
    }
    f.close();
    ProgramState state;
    RecordingMessenger messenger;
    auto window = MainM(state, messenger, dir.path());
    window->show();
    window->OpenBlt(QStringLiteral("t.rlb"));
    window->RegimProverka_Click();
    const std::vector<int> order = Order();
    for (int n : order)
        window->igra().NomerEntered(n);
    for (auto _ : bs) {
        window->RegimUndo_Click();
        benchmark::DoNotOptimize(window->grab());
        bs.PauseTiming();
        window->igra().NomerEntered(order.back());
        messenger.shown.clear();
        bs.ResumeTiming();
    }
}

// The journal after a number: made and written whole. On a memory file system
// the disk's flush costs nothing; in the work folder it is measured with it.
void ZhurnalWrite(benchmark::State &bs, const QString &folder)
{
    ProgramState state;
    TestSupport::RecordingView view;
    view.quiet = true;
    RecordingMessenger messenger;
    GameEngine engine(state, view, messenger);
    state.store.Load(Bilety(200));
    engine.RegimProverka_Click();
    for (int n : Order())
        engine.NomerEntered(n);
    const QString path = QDir(folder).filePath(ZhurnalFile::FileName);
    const QByteArray fingerprint = ZhurnalFile::Fingerprint(QByteArray(30000, 'x'));
    for (auto _ : bs) {
        ZhurnalData data;
        data.BiletFile = QStringLiteral("Тираж1.rlb");
        data.fingerprint = fingerprint;
        data.RegimTitle = QStringLiteral("Тираж1");
        data.tirag = engine.HodyTirag();
        if (FileSave::WriteAtomically(path, ZhurnalFile::Encode(data)) != SaveStatus::Saved) {
            bs.SkipWithError("cannot write the journal");
            return;
        }
    }
    QFile::remove(path);
}

void BM_ZhurnalWriteInMemory(benchmark::State &bs)
{
    QTemporaryDir dir(QStringLiteral("/dev/shm/zhr-XXXXXX"));
    ZhurnalWrite(bs, dir.path());
}

void BM_ZhurnalWriteToDisk(benchmark::State &bs)
{
    QTemporaryDir dir;
    ZhurnalWrite(bs, dir.path());
}

// The journal's copy of the tickets, written once when a check game starts.
void BM_ZhurnalCopyAtGameStart(benchmark::State &bs)
{
    QTemporaryDir dir;
    const std::vector<BILETCls> bilety = Bilety(qint32(bs.range(0)));
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Жребикон.jnb"));
    for (auto _ : bs) {
        const QByteArray copy =
            ZhurnalFile::EncodeCopy(ZhurnalFile::Fingerprint("x"), Loto::RusLoto(), QStringLiteral("Тираж1"),
                                    bilety, qint32(bilety.size()));
        if (FileSave::WriteAtomically(path, copy) != SaveStatus::Saved) {
            bs.SkipWithError("cannot write the copy");
            return;
        }
    }
}

} // namespace

BENCHMARK(BM_ZhurnalCopyAtGameStart)->Arg(200)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UndoAtMove85)->Arg(200)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WindowUndoAtMove85)->Arg(200)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ZhurnalWriteInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ZhurnalWriteToDisk)->Unit(benchmark::kMicrosecond);
