#pragma once
// Pictures of paper tickets for the reader's tests, its benchmark, its
// evaluation and the making of its digit model: tickets drawn with QPainter in
// many typefaces, layouts, colours and decorations, laid out as single tickets
// or sheets, and spoilt as a scanner or a phone spoils them. Every picture
// comes with the truth of what it shows. The same seed draws the same picture.

#include "scan/BiletScan.h"

#include <QImage>
#include <QRandomGenerator>
#include <QStringList>
#include <vector>

namespace TicketArt
{

// What a drawn ticket holds and where its grid ended up in the picture.
struct Truth {
    Scan::Kletki cells{};
    QString nomer;
    QString tirag;
    std::array<QPointF, 4> corners{}; // as the reader gives them
};

struct Shot {
    QImage image;
    std::vector<Truth> tickets;
};

// How hard a picture is.
enum class Level {
    Scan,         // a flatbed scan: straight or turned a quarter, sharp, even light
    Photo,        // a phone photo: tilted, in perspective, uneven light, noise, JPEG
    Sheet,        // a photo or scan of a sheet of 2-4 tickets
    UpsideDown,   // a phone photo taken from the other side of the table
    SmallBlurred, // cells of 16-26 pixels, out of focus, strong JPEG
    Phone,        // a phone's own 12-megapixel photo of one ticket or a sheet of 2-4, as
                  // it leaves the phone: the tickets fill a third of the frame or more
};

// Typefaces the digit model is drawn from, and the ones kept away from it to
// judge the reader fairly; only those installed are listed.
QStringList ModelFonts();
QStringList HeldOutFonts();

// A valid ticket: five numbers a row, each in its column, thirty different.
Scan::Kletki RandomCells(QRandomGenerator &rng);

struct ShotOptions {
    Level level = Level::Photo;
    bool heldOut = true; // held-out typefaces and decorations
    int tickets = 0;     // 0: as the level has it
    QSize canvas;        // a fixed picture size (a phone's 12 megapixels), or as the level has it
    QString family;      // one typeface for everything, whatever is installed; empty: drawn by lot
    // The numbers' letter spacing in per cent; below 100 their digits touch.
    int numberSpacing = 100;
};

Shot MakeShot(quint32 seed, const ShotOptions &options);

// A picture with no ticket: a page of text, pictures and a table that is not a grid of 9 x 3.
QImage MakeDecoy(quint32 seed);

// One printed number in a cell, spoilt, as the reader's straightened cell
// sees it: cellHeight high, in brightness (the brightest channel).
QImage DrawCellForModel(QRandomGenerator &rng, const QString &family, bool bold, int nomer, int cellHeight);

} // namespace TicketArt
