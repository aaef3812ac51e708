// The board of 90 numbers: nine columns of ten, 35 by 34 pixels a cell. It
// frames the cell under the pointer (raised), the pressed cell (sunken), and
// hands a clicked number to ticket entry or to the check.
#include "app/frmForma.h"

#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/LotoRules.h"

#include <optional>

namespace
{
constexpr int kCellW = 35;
constexpr int kCellH = 34;

struct PoleCell {
    int x, y; // top-left pixel
    int nomer;
};

// The cell under a point of the board, if any.
std::optional<PoleCell> CellAt(QPointF pos)
{
    const int x = Surface::RoundPixel(pos.x());
    const int y = Surface::RoundPixel(pos.y());
    // Left of or above the board is outside it, even within a cell's width.
    if (x < 0 || y < 0)
        return std::nullopt;
    const int c = x / kCellW;
    const int r = y / kCellH;
    if (c > 8 || r > 9)
        return std::nullopt;
    return PoleCell{kCellW * c, kCellH * r, 10 * c + r + 1};
}

QColor Color(quint32 vb)
{
    return VbColor::ToQColor(vb);
}

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

void frmForma::PoleKletka(int n)
{
    if (n < 1 || n > Loto::kMaxNomer)
        return;
    Surface &pole = *PolePic;
    const int x = kCellW * ((n - 1) / 10);
    const int y = kCellH * ((n - 1) % 10);
    pole.FillRect(x + 1, y + 1, x + 34, y + 33, Color(KletkaColor));
    const QString t = Loto::NomerText(n);
    const int h = (kCellW - pole.TextWidth(t)) / 2;
    pole.Text(x + h - 2, y + 3, t);
}

void frmForma::PoleKletka(int n, Kletka kletka)
{
    KletkaColor = IgraLook::ColorOf(kletka);
    PoleKletka(n);
}

void frmForma::PoleUnhighlight(int n)
{
    // The colour of a number that is on some ticket; its number sits one pixel
    // left of where PoleKletka puts it.
    if (n < 1 || n > Loto::kMaxNomer)
        return;
    Surface &pole = *PolePic;
    const int x = kCellW * ((n - 1) / 10);
    const int y = kCellH * ((n - 1) % 10);
    pole.FillRect(x + 1, y + 1, x + 34, y + 33, Color(IgraLook::kOpened));
    const QString t = Loto::NomerText(n);
    pole.Text(x + (kCellW - pole.TextWidth(t)) / 2 - 3, y + 3, t);
}

namespace
{
// A 3-D frame inside the cell at (X, Y): two outlines, each lit on its top and
// left edges and shaded on its right and bottom ones.
void DrawRamka(Surface &p, int X, int Y, const QColor &outerLit, const QColor &outerShade,
               const QColor &innerLit, const QColor &innerShade)
{
    p.Line(X + 1, Y + 1, X + 34, Y + 1, outerLit);
    p.Line(X + 1, Y + 1, X + 1, Y + 33, outerLit);
    p.Line(X + 34, Y + 1, X + 34, Y + 33, outerShade);
    p.Line(X + 1, Y + 33, X + 35, Y + 33, outerShade);
    p.Line(X + 2, Y + 2, X + 33, Y + 2, innerLit);
    p.Line(X + 2, Y + 2, X + 2, Y + 32, innerLit);
    p.Line(X + 33, Y + 2, X + 33, Y + 32, innerShade);
    p.Line(X + 2, Y + 32, X + 34, Y + 32, innerShade);
}
} // namespace

void frmForma::RamkaUp()
{
    DrawRamka(*PolePic, PoleX, PoleY, Color(VbColor::ThreeDLight), Qt::black, Qt::white,
              Color(VbColor::AppWorkspace));
}

void frmForma::RamkaDown()
{
    DrawRamka(*PolePic, PoleX, PoleY, Color(VbColor::AppWorkspace), Qt::white, Qt::black,
              Color(VbColor::ThreeDLight));
}

void frmForma::RamkaErase()
{
    Surface &p = *PolePic;
    // The cell's own colour, read from inside it.
    const QColor inside = p.Pixel(PoleX + 4, PoleY + 4);
    p.RectOutline(PoleX + 1, PoleY + 1, PoleX + 34, PoleY + 33, inside);
    p.RectOutline(PoleX + 2, PoleY + 2, PoleX + 33, PoleY + 32, inside);
    // The outer bottom line reaches one pixel onto the next grid line.
    p.Line(PoleX + 35, PoleY + 33, PoleX + 35, PoleY + 33, Qt::black);
}

void frmForma::PolePic_MouseMove(QPointF pos)
{
    const std::optional<PoleCell> cell = CellAt(pos);
    if (PolePressed) {
        // The pressed cell looks pressed only while the pointer is over it.
        if (cell && cell->x == PoleX && cell->y == PoleY)
            RamkaDown();
        else
            RamkaUp();
        return;
    }
    RamkaErase();
    if (!cell)
        return;
    // Drawn numbers are never framed in a check.
    if (state_.RegimState == Rezhim::Proverka && IsDrawn(state_.NomerColor[cell->nomer]))
        return;
    PoleX = cell->x;
    PoleY = cell->y;
    RamkaUp();
}

void frmForma::PolePic_MouseDown(QPointF pos)
{
    const std::optional<PoleCell> cell = CellAt(pos);
    if (!cell)
        return;
    if (state_.RegimState == Rezhim::Proverka && IsDrawn(state_.NomerColor[cell->nomer]))
        return;
    // A pen or a touch screen presses without hovering first: the pressed cell
    // becomes the framed one.
    if (cell->x != PoleX || cell->y != PoleY) {
        RamkaErase();
        PoleX = cell->x;
        PoleY = cell->y;
    }
    PolePressed = true;
    RamkaDown();
}

void frmForma::PolePic_MouseUp(QPointF pos)
{
    if (!PolePressed)
        return;
    PolePressed = false;
    const std::optional<PoleCell> cell = CellAt(pos);
    // A click is a press and a release on the same cell.
    if (!cell || cell->x != PoleX || cell->y != PoleY)
        return;
    if (state_.RegimState == Rezhim::Zagruzka)
        NomerToggle(cell->nomer);
    else if (state_.RegimState == Rezhim::Proverka)
        igra_->NomerEntered(cell->nomer);
}

void frmForma::PolePic_Leave()
{
    // With the button held the frame stays until it is released.
    if (PolePressed)
        return;
    RamkaErase();
}
