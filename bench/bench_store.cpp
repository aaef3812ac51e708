#include "core/BiletStore.h"
#include "support/TicketFactory.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace
{

constexpr qint32 kBilety = 200000;

const std::vector<BILETCls> &SourceBilety()
{
    static const std::vector<BILETCls> bilety = [] {
        std::mt19937 rng(20240601);
        std::vector<BILETCls> out;
        out.reserve(kBilety);
        for (qint32 t = 0; t < kBilety; ++t)
            out.push_back(TestSupport::RandomValidBilet(rng, QString::number(100000 + t)));
        return out;
    }();
    return bilety;
}

// Loading a large ticket file: every ticket is stored, then the set is indexed number by number.
void BM_FillStoreAndIndex(benchmark::State &state)
{
    const std::vector<BILETCls> &source = SourceBilety();
    BiletStore store;
    for (auto _ : state) {
        std::vector<BILETCls> bilety;
        bilety.reserve(kBilety);
        for (qint32 t = 0; t < kBilety; ++t) {
            const BILETCls &from = source[static_cast<std::size_t>(t)];
            BILETCls &to = bilety.emplace_back();
            to.Nomer = from.Nomer;
            for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
                to.NomeraAdd(k, from.NomeraList(k));
        }
        store.Load(std::move(bilety));
        qint64 entries = 0;
        for (int n = 1; n <= Loto::kMaxNomer; ++n)
            entries += store.PoNomeru(n).ListCount();
        if (entries != qint64{kBilety} * Loto::kNomeraPerBilet) {
            state.SkipWithError("number index lost entries");
            break;
        }
        benchmark::DoNotOptimize(store.Bilety().data());
    }
    state.SetItemsProcessed(state.iterations() * kBilety);
}

} // namespace

BENCHMARK(BM_FillStoreAndIndex)->Unit(benchmark::kMillisecond);
