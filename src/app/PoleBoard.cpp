#include "app/PoleBoard.h"

#include "controls/IgraLook.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/LotoRules.h"

#include <optional>

namespace
{
constexpr int kCellW = PoleBoard::kCellW;
constexpr int kCellH = PoleBoard::kCellH;

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

PoleBoard::PoleBoard(Surface &surface, QObject *parent) : QObject(parent), surface_(surface)
{
    connect(&surface_, &Surface::MousePressed, this, [this](QPointF p) { MouseDown(p); });
    connect(&surface_, &Surface::MouseMoved, this, [this](QPointF p) { MouseMove(p); });
    // A quick second click arrives as a double click: it is a click all the same.
    connect(&surface_, &Surface::MouseDoubleClicked, this, [this](QPointF p) { MouseDown(p); });
    connect(&surface_, &Surface::MouseReleased, this, [this](QPointF p) { MouseUp(p); });
    connect(&surface_, &Surface::PointerLeft, this, [this] { Leave(); });
}

void PoleBoard::Clear()
{
    Surface &pole = surface_;
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

void PoleBoard::Paint(int n, quint32 color)
{
    if (n < 1 || n > Loto::kMaxNomer)
        return;
    Surface &pole = surface_;
    const int x = kCellW * ((n - 1) / 10);
    const int y = kCellH * ((n - 1) % 10);
    pole.FillRect(x + 1, y + 1, x + 34, y + 33, Color(color));
    const QString t = Loto::NomerText(n);
    const int h = (kCellW - pole.TextWidth(t)) / 2;
    pole.Text(x + h - 2, y + 3, t);
}

void PoleBoard::Unhighlight(int n)
{
    // The colour of a number that is on some ticket; its number sits one pixel
    // left of where Paint puts it.
    if (n < 1 || n > Loto::kMaxNomer)
        return;
    Surface &pole = surface_;
    const int x = kCellW * ((n - 1) / 10);
    const int y = kCellH * ((n - 1) % 10);
    pole.FillRect(x + 1, y + 1, x + 34, y + 33, Color(IgraLook::kOpened));
    const QString t = Loto::NomerText(n);
    pole.Text(x + (kCellW - pole.TextWidth(t)) / 2 - 3, y + 3, t);
}

void PoleBoard::RamkaUp()
{
    DrawRamka(surface_, frameX_, frameY_, Color(VbColor::ThreeDLight), Qt::black, Qt::white,
              Color(VbColor::AppWorkspace));
}

void PoleBoard::RamkaDown()
{
    DrawRamka(surface_, frameX_, frameY_, Color(VbColor::AppWorkspace), Qt::white, Qt::black,
              Color(VbColor::ThreeDLight));
}

void PoleBoard::RamkaErase()
{
    Surface &p = surface_;
    const int X = frameX_, Y = frameY_;
    // The cell's own colour, read from inside it.
    const QColor inside = p.Pixel(X + 4, Y + 4);
    p.RectOutline(X + 1, Y + 1, X + 34, Y + 33, inside);
    p.RectOutline(X + 2, Y + 2, X + 33, Y + 32, inside);
    // The outer bottom line reaches one pixel onto the next grid line.
    p.Line(X + 35, Y + 33, X + 35, Y + 33, Qt::black);
}

void PoleBoard::MouseMove(QPointF pos)
{
    const std::optional<PoleCell> cell = CellAt(pos);
    if (pressed_) {
        // The pressed cell looks pressed only while the pointer is over it.
        if (cell && cell->x == frameX_ && cell->y == frameY_)
            RamkaDown();
        else
            RamkaUp();
        return;
    }
    RamkaErase();
    if (!cell || !MayChoose(cell->nomer))
        return;
    frameX_ = cell->x;
    frameY_ = cell->y;
    RamkaUp();
}

void PoleBoard::MouseDown(QPointF pos)
{
    const std::optional<PoleCell> cell = CellAt(pos);
    if (!cell || !MayChoose(cell->nomer))
        return;
    // A pen or a touch screen presses without hovering first: the pressed cell
    // becomes the framed one.
    if (cell->x != frameX_ || cell->y != frameY_) {
        RamkaErase();
        frameX_ = cell->x;
        frameY_ = cell->y;
    }
    pressed_ = true;
    RamkaDown();
}

void PoleBoard::MouseUp(QPointF pos)
{
    if (!pressed_)
        return;
    pressed_ = false;
    const std::optional<PoleCell> cell = CellAt(pos);
    // A click is a press and a release on the same cell.
    if (!cell || cell->x != frameX_ || cell->y != frameY_)
        return;
    emit Chosen(cell->nomer);
}

void PoleBoard::Leave()
{
    // With the button held the frame stays until it is released.
    if (pressed_)
        return;
    RamkaErase();
}
