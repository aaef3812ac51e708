#pragma once
// The program's icon: the installed one from the icon theme, or the same
// paper ticket drawn here when the theme has none (a program run from its
// build folder, a desktop without SVG icons).

#include <QIcon>

QIcon AppIcon();
