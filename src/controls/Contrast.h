#pragma once
// Text that can be read on its background whatever colours the desktop gives:
// a pair of colours reading less than the 4.5 : 1 that small print needs gets
// black or white text instead, whichever stands out more.

#include <QColor>
#include <QPalette>

class QWidget;

namespace Contrast
{

// Small print needs at least this contrast ratio with its background.
constexpr double kMinRatio = 4.5;

// The contrast ratio of two colours, from 1 (the same) to 21 (black and white).
double Ratio(const QColor &a, const QColor &b);
// text when it reads well on back, else black or white, whichever reads better.
QColor Readable(const QColor &text, const QColor &back);
// The widget's text role, as its parent (or the desktop) gives it, is made
// readable on the widget's background role (active and inactive).
void MakeReadable(QWidget *widget, QPalette::ColorRole textRole, QPalette::ColorRole backRole);

// The application's palette with every pair of text and face it draws with
// (window, box, button) readable; true when the desktop's fell short and the
// application's palette was changed.
bool MakeDesktopReadable();

} // namespace Contrast
