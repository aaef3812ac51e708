#include "controls/VbColor.h"

#include <QGuiApplication>

namespace VbColor
{

QColor ToQColor(quint32 value, const QPalette &palette)
{
    if (value & 0x80000000u) {
        switch (value) {
        case ButtonFace:
            return palette.color(QPalette::Active, QPalette::Button);
        case ThreeDLight:
            // The lit edge of a raised button: lighter than its face.
            return palette.color(QPalette::Active, QPalette::Light);
        case AppWorkspace:
            return palette.color(QPalette::Active, QPalette::Dark);
        case HighlightText:
            return palette.color(QPalette::Active, QPalette::HighlightedText);
        case ButtonText:
            return palette.color(QPalette::Active, QPalette::ButtonText);
        case WindowBackground:
            return palette.color(QPalette::Active, QPalette::Base);
        case WindowText:
            return palette.color(QPalette::Active, QPalette::Text);
        default:
            return palette.color(QPalette::Active, QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor ToQColor(quint32 value)
{
    return ToQColor(value, QGuiApplication::palette());
}

} // namespace VbColor
