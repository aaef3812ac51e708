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

QString Cell(const QString &text, bool head = false)
{
    return head ? QStringLiteral("<th>") + Esc(text) + QStringLiteral("</th>")
                : QStringLiteral("<td>") + Esc(text) + QStringLiteral("</td>");
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
        h += QStringLiteral("<table border=\"1\" cellspacing=\"0\"><tr>") +
             Cell(QStringLiteral("Билет"), true) + Cell(QStringLiteral("Тур"), true) +
             Cell(QStringLiteral("Строка или поле"), true) + Cell(QStringLiteral("Номер"), true) +
             Cell(QStringLiteral("Ход"), true) + QStringLiteral("</tr>");
        for (const IgraReport::Win &w : report.wins) {
            h += QStringLiteral("<tr>") + Cell(w.nomer);
            for (const QString &column : WinColumns(w.win))
                h += Cell(column);
            h += QStringLiteral("</tr>");
        }
        h += QStringLiteral("</table>");
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
    h += QStringLiteral("<table border=\"1\" cellspacing=\"0\"><tr>") + Cell(QStringLiteral("Билет"), true) +
         Cell(QStringLiteral("Тур 1"), true) + Cell(QStringLiteral("Тур 2"), true) +
         Cell(QStringLiteral("Тур 3"), true);
    if (!report.ended)
        h += Cell(QStringLiteral("Ждёт номер"), true);
    h += QStringLiteral("</tr>");
    for (const IgraReport::Bilet &b : report.bilety) {
        h += QStringLiteral("<tr>") + Cell(b.nomer);
        for (qint32 best : b.best)
            h += Cell(Count(best));
        if (!report.ended)
            h += Cell(b.awaited > 0 ? QString::number(b.awaited) : QString());
        h += QStringLiteral("</tr>");
    }
    h += QStringLiteral("</table></body></html>");
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
