#include "report/ReportPaper.h"

#include "core/LotoRules.h"
#include "io/FileSave.h"
#include "io/ReportCsv.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QStringList>
#include <QTextDocument>
#include <algorithm>

namespace
{

QString Esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString Joined(const std::vector<qint32> &nomera)
{
    QStringList out;
    for (qint32 n : nomera)
        out << QString::number(n);
    return out.join(QStringLiteral(", "));
}

// Rich text lays a table out cell by cell, which for thousands of rows takes
// minutes; longer lists go as lines of aligned columns in a fixed-width face.
constexpr std::size_t kTableRows = 300;

QString Table(const QStringList &head, const std::vector<QStringList> &rows)
{
    if (rows.size() <= kTableRows) {
        const auto line = [](const QStringList &cells, const QString &tag) {
            QString out = QStringLiteral("<tr>");
            for (const QString &cell : cells)
                out += QLatin1Char('<') + tag + QLatin1Char('>') + Esc(cell) + QStringLiteral("</") + tag +
                       QLatin1Char('>');
            return out + QStringLiteral("</tr>");
        };
        QString out =
            QStringLiteral("<table border=\"1\" cellspacing=\"0\">") + line(head, QStringLiteral("th"));
        for (const QStringList &row : rows)
            out += line(row, QStringLiteral("td"));
        return out + QStringLiteral("</table>");
    }
    std::vector<qsizetype> widths(static_cast<std::size_t>(head.size()), 0);
    const auto measure = [&widths](const QStringList &cells) {
        for (std::size_t i = 0; i < widths.size() && i < static_cast<std::size_t>(cells.size()); ++i)
            widths[i] = std::max(widths[i], cells[static_cast<qsizetype>(i)].size());
    };
    measure(head);
    for (const QStringList &row : rows)
        measure(row);
    const auto aligned = [&widths](const QStringList &cells) {
        QString out;
        for (std::size_t i = 0; i < widths.size() && i < static_cast<std::size_t>(cells.size()); ++i)
            out += cells[static_cast<qsizetype>(i)].leftJustified(widths[i] + 3);
        return Esc(out.trimmed());
    };
    QString out = QStringLiteral("<pre style=\"font-family: 'DejaVu Sans Mono'; font-size: 9pt\"><b>") +
                  aligned(head) + QStringLiteral("</b>");
    for (const QStringList &row : rows)
        out += QLatin1Char('\n') + aligned(row);
    return out + QStringLiteral("</pre>");
}

// What a line of the winners list won, as the table's columns: tour, row or field, number, move.
QStringList WinColumns(const IgraWin &win)
{
    switch (win.kind) {
    case IgraWin::Kind::Kubishka:
        return {QStringLiteral("КУБЫШКА"), QStringLiteral("поле %1").arg(win.pole + 1), QStringLiteral("—"),
                QStringLiteral("за %1 ходов").arg(win.hod)};
    case IgraWin::Kind::Priz:
        return {QStringLiteral("приз по номеру"), QStringLiteral("—"), QStringLiteral("—"),
                QStringLiteral("после %1").arg(win.hod)};
    case IgraWin::Kind::Nomer:
        break;
    }
    const QString where = win.tur == 1   ? QStringLiteral("строка %1").arg(win.stroka + 1)
                          : win.tur == 2 ? QStringLiteral("поле %1").arg(win.pole + 1)
                                         : QStringLiteral("весь билет");
    return {QString::number(win.tur), where, QString::number(win.nomer), QString::number(win.hod)};
}

QString Count(qint32 n)
{
    return n < 0 ? QStringLiteral("—") : QString::number(n);
}

} // namespace

namespace ReportPaper
{

QString Html(const IgraReport &report)
{
    QString h;
    h += QStringLiteral("<html><head><style>"
                        "h1 { font-size: 24pt; margin-bottom: 2pt; }"
                        "h2 { font-size: 15pt; margin-top: 14pt; margin-bottom: 4pt; }"
                        "th { background-color: #e0e0e0; text-align: left; }"
                        "td, th { padding: 3px 8px; }"
                        "</style></head><body>");
    h += QStringLiteral("<h1>") + Esc(report.lottery) + QStringLiteral(", тираж ") + Esc(report.TiragName()) +
         QStringLiteral("</h1>");
    h += QStringLiteral("<p>") +
         (report.ended ? QStringLiteral("Игра окончена: %1 ходов, последний тур %2.")
                       : QStringLiteral("Игра идёт: %1 ходов, тур %2."))
             .arg(report.hod)
             .arg(report.tur) +
         QStringLiteral(" Билетов: %1.</p>").arg(report.bilety.size());

    h += QStringLiteral("<h2>Выигрыши</h2>");
    if (report.wins.empty()) {
        h += QStringLiteral("<p>Выигрышей нет.</p>");
    } else {
        std::vector<QStringList> rows;
        for (const IgraReport::Win &w : report.wins)
            rows.push_back(QStringList{w.nomer} + WinColumns(w.win));
        h += Table({QStringLiteral("Билет"), QStringLiteral("Тур"), QStringLiteral("Строка или поле"),
                    QStringLiteral("Номер"), QStringLiteral("Ход")},
                   rows);
    }

    h += QStringLiteral("<h2>Тираж по турам</h2>");
    for (std::size_t i = 0; i < report.tours.size(); ++i)
        h += QStringLiteral("<p><b>Тур %1</b> (%2 чисел): ").arg(i + 1).arg(report.tours[i].size()) +
             Esc(Joined(report.tours[i])) + QStringLiteral("</p>");
    h += QStringLiteral("<p><b>") +
         (report.ended ? QStringLiteral("Не выпали") : QStringLiteral("Ещё не выпали")) +
         QStringLiteral("</b> (%1): ").arg(report.undrawn.size()) +
         Esc(report.undrawn.empty() ? QStringLiteral("—") : Joined(report.undrawn)) + QStringLiteral("</p>");

    h += QStringLiteral("<h2>Билеты</h2>");
    QStringList head{QStringLiteral("Билет"), QStringLiteral("Тур 1"), QStringLiteral("Тур 2"),
                     QStringLiteral("Тур 3")};
    if (!report.ended)
        head << QStringLiteral("Ждёт номер");
    std::vector<QStringList> rows;
    rows.reserve(report.bilety.size());
    for (const IgraReport::Bilet &b : report.bilety) {
        QStringList row{b.nomer};
        for (qint32 best : b.best)
            row << Count(best);
        if (!report.ended)
            row << (b.awaited > 0 ? QString::number(b.awaited) : QString());
        rows.push_back(std::move(row));
    }
    h += Table(head, rows);
    h += QStringLiteral("</body></html>");
    return h;
}

void Print(const IgraReport &report, QPagedPaintDevice &device)
{
    QTextDocument doc;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(11);
    doc.setDefaultFont(font);
    doc.setHtml(Html(report));
    doc.print(&device);
}

QByteArray Pdf(const IgraReport &report)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setTitle(report.lottery + QStringLiteral(", тираж ") + report.TiragName());
        writer.setCreator(QStringLiteral("Жребикон"));
        Print(report, writer);
    }
    return bytes;
}

Kind KindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Kind::Pdf;
    if (suffix == QLatin1String("csv"))
        return Kind::Csv;
    return Kind::None;
}

std::optional<QString> Save(const IgraReport &report, const QString &path)
{
    QByteArray bytes;
    switch (KindOf(path)) {
    case Kind::Pdf:
        bytes = Pdf(report);
        break;
    case Kind::Csv:
        bytes = ReportCsv::Write(report);
        break;
    case Kind::None:
        return QStringLiteral("Отчёт сохраняется в файл .pdf или .csv, а не «%1».")
            .arg(QFileInfo(path).fileName());
    }
    switch (FileSave::WriteAtomically(path, bytes)) {
    case SaveStatus::Saved:
        return std::nullopt;
    case SaveStatus::Protected:
        return QStringLiteral("Файл %1 защищён от записи. Отчёт не сохранён.").arg(path);
    case SaveStatus::Failed:
        break;
    }
    return QStringLiteral("Файл %1 сохранить не возможно. Отчёт не сохранён.").arg(path);
}

} // namespace ReportPaper
