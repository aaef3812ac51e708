#include "controls/Contrast.h"

#include <QApplication>
#include <QWidget>
#include <cmath>

namespace Contrast
{

namespace
{
// Relative luminance of an sRGB colour.
double Luminance(const QColor &c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.red()) + 0.7152 * channel(rgb.green()) + 0.0722 * channel(rgb.blue());
}
} // namespace

double Ratio(const QColor &a, const QColor &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Readable(const QColor &text, const QColor &back)
{
    if (Ratio(text, back) >= kMinRatio)
        return text;
    const QColor black(Qt::black), white(Qt::white);
    return Ratio(black, back) >= Ratio(white, back) ? black : white;
}

void MakeReadable(QWidget *widget, QPalette::ColorRole textRole, QPalette::ColorRole backRole)
{
    QPalette palette = widget->palette();
    // The desktop's text colour, not one this made readable on an earlier background.
    const QPalette desktop = widget->parentWidget() && !widget->isWindow() ? widget->parentWidget()->palette()
                                                                           : QApplication::palette(widget);
    bool changed = false;
    // Greyed-out text stays greyed out: it is not meant to be read.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QColor text = desktop.color(group, textRole);
        const QColor readable = Readable(text, palette.color(group, backRole));
        if (readable != palette.color(group, textRole)) {
            palette.setColor(group, textRole, readable);
            changed = true;
        }
    }
    if (changed)
        widget->setPalette(palette);
}

} // namespace Contrast
