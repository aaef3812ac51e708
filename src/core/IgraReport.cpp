#include "core/IgraReport.h"

#include "core/GameEngine.h"
#include "core/LotoRules.h"
#include "core/ProgramState.h"

#include <algorithm>

namespace
{

constexpr qint32 kTours = 3;
constexpr qint32 kPoleStroki = Loto::kStroki / 2;

// The best count of a ticket in each tour the draw reached, from the tour each
// number came in (0: not drawn): tour 1 counts a row, tour 2 a field, tour 3 the
// whole ticket, each with everything drawn up to that tour's end.
std::array<qint32, kTours>
BestCounts(const BILETCls &bilet, const std::array<qint32, Loto::kMaxNomer + 1> &turOf, qint32 toursReached)
{
    std::array<qint32, Loto::kStroki> stroka{};
    std::array<qint32, 2> pole{};
    qint32 all = 0;
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
        const qint32 n = bilet.NomeraList(k);
        if (n < 1 || n > Loto::kMaxNomer)
            continue;
        const qint32 tur = turOf[static_cast<std::size_t>(n)];
        if (tur == 0)
            continue;
        const int r = Loto::StrokaOfPosition(k);
        if (tur == 1)
            ++stroka[static_cast<std::size_t>(r)];
        if (tur <= 2)
            ++pole[r < kPoleStroki ? 0 : 1];
        ++all;
    }
    std::array<qint32, kTours> best{-1, -1, -1};
    if (toursReached >= 1)
        best[0] = *std::max_element(stroka.begin(), stroka.end());
    if (toursReached >= 2)
        best[1] = std::max(pole[0], pole[1]);
    if (toursReached >= 3)
        best[2] = all;
    return best;
}

} // namespace

IgraReport IgraReport::Of(const ProgramState &state, const GameEngine &engine)
{
    IgraReport report;
    report.lottery = state.kind->name;
    report.tirag = state.RegimTitle.isEmpty() ? state.TiragTitle : state.RegimTitle;
    report.ended = state.RegimState != Rezhim::Proverka && !IsAutomatic(state.RegimState);
    report.hod = state.TiragNomera.HodCount();
    report.tur = engine.TurNomer;

    // The draw's entries: numbers, 91 where a tour began, 94 and a ticket for a prize, 93 at the end.
    std::array<qint32, Loto::kMaxNomer + 1> turOf{};
    report.tours.emplace_back();
    const std::vector<qint32> &entries = state.TiragNomera.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const qint32 v = entries[i];
        if (v >= 1 && v <= Loto::kMaxNomer) {
            report.tours.back().push_back(v);
            turOf[static_cast<std::size_t>(v)] =
                static_cast<qint32>(std::min<std::size_t>(report.tours.size(), 3));
        } else if (v == Loto::kMarkerTur) {
            report.tours.emplace_back();
        } else if (v == Loto::kMarkerPriz) {
            ++i;
        }
    }
    for (int n = 1; n <= Loto::kMaxNomer; ++n)
        if (turOf[static_cast<std::size_t>(n)] == 0)
            report.undrawn.push_back(n);

    const BiletStore &store = state.store;
    const auto nomerOf = [&store](qint32 t) {
        return t >= 0 && t < store.BiletCount() ? store.Bilet(t).Nomer : QString();
    };
    for (const IgraWin &win : engine.Wins())
        report.wins.push_back(Win{win, nomerOf(win.bilet)});

    const qint32 reached = std::min(static_cast<qint32>(report.tours.size()), kTours);
    for (qint32 t = 0; t < store.BiletCount(); ++t) {
        Bilet line;
        line.nomer = store.Bilet(t).Nomer;
        line.best = BestCounts(store.Bilet(t), turOf, reached);
        if (!report.ended && t < state.stats.Rows())
            line.awaited = state.stats.At(t).awaited;
        report.bilety.push_back(std::move(line));
    }
    return report;
}

QString IgraReport::WinText(const IgraWin &win)
{
    switch (win.kind) {
    case IgraWin::Kind::Kubishka:
        return QStringLiteral("КУБЫШКА, поле %1, за %2 ходов").arg(win.pole + 1).arg(win.hod);
    case IgraWin::Kind::Priz:
        return QStringLiteral("приз по номеру билета, после хода %1").arg(win.hod);
    case IgraWin::Kind::Nomer:
        break;
    }
    QString where;
    if (win.tur == 1)
        where = QStringLiteral("строка %1").arg(win.stroka + 1);
    else if (win.tur == 2)
        where = QStringLiteral("поле %1").arg(win.pole + 1);
    else
        where = QStringLiteral("весь билет");
    return QStringLiteral("тур %1, %2, номером %3 (ход %4)")
        .arg(win.tur)
        .arg(where)
        .arg(win.nomer)
        .arg(win.hod);
}

QString IgraReport::WinLine(const QString &nomer, const IgraWin &win)
{
    return QStringLiteral("Билет ") + nomer + QStringLiteral(": ") + WinText(win);
}

QString IgraReport::TiragName() const
{
    const QString number = Loto::TiragNumber(tirag);
    return number.isEmpty() ? tirag : QStringLiteral("№ ") + number;
}
