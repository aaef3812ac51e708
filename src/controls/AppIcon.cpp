#include "controls/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace
{

// The ticket of zhrebikon.svg: notched sides, the tour colours along the top,
// a few numbers covered.
QPixmap DrawnTicket(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QPainterPath ticket;
    ticket.addRoundedRect(QRectF(4, 10, 56, 44), 2, 2);
    QPainterPath notches;
    notches.addEllipse(QPointF(4, 32), 5, 5);
    notches.addEllipse(QPointF(60, 32), 5, 5);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    p.setBrush(Qt::white);
    p.drawPath(ticket.subtracted(notches));
    p.setPen(Qt::NoPen);
    const QColor tours[] = {QColor(255, 149, 149), QColor(255, 255, 128), QColor(128, 255, 128)};
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRectF(10 + i * 14.67, 14, 14.67, 6), tours[i]);
    const QColor covered(163, 155, 255);
    p.fillRect(QRectF(10, 23, 14.67, 13), covered);
    p.fillRect(QRectF(39.33, 23, 14.67, 13), covered);
    p.fillRect(QRectF(24.67, 36, 14.67, 13), covered);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i)
        for (int r = 0; r < 2; ++r)
            p.drawRect(QRectF(10 + i * 14.67, 23 + r * 13, 14.67, 13));
    return pixmap;
}

} // namespace

QIcon AppIcon()
{
    QIcon icon = QIcon::fromTheme(QStringLiteral("zhrebikon"));
    if (!icon.isNull() && !icon.availableSizes().isEmpty())
        return icon;
    icon = QIcon();
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(DrawnTicket(size));
    return icon;
}
