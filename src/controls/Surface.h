#pragma once
// A drawing area that keeps everything drawn on it in an image of its own, as
// the board, the ticket card and the list need: they draw only what changes and
// never repaint from their data. Offers exactly the primitives they draw with,
// and reading one pixel back.
//
// It also keeps what was drawn since the last Clear as a list of those
// primitives, so that a larger print size draws the same picture afresh at the
// new size, sharp, instead of blowing up the old image.

#include <QFont>
#include <QImage>
#include <QWidget>
#include <vector>

class Surface : public QWidget
{
    Q_OBJECT
public:
    explicit Surface(QWidget *parent = nullptr);

    // Resizes the widget and its image; the new image is cleared to the background.
    // The image is kept at the screen's device pixel ratio (or the one given),
    // so lines and text are drawn sharp on a high-density screen; every
    // coordinate stays a logical pixel.
    void SetSurfaceSize(int width, int height, qreal devicePixelRatio = 0);
    // Shows the surface zoom times as large (1 to 2), drawn at that size; every
    // coordinate, the mouse's too, stays a pixel of the surface at 1.
    void SetZoom(qreal zoom);
    qreal Zoom() const { return zoom_; }

    // The colour Clear fills with, and the colour of text drawn without one.
    void SetBackColor(const QColor &color) { back_ = color; }
    void SetForeColor(const QColor &color) { fore_ = color; }

    void Clear();
    // A one-pixel line; both end points are drawn.
    void Line(int x1, int y1, int x2, int y2, const QColor &color);
    // The outline of the rectangle with these corners, both included.
    void RectOutline(int x1, int y1, int x2, int y2, const QColor &color);
    // The rectangle with these corners, both included, filled.
    void FillRect(int x1, int y1, int x2, int y2, const QColor &color);
    // Text in the surface's font with the top-left of its line at (x, y). Text
    // that would hardly read on what lies under it (a dark desktop's light text
    // on a light cell) is drawn in black or white instead.
    void Text(int x, int y, const QString &text);
    void Text(int x, int y, const QString &text, const QColor &color);
    // Drawn width of a text in the surface's font, in whole pixels.
    int TextWidth(const QString &text) const;
    // The colour of logical pixel (x, y) (its top-left device pixel); outside the image, the background.
    QColor Pixel(int x, int y) const;
    // How many drawing steps the surface keeps for drawing itself again.
    std::size_t KeptSteps() const { return steps_.size(); }

    const QImage &Image() const { return image_; }

    // Mouse coordinates come as real numbers; a pixel is the nearest whole
    // number, halves going to the even one.
    static int RoundPixel(double value);

signals:
    void MousePressed(QPointF pos, Qt::MouseButton button);
    void MouseMoved(QPointF pos, Qt::MouseButtons buttons);
    void MouseReleased(QPointF pos, Qt::MouseButton button);
    void MouseDoubleClicked(QPointF pos);
    void PointerLeft();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // One drawing primitive as it was asked for, in logical pixels.
    struct Step {
        enum Kind { Fill, Line, Text } kind;
        QRect rect; // Fill: the rectangle; Line: its end points as corners; Text: where its ink may go
        QColor color;
        QPoint at, to; // Text: the top-left of its line; a slanted Line: its end points
        QString text;  // Text: what, in which font
        QFont font;
        // Covers whatever was under it, whole.
        bool Opaque() const
        {
            return kind == Fill || (kind == Line && (rect.width() == 1 || rect.height() == 1));
        }
    };
    void Paint(const Step &step);
    // Makes a new image for the size, density and zoom, and draws the kept steps on it.
    void Rebuild();
    // Drops the steps that later opaque ones cover whole, when there are many.
    void Keep(Step step);
    // The colour most of the area shows.
    QColor Underneath(const QRect &area) const;
    QPointF Logical(QPointF pos) const { return pos / zoom_; }

    QImage image_;
    QColor back_ = Qt::white;
    QColor fore_ = Qt::black;
    QColor cleared_ = Qt::white; // what the last Clear filled with
    QSize logical_;
    qreal givenRatio_ = 0; // 0: the screen's
    qreal zoom_ = 1;
    std::vector<Step> steps_;
    std::size_t compactAt_ = kFirstCompaction;
    static constexpr std::size_t kFirstCompaction = 4096;
};
