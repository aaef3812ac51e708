#pragma once
// Reading paper tickets from a photo or a scan. An image goes in; every ticket
// found in it comes out with its 6 x 9 cells, the cells the reader is not sure
// of, the ticket number and the draw number as printed, and where the ticket's
// grid lies in the image, so that a window can draw the grid over the photo and
// a person can compare. A picture without a ticket gives no ticket, never a
// guess. Nothing here needs a window; it runs on any thread.

#include <QImage>
#include <QPointF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace Scan
{

// The cells of a ticket as printed: rows 0-2 the upper field, 3-5 the lower; 0 = empty.
using Kletki = std::array<std::array<int, 9>, 6>;

// A cell of the ticket picture.
struct Cell {
    int row = 0;
    int col = 0;
    bool operator==(const Cell &) const = default;
};

// One ticket found in an image.
struct ScannedBilet {
    Kletki cells{};
    std::vector<Cell> doubtful; // cells to show the person, row by row
    QString nomer;              // ticket number digits as read; empty when none was found
    bool nomerDoubtful = true;  // a digit of it is uncertain, or none was found
    QString tirag;              // draw number digits as read; empty when none was found
    bool tiragDoubtful = true;
    // Corners of the two fields' grid in image pixels, in the ticket's own
    // order: top left, top right, bottom right, bottom left of the upright
    // ticket, whatever way the paper lies in the image.
    std::array<QPointF, 4> corners{};
};

// What reading a file gave.
struct FileResult {
    QString error; // empty when the file was read; otherwise why not, for the person
    std::vector<ScannedBilet> bilety;
};

// Largest picture accepted, in pixels; bigger ones are refused before decoding.
inline constexpr qint64 kMaxPixels = 120'000'000;

// Loads an image file the way a phone meant it (its rotation tag applied).
// Refuses files that are empty, not pictures, damaged or too large, with a
// message in Russian in error; never decodes more than kMaxPixels.
std::optional<QImage> LoadImage(const QString &path, QString *error);

// Every ticket in the image, in reading order (top to bottom, left to right).
std::vector<ScannedBilet> ReadBilety(const QImage &image);

// The ticket inside the four corners a person clicked (any order, anywhere on
// the paper around the grid), when the reader did not find it by itself.
std::optional<ScannedBilet> ReadBiletAt(const QImage &image, const std::array<QPointF, 4> &corners);

// LoadImage and ReadBilety together.
FileResult ReadFile(const QString &path);

} // namespace Scan
