// Reading tickets from a phone's 12-megapixel photo, the size a person sends.
#include "BenchApp.h"
#include "TicketArt.h"

#include <benchmark/benchmark.h>

namespace
{

TicketArt::Shot PhonePhoto(int tickets)
{
    TicketArt::ShotOptions options;
    options.level = tickets > 1 ? TicketArt::Level::Sheet : TicketArt::Level::Photo;
    options.tickets = tickets;
    options.canvas = QSize(4000, 3000);
    options.family = QStringLiteral("PT Sans");
    return TicketArt::MakeShot(77, options);
}

void BM_ReadPhoto12Mp(benchmark::State &state)
{
    // Drawing the photo needs fonts, and so an application object.
    EnsureApplication();
    const TicketArt::Shot shot = PhonePhoto(int(state.range(0)));
    std::size_t found = 0;
    for (auto _ : state) {
        const auto bilety = Scan::ReadBilety(shot.image);
        found = bilety.size();
        benchmark::DoNotOptimize(bilety.data());
    }
    state.counters["tickets"] = double(found);
    if (found != shot.tickets.size())
        state.SkipWithError("not every ticket was found");
}
BENCHMARK(BM_ReadPhoto12Mp)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
