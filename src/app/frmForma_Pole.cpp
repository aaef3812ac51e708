// The board of 90 numbers: nine columns of ten, 35 by 34 pixels a cell.
#include "app/frmForma.h"

#include "controls/Surface.h"
#include "core/LotoRules.h"

namespace
{
constexpr int kCellW = 35;
constexpr int kCellH = 34;
} // namespace

void frmForma::ClearPole()
{
    Surface &pole = *PolePic;
    const QColor black(Qt::black);
    pole.Clear();
    for (int y = 0; y <= 10 * kCellH; y += kCellH)
        pole.Line(0, y, 9 * kCellW, y, black);
    for (int x = 0; x <= 9 * kCellW; x += kCellW)
        pole.Line(x, 0, x, 10 * kCellH + 1, black);

    for (int c = 0; c < 9; ++c) {
        for (int r = 0; r < 10; ++r) {
            const QString t = Loto::NomerText(10 * c + r + 1);
            // Centred on the cell's width, three pixels to the left.
            const int h = (kCellW - pole.TextWidth(t)) / 2;
            pole.Text(kCellW * c - 3 + h, kCellH * r + 3, t);
        }
    }
}
