#include "io/ReportCsv.h"

#include <QStringList>

namespace
{

QString Field(const QString &text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString Count(qint32 n)
{
    return n < 0 ? QString() : QString::number(n);
}

} // namespace

namespace ReportCsv
{

QByteArray Write(const IgraReport &report)
{
    QString text = QStringLiteral("Билет;Тур 1;Тур 2;Тур 3;Ждёт номер;Выигрыши\r\n");
    // Each ticket's wins, in the order the winners list shows them.
    std::vector<QStringList> won(report.bilety.size());
    for (const IgraReport::Win &w : report.wins)
        if (w.win.bilet >= 0 && static_cast<std::size_t>(w.win.bilet) < won.size())
            won[static_cast<std::size_t>(w.win.bilet)] << IgraReport::WinText(w.win);
    for (std::size_t t = 0; t < report.bilety.size(); ++t) {
        const IgraReport::Bilet &b = report.bilety[t];
        QStringList row{Field(b.nomer)};
        for (qint32 best : b.best)
            row << Count(best);
        row << (b.awaited > 0 ? QString::number(b.awaited) : QString());
        row << Field(won[t].join(QStringLiteral("; ")));
        text += row.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace ReportCsv
