#include "controls/Fonts.h"

#include <QStringList>

namespace Fonts
{

void InstallSubstitutes()
{
    // Faces of similar widths first, so that two-digit numbers fit the cells.
    QFont::insertSubstitutions(Family,
                               QStringList{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                           QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                           QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
}

QFont Make(double pointSize, bool bold)
{
    QFont font(Family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace Fonts
