#pragma once
// A drawing area that keeps everything drawn on it in an image of its own, as
// the board, the ticket card and the list need: they draw only what changes and
// never repaint from their data. Offers exactly the primitives they draw with,
// and reading one pixel back.

#include <QImage>
#include <QWidget>

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
    // Text in the surface's font with the top-left of its line at (x, y).
    void Text(int x, int y, const QString &text);
    void Text(int x, int y, const QString &text, const QColor &color);
    // Drawn width of a text in the surface's font, in whole pixels.
    int TextWidth(const QString &text) const;
    // The colour of logical pixel (x, y) (its top-left device pixel); outside the image, the background.
    QColor Pixel(int x, int y) const;

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
    QImage image_;
    QColor back_ = Qt::white;
    QColor fore_ = Qt::black;
};
