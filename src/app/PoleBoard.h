#pragma once
// The board of 90 numbers: nine columns of ten cells, drawn on a Surface that
// stays the window's control. It paints cells as it is told, frames the cell
// under the pointer (raised) and the pressed one (sunken), and says which
// number a click chose; what a chosen number does is the window's business.

#include <QObject>
#include <QPointF>
#include <QtGlobal>
#include <functional>

class Surface;

class PoleBoard : public QObject
{
    Q_OBJECT
public:
    // A cell's size in pixels.
    static constexpr int kCellW = 35;
    static constexpr int kCellH = 34;

    // Draws on surface and takes its mouse.
    explicit PoleBoard(Surface &surface, QObject *parent = nullptr);

    // Whether a number may be framed and chosen now (in a check, a drawn one may not).
    using Choosable = std::function<bool(int nomer)>;
    void SetChoosable(Choosable choosable) { choosable_ = std::move(choosable); }

    // The whole board empty: grid and the 90 numbers.
    void Clear();
    // The cell of number n filled in colour (0x00BBGGRR), with its number.
    void Paint(int n, quint32 color);
    // The cell of number n back to the colour of a number that is on some
    // ticket, its highlight gone.
    void Unhighlight(int n);

signals:
    // A press and a release on the same cell chose its number (a grid line
    // belongs to the cell right of or below it).
    void Chosen(int nomer);

private:
    void MouseDown(QPointF pos);
    void MouseMove(QPointF pos);
    void MouseUp(QPointF pos);
    void Leave();
    // The frame around the cell at (frameX_, frameY_): raised, sunken, gone.
    void RamkaUp();
    void RamkaDown();
    void RamkaErase();
    bool MayChoose(int nomer) const { return !choosable_ || choosable_(nomer); }

    Surface &surface_;
    Choosable choosable_;
    // The framed cell (its top-left pixel) and whether the button is held on it.
    int frameX_ = 0;
    int frameY_ = 0;
    bool pressed_ = false;
};
