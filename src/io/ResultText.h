#pragma once
// A draw's result as the lottery publishes it and a user copies it from the
// results page: the numbers tour by tour, in the order they came. It arrives in
// many shapes, all of which read alike here:
//
//   Тираж № 1473 от 06.12.2026
//   Тур | Порядок выпадения чисел           | Выигравших билетов | Выигрыш, руб.
//   1   | 18, 45, 26, 71, 3, 60, 88, 12     | 2                  | 500 000,00
//   2   | 7, 33, 51 …                       | 1                  | 1 200 000
//
//   1 тур: 18, 45, 26 …        Тур 2: 7 33 51 …        3-й тур 64 …
//   1 тур 31 45 40 … 2 тур 79 …                        (all on one line)
//
// In a table (columns split by tabs or "|") a row gives its tour in the first
// column and the drawn numbers in the second; what follows (winners, prizes)
// is not drawn numbers. In running text a word that is neither "тур" nor
// "тираж" ends the numbers of its tour on that line, so "выиграли 3 билета"
// adds nothing. Every problem is named with the place it stands in the text.

#include <QByteArray>
#include <QString>
#include <vector>

struct PublishedTour {
    int tur = 0;                // 1, 2, 3, and later tours 4, 5, …
    std::vector<qint32> nomera; // in the order drawn
    int line = 0;               // 1-based line of the text where the tour starts
};

struct ResultProblem {
    int line = 0;       // 1-based
    qsizetype from = 0; // position in the text
    qsizetype length = 0;
    QString text; // Russian, no final dot: "число 45 повторяется"
};

struct PublishedResult {
    QString tirag; // the draw number's digits when the text names one
    std::vector<PublishedTour> tours;
    std::vector<ResultProblem> problems;

    // Every number of every tour.
    int Count() const;
    // A sequence of distinct numbers 1..90 in tours, with nothing amiss.
    bool Playable() const { return problems.empty() && Count() > 0; }
};

namespace ResultText
{

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped),
// otherwise Windows-1251.
QString Decode(const QByteArray &bytes);

// Reads the text. setTirag, when not empty, is the ticket set's draw number
// (digits): a text that names another draw has a problem on that name.
PublishedResult Parse(const QString &text, const QString &setTirag = QString());

} // namespace ResultText
