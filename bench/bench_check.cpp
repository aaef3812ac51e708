// The headless checker on 100,000 tickets and a full 90-number draw recorded
// in check mode (tour changes after the first wins, every ticket complete and
// in the jackpot at the end): the runner from reading both files to the JSON
// text, and the program as a whole process. Both should stay under 0.5 s.
#include "BenchApp.h"
#include "core/GameEngine.h"
#include "io/BiletFile.h"
#include "io/TiragFile.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"
#include "tools/Checker.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <numeric>
#include <random>

namespace
{

constexpr qint32 kBilety = 100000;

struct CheckFiles {
    QTemporaryDir dir;
    QString bilety;
    QString tirag;
    bool ok = false;

    CheckFiles()
    {
        std::mt19937 rng(20240607);
        std::vector<BILETCls> set;
        set.reserve(kBilety);
        for (qint32 t = 0; t < kBilety; ++t)
            set.push_back(TestSupport::RandomValidBilet(rng, QString::number(100000000 + t)));

        bilety = QDir(dir.path()).filePath(QStringLiteral("Тираж1234.rlb"));
        tirag = QDir(dir.path()).filePath(QStringLiteral("Тираж1234.rlt"));
        ok = Save(bilety, BiletFile::Encode(QStringLiteral("Тираж1234"), set, kBilety)) &&
             Save(tirag, TiragFile::Encode(QStringLiteral("Тираж1234"), RecordDraw(std::move(set), rng)));
    }

    static bool Save(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    // All 90 numbers typed in a check game on these tickets, then " Конец": the
    // draw holds the tour changes the wins caused and the end marker.
    static Tirag RecordDraw(std::vector<BILETCls> set, std::mt19937 &rng)
    {
        ProgramState state;
        TestSupport::RecordingView view;
        view.quiet = true;
        RecordingMessenger messenger;
        GameEngine engine(state, view, messenger);
        state.store.Load(std::move(set));

        engine.RegimProverka_Click();
        std::vector<int> nomera(90);
        std::iota(nomera.begin(), nomera.end(), 1);
        std::shuffle(nomera.begin(), nomera.end(), rng);
        for (int n : nomera)
            engine.NomerEntered(n);
        messenger.Script({MsgAnswer::Yes}); // "Конец игры?"; the draw is not saved
        engine.Knopka_Click();

        return state.TiragNomera;
    }
};

CheckFiles &Files()
{
    static CheckFiles files;
    return files;
}

void BM_CheckRun(benchmark::State &bs)
{
    CheckFiles &f = Files();
    if (!f.ok) {
        bs.SkipWithError("cannot write the files");
        return;
    }
    qsizetype jsonBytes = 0;
    std::size_t winners = 0;
    for (auto _ : bs) {
        auto result = Check::Run(f.bilety, f.tirag);
        const auto *report = std::get_if<Check::Report>(&result);
        if (!report) {
            bs.SkipWithError("the check failed");
            return;
        }
        // As the program writes it: piece by piece, here into nothing.
        jsonBytes = 0;
        Check::WriteJson(*report, [&jsonBytes](QByteArrayView piece) {
            benchmark::DoNotOptimize(piece.data());
            jsonBytes += piece.size();
        });
        winners = report->winners.size();
    }
    bs.counters["winners"] = double(winners);
    bs.counters["jsonMB"] = double(jsonBytes) / 1e6;
}

// The program as a user runs it: start, both files, the JSON read to the end.
void BM_CheckProcess(benchmark::State &bs)
{
    EnsureApplication();
    CheckFiles &f = Files();
    if (!f.ok) {
        bs.SkipWithError("cannot write the files");
        return;
    }
    for (auto _ : bs) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(QStringLiteral(ZHR_CHECK_EXE), {QStringLiteral("--json"), f.bilety, f.tirag});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            bs.SkipWithError("the program failed");
            return;
        }
    }
}

} // namespace

BENCHMARK(BM_CheckRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CheckProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
