#include "controls/Surface.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cmath>

Surface::Surface(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void Surface::SetSurfaceSize(int width, int height, qreal devicePixelRatio)
{
    setFixedSize(width, height);
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : devicePixelRatioF();
    image_ = QImage(qCeil(width * ratio), qCeil(height * ratio), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(back_);
    update();
}

void Surface::Clear()
{
    image_.fill(back_);
    update();
}

void Surface::Line(int x1, int y1, int x2, int y2, const QColor &color)
{
    QPainter p(&image_);
    if (x1 == x2 || y1 == y2) {
        // The board and the card draw straight lines: each covers its logical
        // pixels whole, one device pixel at 1x, two by two at 2x.
        p.fillRect(
            QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))),
            color);
    } else {
        p.setPen(QPen(color, 0));
        p.drawLine(x1, y1, x2, y2);
    }
    update();
}

void Surface::RectOutline(int x1, int y1, int x2, int y2, const QColor &color)
{
    Line(x1, y1, x2, y1, color);
    Line(x1, y2, x2, y2, color);
    Line(x1, y1, x1, y2, color);
    Line(x2, y1, x2, y2, color);
}

void Surface::FillRect(int x1, int y1, int x2, int y2, const QColor &color)
{
    QPainter p(&image_);
    p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))),
               color);
    update();
}

void Surface::Text(int x, int y, const QString &text)
{
    Text(x, y, text, fore_);
}

void Surface::Text(int x, int y, const QString &text, const QColor &color)
{
    QPainter p(&image_);
    p.setFont(font());
    p.setPen(color);
    p.drawText(QPoint(x, y + QFontMetrics(font()).ascent()), text);
    update();
}

int Surface::TextWidth(const QString &text) const
{
    return QFontMetrics(font()).horizontalAdvance(text);
}

QColor Surface::Pixel(int x, int y) const
{
    const qreal ratio = image_.devicePixelRatio();
    const int dx = int(std::floor(x * ratio)), dy = int(std::floor(y * ratio));
    if (x < 0 || y < 0 || !image_.valid(dx, dy))
        return back_;
    return image_.pixelColor(dx, dy);
}

int Surface::RoundPixel(double value)
{
    if (!std::isfinite(value))
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    const double r = std::nearbyint(std::clamp(value, -1e9, 1e9));
    return static_cast<int>(r);
}

void Surface::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void Surface::mousePressEvent(QMouseEvent *event)
{
    emit MousePressed(event->position(), event->button());
}

void Surface::mouseMoveEvent(QMouseEvent *event)
{
    emit MouseMoved(event->position(), event->buttons());
}

void Surface::mouseReleaseEvent(QMouseEvent *event)
{
    emit MouseReleased(event->position(), event->button());
}

void Surface::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit MouseDoubleClicked(event->position());
}

void Surface::leaveEvent(QEvent *event)
{
    emit PointerLeft();
    QWidget::leaveEvent(event);
}
