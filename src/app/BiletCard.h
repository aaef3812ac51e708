#pragma once
// The ticket card: two fields of 3 rows by 9 columns with a band of the
// window's colour between them, drawn on a Surface that stays the window's
// control. It shows a ticket with its drawn numbers, or the card being keyed
// in with the row being filled marked, frames what won, and says which cell a
// click released on. What the cells hold is the ticket's and the entry's.

#include "controls/IgraLook.h"
#include "core/BiletEntry.h"
#include "core/IgraShow.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class BILETCls;
class Surface;
struct IgraWin;

class BiletCard : public QObject
{
    Q_OBJECT
public:
    // A cell's size in pixels, and how much lower the lower field sits for the band.
    static constexpr int kCellW = 32;
    static constexpr int kCellH = 31;
    static constexpr int kBand = 11;

    // A cell of the card: row 0..5 (the lower field from 3), column 0..8.
    struct Place {
        int stroka = 0;
        int column = 0;
        bool operator==(const Place &) const = default;
    };

    // Draws on surface and takes its clicks.
    explicit BiletCard(Surface &surface, QObject *parent = nullptr);

    // The empty card: two fields and the band between them.
    void Clear();
    // A ticket afresh: its numbers in their cells, the drawn ones filled in
    // their tour's colour (kletkaOf tells what each number is now).
    void Show(const BILETCls &bilet, const std::function<Kletka(qint32 nomer)> &kletkaOf);
    // The cell of number n in row stroka filled in colour, with its number.
    void Paint(int stroka, int n, quint32 color);

    // The card being keyed in, afresh, its row being filled marked.
    void ShowEntry(const BiletEntry &entry);
    // What a change to the card being keyed in did to it.
    void ShowChange(const BiletEntry &entry, const BiletEntry::Change &change);
    // Row r as the row being filled ("?" in its empty cells), or no longer.
    void MarkStroka(const BiletEntry &entry, int r);
    void UnmarkStroka(const BiletEntry &entry, int r);
    // Cells read from a photo that the reader was not sure of, in gold; an
    // empty one in the row being filled or below keeps its look.
    void MarkDoubts(const BiletEntry &entry, const std::vector<Place> &doubts);
    // A frame around what won: the row, the field or the whole ticket.
    void FrameWin(const IgraWin &win);

    // A cell of a ticket from a photo that the reader was not sure of: gold.
    static constexpr quint32 kDoubtColor = IgraLook::kDoubt;

signals:
    // The mouse button was released over a cell; over the band, the row beside
    // it (the upper one near its top, the lower one below).
    void Clicked(int stroka, int column);

private:
    void Fill(int stroka, int column, quint32 color);
    void Write(int stroka, int column, const QString &text);

    Surface &surface_;
};
