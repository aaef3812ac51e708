#include "tools/scan/ScanCommand.h"

#include "core/LotoRules.h"
#include "tools/CommandLine.h"

namespace ScanTool
{
namespace
{

const QString kUsage = QStringLiteral("Использование: zhrebikon-scan [--json] СНИМОК...\n");
const QString kHelp =
    QStringLiteral("Читает билеты со снимков и сканов: один билет или лист из нескольких, под любым\n"
                   "углом. Для каждого билета выводит числа обоих полей, клетки, в которых программа\n"
                   "не уверена, номер билета, номер тиража и углы сетки на снимке.\n"
                   "\n"
                   "  --json     всё одним объектом JSON в UTF-8\n"
                   "  --help     эта справка\n"
                   "  --version  версия программы\n"
                   "\n"
                   "Коды выхода: 0 — все снимки прочитаны (снимок без билетов тоже); 1 — файл не\n"
                   "прочитан (причина выводится); 2 — программа вызвана неверно.\n");

QByteArray JsonString(const QString &text)
{
    QByteArray out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"')
            out += "\\\"";
        else if (u == u'\\')
            out += "\\\\";
        else if (u == u'\n')
            out += "\\n";
        else if (u == u'\t')
            out += "\\t";
        else if (u == u'\r')
            out += "\\r";
        else if (u < 0x20)
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1();
        else
            out += QString(c).toUtf8();
    }
    return out + '"';
}

QByteArray Number(double value)
{
    return QByteArray::number(value, 'f', 1);
}

void Print(const Sink &sink, const QString &text)
{
    sink(text.toUtf8());
}

} // namespace

QByteArray ToJson(const std::vector<Entry> &entries)
{
    QByteArray out = "{\"images\": [";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry &entry = entries[i];
        out += i ? ",\n  " : "\n  ";
        out += "{\"file\": " + JsonString(entry.file) + ", \"error\": ";
        out += entry.result.error.isEmpty() ? QByteArray("null") : JsonString(entry.result.error);
        out += ", \"tickets\": [";
        const auto &bilety = entry.result.bilety;
        for (std::size_t t = 0; t < bilety.size(); ++t) {
            const Scan::ScannedBilet &b = bilety[t];
            out += t ? ",\n    " : "\n    ";
            out += "{\"cells\": [";
            for (int row = 0; row < 6; ++row) {
                out += row ? ", [" : "[";
                for (int col = 0; col < 9; ++col)
                    out += (col ? ", " : "") + QByteArray::number(b.cells[row][col]);
                out += "]";
            }
            out += "],\n     \"doubtful\": [";
            for (std::size_t d = 0; d < b.doubtful.size(); ++d)
                out += (d ? ", [" : "[") + QByteArray::number(b.doubtful[d].row) + ", " +
                       QByteArray::number(b.doubtful[d].col) + "]";
            out += "],\n     \"nomer\": " + JsonString(b.nomer);
            out += ", \"nomer_doubtful\": " + QByteArray(b.nomerDoubtful ? "true" : "false");
            out += ", \"tirag\": " + JsonString(b.tirag);
            out += ",\n     \"corners\": [";
            for (int c = 0; c < 4; ++c)
                out += (c ? ", [" : "[") + Number(b.corners[c].x()) + ", " + Number(b.corners[c].y()) + "]";
            out += "]}";
        }
        out += bilety.empty() ? "]}" : "\n  ]}";
    }
    out += entries.empty() ? "]}\n" : "\n]}\n";
    return out;
}

QString ToText(const std::vector<Entry> &entries)
{
    QString out;
    for (const Entry &entry : entries) {
        out += entry.file + QStringLiteral(": ");
        if (!entry.result.error.isEmpty()) {
            out += entry.result.error + QLatin1Char('\n');
            continue;
        }
        const auto &bilety = entry.result.bilety;
        if (bilety.empty()) {
            out += QStringLiteral("билетов не найдено\n");
            continue;
        }
        out += QStringLiteral("билетов: %1\n").arg(bilety.size());
        for (std::size_t t = 0; t < bilety.size(); ++t) {
            const Scan::ScannedBilet &b = bilety[t];
            out +=
                QStringLiteral("\nБилет %1: номер %2%3, тираж %4\n")
                    .arg(t + 1)
                    .arg(b.nomer.isEmpty() ? QStringLiteral("не прочитан") : b.nomer)
                    .arg(b.nomerDoubtful && !b.nomer.isEmpty() ? QStringLiteral(" (проверьте)") : QString())
                    .arg(b.tirag.isEmpty() ? QStringLiteral("не прочитан") : b.tirag);
            for (int row = 0; row < 6; ++row) {
                if (row == 3)
                    out += QLatin1Char('\n');
                QString line = QStringLiteral(" ");
                for (int col = 0; col < 9; ++col) {
                    const bool doubtful = std::find(b.doubtful.begin(), b.doubtful.end(),
                                                    Scan::Cell{row, col}) != b.doubtful.end();
                    const int n = b.cells[row][col];
                    line += QStringLiteral("%1%2")
                                .arg(n ? QString::number(n) : QStringLiteral("."), 3)
                                .arg(doubtful ? QLatin1Char('?') : QLatin1Char(' '));
                }
                out += line.trimmed().prepend(QStringLiteral("  ")) + QLatin1Char('\n');
            }
            if (!b.doubtful.empty())
                out += QStringLiteral("Проверьте клетки со знаком «?»: %1.\n").arg(b.doubtful.size());
        }
    }
    return out;
}

int Main(const QStringList &args, const Sink &out, const Sink &err)
{
    const CommandLine::Arguments a = CommandLine::Parse(args, {QStringLiteral("--json")});
    switch (a.asked) {
    case CommandLine::Arguments::Asked::Help:
        Print(out, kUsage + kHelp);
        return kExitOk;
    case CommandLine::Arguments::Asked::Version:
        Print(out, QStringLiteral("zhrebikon-scan %1\n").arg(QLatin1String(Loto::kVersion)));
        return kExitOk;
    case CommandLine::Arguments::Asked::Unknown:
        Print(err, QStringLiteral("zhrebikon-scan: неизвестный параметр «%1»\n").arg(a.unknown) + kUsage);
        return kExitUsage;
    case CommandLine::Arguments::Asked::Run:
        break;
    }
    const bool json = a.flags.contains(QStringLiteral("--json"));
    const QStringList &files = a.files;
    if (files.isEmpty()) {
        Print(err, QStringLiteral("zhrebikon-scan: не указан ни один снимок\n") + kUsage);
        return kExitUsage;
    }
    std::vector<Entry> entries;
    int code = kExitOk;
    for (const QString &file : files) {
        entries.push_back({file, Scan::ReadFile(file)});
        if (!entries.back().result.error.isEmpty()) {
            code = kExitFile;
            if (!json)
                Print(err, entries.back().result.error + QLatin1Char('\n'));
        }
    }
    if (json)
        out(ToJson(entries));
    else
        Print(out, ToText(entries));
    return code;
}

} // namespace ScanTool
