// Arbitrary bytes into the reader of a published draw result. Whatever it says
// of a text must hold: a result it would play has distinct numbers 1..90 in
// tours numbered from 1, and every problem points at a place inside the text.

#include "FuzzCheck.h"
#include "io/ResultText.h"

#include <array>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = ResultText::Decode(bytes);
    const PublishedResult result = ResultText::Parse(text, QStringLiteral("1473"));

    for (const ResultProblem &p : result.problems) {
        Require(!p.text.isEmpty());
        Require(p.line >= 1 && p.from >= 0 && p.length >= 0);
    }
    Require(result.Playable() == (result.problems.empty() && result.Count() > 0));
    if (!result.Playable())
        return 0;

    std::array<bool, 91> seen{};
    int tur = 0;
    for (const PublishedTour &tour : result.tours) {
        Require(tour.tur == ++tur);
        Require(!tour.nomera.empty());
        for (qint32 n : tour.nomera) {
            Require(n >= 1 && n <= 90);
            Require(!seen[std::size_t(n)]);
            seen[std::size_t(n)] = true;
        }
    }
    // What was read is read again the same from its own summary of tours.
    QString again;
    for (const PublishedTour &tour : result.tours) {
        again += QStringLiteral("%1 тур:").arg(tour.tur);
        for (qint32 n : tour.nomera)
            again += QLatin1Char(' ') + QString::number(n);
        again += QLatin1Char('\n');
    }
    const PublishedResult reread = ResultText::Parse(again);
    Require(reread.Playable());
    Require(reread.tours.size() == result.tours.size());
    for (std::size_t i = 0; i < reread.tours.size(); ++i)
        Require(reread.tours[i].nomera == result.tours[i].nomera);
    return 0;
}
