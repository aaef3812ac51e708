#pragma once
// The report on a game laid out for paper: A4, a large title, the wins first,
// then the draw tour by tour, the numbers that did not come and a table of the
// tickets. The same page goes to a PDF file or to a printer; a report file is
// a PDF or a CSV table by its extension. Needs QtGui (a QGuiApplication).

#include "core/IgraReport.h"

#include <QByteArray>
#include <QString>
#include <optional>

class QPagedPaintDevice;

namespace ReportPaper
{

// The page as rich text (Qt's HTML subset).
QString Html(const IgraReport &report);
// Lays the report out on a printer or a PDF writer, page after page.
void Print(const IgraReport &report, QPagedPaintDevice &device);
// The report as a PDF document.
QByteArray Pdf(const IgraReport &report);

// What a report file is, by its extension (any case).
enum class Kind { None, Pdf, Csv };
Kind KindOf(const QString &path);
// Writes the report to path as its extension says, through a temporary file
// that replaces the old one only when complete. On failure returns what to tell
// the user, and leaves no file behind that was not there (or the old one whole).
std::optional<QString> Save(const IgraReport &report, const QString &path);

} // namespace ReportPaper
