#pragma once
// Colours are kept as 0x00BBGGRR values (red in the low byte), the form the
// program stores and compares; values 0x800000xx stand for the user's system
// colours. One conversion turns both into QColor.

#include <QColor>
#include <QPalette>

namespace VbColor
{

constexpr quint32 ButtonFace = 0x8000000F;
constexpr quint32 ThreeDLight = 0x80000016;
constexpr quint32 AppWorkspace = 0x8000000C;
constexpr quint32 HighlightText = 0x8000000E;
constexpr quint32 ButtonText = 0x80000012;
constexpr quint32 WindowBackground = 0x80000005;
constexpr quint32 WindowText = 0x80000008;

// A plain 0x00BBGGRR value, or a system colour taken from the palette.
QColor ToQColor(quint32 value, const QPalette &palette);
// The same, with the application's palette.
QColor ToQColor(quint32 value);

} // namespace VbColor
