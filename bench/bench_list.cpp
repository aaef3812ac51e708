#include "BenchApp.h"
#include "controls/ListBilet.h"
#include "core/ProgramState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace
{

constexpr qint32 kBilety = 100000;

// Nine-digit numbers, as printed on the tickets; they fit the checking column whole.
void FillStore(ProgramState &state)
{
    std::vector<BILETCls> bilety(static_cast<std::size_t>(kBilety));
    for (qint32 t = 0; t < kBilety; ++t)
        bilety[static_cast<std::size_t>(t)].Nomer = QString::number(100000000 + qint64{t} * 7919 % 900000000);
    state.store.Load(std::move(bilety));
}

void PressKey(QWidget *widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

// Loading a large ticket set into the list, then jumping to its last ticket with End.
// The argument is the mode: 0 lists numbers fitted to the checking column, 4 whole numbers.
void BM_ListAddAllThenEnd(benchmark::State &bs)
{
    EnsureApplication();
    ProgramState state;
    state.RegimState = Rezhim(bs.range(0));
    FillStore(state);
    ListBilet list(state);
    list.setGeometry(0, 0, 169, 154);
    list.SetLineWidth(state.RegimState == Rezhim::Zagruzka ? 164 : 69);
    list.show();

    for (auto _ : bs) {
        bs.PauseTiming();
        list.Clear();
        QCoreApplication::processEvents();
        bs.ResumeTiming();
        for (qint32 t = 0; t < kBilety; ++t)
            list.Add();
        PressKey(list.Picture(), Qt::Key_End);
    }
    if (list.ListIndex() != kBilety - 1 || list.ScrollValue() != kBilety - ListBilet::kPageRows) {
        bs.SkipWithError("End did not reach the last row");
        return;
    }

    // What the rows cost beyond the tickets' own text.
    list.Clear();
    const std::size_t before = HeapInUse();
    for (qint32 t = 0; t < kBilety; ++t)
        list.Add();
    const std::size_t after = HeapInUse();
    bs.counters["heap_bytes_per_row"] = double(after - before) / kBilety;
    bs.SetItemsProcessed(bs.iterations() * kBilety);
}

// One repaint of the visible rows at the end of a large set in a running game:
// counts, hit marks, awaited numbers and leaders in every visible row.
void PrepareGame(ProgramState &state, ListBilet &list)
{
    for (qint32 t = 0; t < kBilety; ++t)
        list.Add();
    state.stats.Start(kBilety);
    PressKey(list.Picture(), Qt::Key_End);
    for (qint32 t = kBilety - 11; t < kBilety; ++t) {
        state.stats.Sovpad(t, 4);
        state.stats.NomerV(t, 87);
        state.stats.AddLider(t);
    }
    state.stats.Publish();
}

// Repaints the list of a game under way with render, timed.
template <typename Render> void RepaintInGame(benchmark::State &bs, Render render)
{
    EnsureApplication();
    ProgramState state;
    FillStore(state);
    ListBilet list(state);
    list.setGeometry(0, 0, 169, 154);
    PrepareGame(state, list);
    for (auto _ : bs) {
        auto picture = render(list);
        benchmark::DoNotOptimize(picture);
    }
}

void BM_ListGrab(benchmark::State &bs)
{
    RepaintInGame(bs, [](ListBilet &list) { return list.grab(); });
}

void BM_ListRenderVisible(benchmark::State &bs)
{
    RepaintInGame(bs, [](ListBilet &list) { return list.RenderVisible(); });
}

} // namespace

BENCHMARK(BM_ListAddAllThenEnd)
    ->Arg(qint64(Rezhim::None))
    ->Arg(qint64(Rezhim::Zagruzka))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListGrab)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListRenderVisible)->Unit(benchmark::kMicrosecond);
