#pragma once
// The program's typeface at the sizes its windows use. "MS Sans Serif" is
// asked for by name and the platform substitutes what it has.

#include <QFont>

namespace Fonts
{

inline const QString Family = QStringLiteral("MS Sans Serif");

// Installs the substitutes tried for the program's typeface where it is missing.
void InstallSubstitutes();

QFont Make(double pointSize, bool bold = true);

} // namespace Fonts
