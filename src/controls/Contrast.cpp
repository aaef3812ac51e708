#include "controls/Contrast.h"

#include <QApplication>
#include <QWidget>
#include <cmath>
#include <utility>

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

bool MakeDesktopReadable()
{
    QPalette palette = QApplication::palette();
    bool changed = false;
    // The selection's pair is left alone: the card takes its face from the
    // highlighted-text colour, and the standard selection blue reads a little
    // short of 4.5 with white.
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::WindowText, QPalette::Window},
        {QPalette::Text, QPalette::Base},
        {QPalette::ButtonText, QPalette::Button},
    };
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (auto [text, back] : pairs) {
            const QColor readable = Readable(palette.color(group, text), palette.color(group, back));
            if (readable != palette.color(group, text)) {
                palette.setColor(group, text, readable);
                changed = true;
            }
        }
    // Set only when needed: a palette set by the program no longer follows the desktop's.
    if (changed)
        QApplication::setPalette(palette);
    return changed;
}

} // namespace Contrast
