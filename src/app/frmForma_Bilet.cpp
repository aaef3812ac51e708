// The ticket card: two fields of 3 rows by 9 columns, 32 by 31 pixels a cell,
// with a band of the window's colour between them.
#include "app/frmForma.h"

#include "controls/Surface.h"
#include "controls/VbColor.h"

namespace
{
constexpr int kCellW = 32;
constexpr int kCellH = 31;
constexpr int kSecondField = 104; // top of the lower field
} // namespace

void frmForma::BiletClear()
{
    Surface &card = *BiletPic;
    const QColor black(Qt::black);
    card.Clear();
    for (int y0 : {0, kSecondField}) {
        for (int d = 0; d <= 3 * kCellH; d += kCellH)
            card.Line(0, y0 + d, 9 * kCellW, y0 + d, black);
        for (int x = 0; x <= 9 * kCellW; x += kCellW)
            card.Line(x, y0, x, y0 + 3 * kCellH, black);
    }
    card.FillRect(0, 3 * kCellH + 1, 9 * kCellW, kSecondField - 1, VbColor::ToQColor(VbColor::ButtonFace));
}
