// Judges the ticket reader on pictures it has not seen: held-out typefaces and
// decorations, by level. Run through scripts/scan-eval.sh.
#include "TicketArt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <cmath>
#include <cstdio>

namespace
{

double Distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zhr_scan_eval LEVEL COUNT [SEED] [--seen] [--family NAME]\n"
                             "                     [--save DIR [--all]]\n"
                             "--save keeps the pictures read wrong, with --all every picture\n"
                             "--family draws everything in one installed typeface\n"
                             "LEVEL: scan, photo, sheet, upside-down, small-blurred, phone\n");
        return 2;
    }
    const QStringList names{"scan", "photo", "sheet", "upside-down", "small-blurred", "phone"};
    const int level = int(names.indexOf(args[0]));
    if (level < 0)
        return 2;
    const int count = args[1].toInt();
    const quint32 seed = args.size() > 2 && !args[2].startsWith(QLatin1Char('-')) ? args[2].toUInt() : 1000;
    const bool seen = args.contains(QStringLiteral("--seen"));
    const int saveAt = int(args.indexOf(QStringLiteral("--save")));
    const QString saveDir = saveAt >= 0 && saveAt + 1 < args.size() ? args[saveAt + 1] : QString();
    const bool saveAll = args.contains(QStringLiteral("--all"));
    const int familyAt = int(args.indexOf(QStringLiteral("--family")));
    const QString family = familyAt >= 0 && familyAt + 1 < args.size() ? args[familyAt + 1] : QString();
    if (!saveDir.isEmpty())
        QDir().mkpath(saveDir);

    int nomerWrongSure = 0, nomerDoubtful = 0, tickets = 0, found = 0, extra = 0, ticketsRight = 0,
        wrongAllDoubtful = 0, nomerRight = 0, tiragRight = 0;
    long cells = 0, cellsRight = 0, doubtfulCells = 0;
    // The same by the width of a cell in the picture: small print is where
    // a reader fails first.
    constexpr double kBands[] = {0, 40, 60};
    constexpr int kBandCount = 3;
    int bandTickets[kBandCount] = {}, bandRight[kBandCount] = {}, bandNomer[kBandCount] = {};
    double seconds = 0;
    for (int i = 0; i < count; ++i) {
        TicketArt::ShotOptions options;
        options.level = TicketArt::Level(level);
        options.heldOut = !seen;
        options.family = family;
        const TicketArt::Shot shot = TicketArt::MakeShot(seed + quint32(i), options);
        QElapsedTimer timer;
        timer.start();
        const auto read = Scan::ReadBilety(shot.image);
        seconds += timer.nsecsElapsed() / 1e9;
        std::vector<bool> used(read.size(), false);
        bool shotRight = true;
        for (const TicketArt::Truth &truth : shot.tickets) {
            ++tickets;
            cells += 54;
            const double size = Distance(truth.corners[0], truth.corners[2]);
            int band = kBandCount - 1;
            while (band > 0 && Distance(truth.corners[0], truth.corners[1]) / 9 < kBands[band])
                --band;
            ++bandTickets[band];
            int match = -1;
            for (std::size_t r = 0; r < read.size(); ++r)
                if (!used[r] && Distance(read[r].corners[0], truth.corners[0]) < 0.1 * size &&
                    Distance(read[r].corners[2], truth.corners[2]) < 0.1 * size)
                    match = int(r);
            if (match < 0) {
                shotRight = false;
                continue;
            }
            used[std::size_t(match)] = true;
            ++found;
            const Scan::ScannedBilet &b = read[std::size_t(match)];
            int wrong = 0, wrongDoubtful = 0;
            for (int row = 0; row < 6; ++row) {
                for (int col = 0; col < 9; ++col) {
                    const bool doubtful = std::find(b.doubtful.begin(), b.doubtful.end(),
                                                    Scan::Cell{row, col}) != b.doubtful.end();
                    if (b.cells[row][col] == truth.cells[row][col]) {
                        ++cellsRight;
                    } else {
                        ++wrong;
                        wrongDoubtful += doubtful;
                        if (!saveDir.isEmpty())
                            std::printf("%u cell %d,%d truth %d read %d%s (cells %.0f px)\n",
                                        seed + quint32(i), row, col, truth.cells[row][col], b.cells[row][col],
                                        doubtful ? " doubtful" : "",
                                        Distance(truth.corners[0], truth.corners[1]) / 9);
                    }
                }
            }
            doubtfulCells += long(b.doubtful.size());
            ticketsRight += wrong == 0;
            bandRight[band] += wrong == 0;
            bandNomer[band] += b.nomer == truth.nomer;
            wrongAllDoubtful += wrong == wrongDoubtful;
            nomerRight += b.nomer == truth.nomer;
            nomerWrongSure += b.nomer != truth.nomer && !b.nomerDoubtful;
            nomerDoubtful += b.nomerDoubtful;
            tiragRight += b.tirag == truth.tirag;
            shotRight = shotRight && wrong == 0 && b.nomer == truth.nomer && b.tirag == truth.tirag;
        }
        for (bool u : used)
            extra += !u;
        if (!saveDir.isEmpty() && (!shotRight || saveAll)) {
            shot.image.save(QStringLiteral("%1/%2-%3.png").arg(saveDir, args[0]).arg(seed + quint32(i)));
            for (const TicketArt::Truth &truth : shot.tickets)
                std::printf("%u truth %s %s corners %.0f,%.0f %.0f,%.0f cell %.0f px\n", seed + quint32(i),
                            qPrintable(truth.nomer), qPrintable(truth.tirag), truth.corners[0].x(),
                            truth.corners[0].y(), truth.corners[2].x(), truth.corners[2].y(),
                            Distance(truth.corners[0], truth.corners[1]) / 9);
            for (const Scan::ScannedBilet &b : read)
                std::printf("%u read  %s%s %s corners %.0f,%.0f %.0f,%.0f\n", seed + quint32(i),
                            qPrintable(b.nomer), b.nomerDoubtful ? "" : " (sure)", qPrintable(b.tirag),
                            b.corners[0].x(), b.corners[0].y(), b.corners[2].x(), b.corners[2].y());
        }
    }
    const auto pct = [](double a, double b) { return b > 0 ? 100.0 * a / b : 0.0; };
    std::printf(
        "%-14s tickets %4d found %5.1f%%  cells %6.2f%%  tickets right %5.1f%%  wrong all doubtful %5.1f%%"
        "  nomer %5.1f%%  tirag %5.1f%%  (doubtful %4.1f%%, wrong and sure %4.1f%%)"
        "  doubtful/ticket %.2f  extra %d  %.2f s/picture\n",
        qPrintable(args[0]), tickets, pct(found, tickets), pct(cellsRight, cells), pct(ticketsRight, tickets),
        pct(wrongAllDoubtful, tickets), pct(nomerRight, tickets), pct(tiragRight, tickets),
        pct(nomerDoubtful, tickets), pct(nomerWrongSure, tickets),
        found ? double(doubtfulCells) / found : 0.0, extra, seconds / std::max(1, count));
    std::printf("%-14s by cell width:", "");
    for (int band = 0; band < kBandCount; ++band) {
        if (band + 1 < kBandCount)
            std::printf("  %.0f-%.0f px", kBands[band], kBands[band + 1]);
        else
            std::printf("  %.0f px and over", kBands[band]);
        std::printf(" %d tickets, right %.1f%%, nomer %.1f%%;", bandTickets[band],
                    pct(bandRight[band], bandTickets[band]), pct(bandNomer[band], bandTickets[band]));
    }
    std::printf("\n");
    return 0;
}
