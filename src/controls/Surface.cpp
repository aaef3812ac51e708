#include "controls/Surface.h"

#include "controls/Contrast.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
QRect Corners(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
}
} // namespace

Surface::Surface(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void Surface::SetSurfaceSize(int width, int height, qreal devicePixelRatio)
{
    logical_ = QSize(width, height);
    givenRatio_ = devicePixelRatio;
    steps_.clear();
    cleared_ = back_;
    Rebuild();
}

void Surface::SetZoom(qreal zoom)
{
    zoom = std::clamp<qreal>(zoom, 1, 2);
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    Rebuild();
}

void Surface::Rebuild()
{
    setFixedSize(qCeil(logical_.width() * zoom_), qCeil(logical_.height() * zoom_));
    const qreal ratio = (givenRatio_ > 0 ? givenRatio_ : devicePixelRatioF()) * zoom_;
    image_ = QImage(qCeil(logical_.width() * ratio), qCeil(logical_.height() * ratio), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(cleared_);
    for (const Step &step : steps_)
        Paint(step);
    update();
}

void Surface::Clear()
{
    steps_.clear();
    compactAt_ = kFirstCompaction;
    cleared_ = back_;
    image_.fill(back_);
    update();
}

void Surface::Paint(const Step &step)
{
    QPainter p(&image_);
    switch (step.kind) {
    case Step::Fill:
        p.fillRect(step.rect, step.color);
        break;
    case Step::Line:
        if (step.Opaque()) {
            // The board and the card draw straight lines: each covers its logical
            // pixels whole, one device pixel at 1x, two by two at 2x.
            p.fillRect(step.rect, step.color);
        } else {
            p.setPen(QPen(step.color, 0));
            p.drawLine(step.at, step.to);
        }
        break;
    case Step::Text:
        p.setFont(step.font);
        p.setPen(step.color);
        p.drawText(QPoint(step.at.x(), step.at.y() + QFontMetrics(step.font).ascent()), step.text);
        break;
    }
}

void Surface::Keep(Step step)
{
    steps_.push_back(std::move(step));
    if (steps_.size() < compactAt_)
        return;
    // Hovering over the board draws frames without end; most of them lie under
    // later ones, and only what still shows is kept.
    QRegion covered;
    std::vector<Step> kept;
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) {
        if (QRegion(it->rect).subtracted(covered).isEmpty())
            continue;
        if (it->Opaque())
            covered += it->rect;
        kept.push_back(std::move(*it));
    }
    std::reverse(kept.begin(), kept.end());
    steps_ = std::move(kept);
    compactAt_ = std::max(kFirstCompaction, 2 * steps_.size());
}

void Surface::Line(int x1, int y1, int x2, int y2, const QColor &color)
{
    Step step{Step::Line, Corners(x1, y1, x2, y2), color, QPoint(x1, y1), QPoint(x2, y2), {}, {}};
    Paint(step);
    Keep(std::move(step));
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
    Step step{Step::Fill, Corners(x1, y1, x2, y2), color, {}, {}, {}, {}};
    Paint(step);
    Keep(std::move(step));
    update();
}

void Surface::Text(int x, int y, const QString &text)
{
    Text(x, y, text, fore_);
}

void Surface::Text(int x, int y, const QString &text, const QColor &color)
{
    const QFontMetrics metrics(font());
    const QRect line(x, y, metrics.horizontalAdvance(text), metrics.height());
    Step step{Step::Text, {}, Contrast::Readable(color, Underneath(line)), QPoint(x, y), {}, text, font()};
    // Glyphs drawn larger may reach a pixel or two beyond their outline at 1.
    step.rect =
        metrics.boundingRect(text).translated(x, y + metrics.ascent()).united(line).adjusted(-2, -2, 2, 2);
    Paint(step);
    Keep(std::move(step));
    update();
}

QColor Surface::Underneath(const QRect &area) const
{
    const QRect inside = area.intersected(QRect(QPoint(0, 0), logical_));
    std::vector<std::pair<QRgb, int>> counts;
    const qreal ratio = image_.devicePixelRatio();
    // Every other pixel each way tells the colour of a cell as well as all of them.
    for (int y = inside.top(); y <= inside.bottom(); y += 2)
        for (int x = inside.left(); x <= inside.right(); x += 2) {
            const int dx = int(std::floor(x * ratio)), dy = int(std::floor(y * ratio));
            if (!image_.valid(dx, dy))
                continue;
            const QRgb rgb = image_.pixel(dx, dy);
            auto it =
                std::find_if(counts.begin(), counts.end(), [rgb](const auto &c) { return c.first == rgb; });
            if (it == counts.end())
                counts.emplace_back(rgb, 1);
            else
                ++it->second;
        }
    if (counts.empty())
        return back_;
    return QColor(std::max_element(counts.begin(), counts.end(), [](const auto &a, const auto &b) {
                      return a.second < b.second;
                  })->first);
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
    if (zoom_ == 1) {
        p.drawImage(0, 0, image_);
        return;
    }
    // The image holds a device pixel for every pixel of the enlarged surface.
    const qreal screen = image_.devicePixelRatio() / zoom_;
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(image_.size()) / screen), image_, QRectF(image_.rect()));
}

void Surface::mousePressEvent(QMouseEvent *event)
{
    emit MousePressed(Logical(event->position()), event->button());
}

void Surface::mouseMoveEvent(QMouseEvent *event)
{
    emit MouseMoved(Logical(event->position()), event->buttons());
}

void Surface::mouseReleaseEvent(QMouseEvent *event)
{
    emit MouseReleased(Logical(event->position()), event->button());
}

void Surface::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit MouseDoubleClicked(Logical(event->position()));
}

void Surface::leaveEvent(QEvent *event)
{
    emit PointerLeft();
    QWidget::leaveEvent(event);
}
