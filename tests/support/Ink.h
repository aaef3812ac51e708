#pragma once
// Finding what a widget draws on its own surface.

#include <QImage>
#include <QRect>
#include <QWidget>
#include <optional>

namespace TestSupport
{

// The widget's own surface without its child controls, so only what it draws itself shows.
inline QImage SurfaceOf(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// The smallest rectangle of pixels inside area that differ from the background.
inline std::optional<QRect> InkIn(const QImage &image, const QRect &area, QRgb background)
{
    std::optional<QRect> ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == background)
                continue;
            const QRect dot(x, y, 1, 1);
            ink = ink ? ink->united(dot) : dot;
        }
    }
    return ink;
}

} // namespace TestSupport
