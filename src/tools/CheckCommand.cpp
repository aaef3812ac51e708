#include "tools/CheckCommand.h"

#include "core/LotoRules.h"
#include "report/ReportPaper.h"
#include "tools/CommandLine.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

namespace Check
{
namespace
{

const QString kUsage = QStringLiteral("Использование: zhrebikon-check [--json] ФАЙЛ_БИЛЕТОВ ФАЙЛ_ТИРАЖА\n");
const QString kHelp =
    QStringLiteral("       или:  zhrebikon-check [--json] --results ФАЙЛ_БИЛЕТОВ ТЕКСТ\n"
                   "       с отчётом об игре в файл: --report ОТЧЁТ.pdf или ОТЧЁТ.csv\n"
                   "\n"
                   "Повторяет сохранённый тираж на билетах из файла, без окна, и выводит то, что\n"
                   "программа объявила бы: сообщения и выигравшие билеты.\n"
                   "\n"
                   "  --json     весь отчёт одним объектом JSON в UTF-8: выигравшие билеты, сообщения,\n"
                   "             не выпавшие номера, тираж, совпадения каждого билета, лидеры и\n"
                   "             ожидаемые номера\n"
                   "  --results  вместо файла тиража — текст результатов тиража, скопированный со\n"
                   "             страницы лотереи («1 тур: 18, 45, 26…» или таблица по турам; «-» —\n"
                   "             стандартный ввод): выводится то же, что для файла тиража, который\n"
                   "             сохранила бы проверка этих чисел\n"
                   "  --report ОТЧЁТ\n"
                   "             кроме того, записывает отчёт об игре: выигрыши (тур, строка или\n"
                   "             поле, номер и ход), тираж по турам, не выпавшие номера и строку на\n"
                   "             каждый билет; .pdf — для печати на A4, .csv — таблица в UTF-8\n"
                   "  --help     эта справка\n"
                   "  --version  версия программы\n"
                   "\n"
                   "Коды выхода: 0 — отчёт выведен (тираж другого номера, чем у билетов,\n"
                   "проверяется с предупреждением в стандартный поток ошибок);\n"
                   "1 — файл не прочитан или отчёт не записан (причина — в стандартный поток ошибок);\n"
                   "2 — программа вызвана неверно.\n");

void Print(const Sink &sink, const QString &text)
{
    sink(text.toUtf8());
}

int Usage(const Sink &err, const QString &complaint)
{
    Print(err, QStringLiteral("zhrebikon-check: ") + complaint + QLatin1Char('\n') + kUsage);
    return kExitUsage;
}

// Takes "--report FILE" (or "--report=FILE") out of the arguments, before any "--".
// Returns false when the option has no file.
bool TakeReport(QStringList &args, QString &report)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--"))
            return true;
        if (arg.startsWith(QLatin1String("--report="))) {
            report = arg.mid(9);
            args.removeAt(i);
            return !report.isEmpty();
        }
        if (arg == QLatin1String("--report")) {
            if (i + 1 >= args.size())
                return false;
            report = args[i + 1];
            args.remove(i, 2);
            return !report.isEmpty();
        }
    }
    return true;
}

// Writes the report; a PDF is laid out with QtGui, which needs an application
// object: the checker has none of its own and makes one that needs no display.
std::optional<QString> SaveReport(const IgraReport &paper, const QString &path)
{
    std::unique_ptr<QGuiApplication> app;
    if (ReportPaper::KindOf(path) == ReportPaper::Kind::Pdf) {
        if (!QCoreApplication::instance()) {
            static int argc = 3;
            static char name[] = "zhrebikon-check", platform[] = "-platform", offscreen[] = "offscreen";
            static char *argv[] = {name, platform, offscreen, nullptr};
            app = std::make_unique<QGuiApplication>(argc, argv);
        } else if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            return QStringLiteral("Отчёт PDF здесь не записать: нет графической подсистемы Qt.");
        }
    }
    return ReportPaper::Save(paper, path);
}

} // namespace

int Main(const QStringList &commandLine, const Sink &out, const Sink &err)
{
    QStringList args = commandLine;
    QString reportPath;
    if (!TakeReport(args, reportPath))
        return Usage(err, QStringLiteral("после --report нужен файл отчёта"));
    const CommandLine::Arguments a =
        CommandLine::Parse(args, {QStringLiteral("--json"), QStringLiteral("--results")});
    switch (a.asked) {
    case CommandLine::Arguments::Asked::Help:
        Print(out, kUsage + kHelp);
        return kExitOk;
    case CommandLine::Arguments::Asked::Version:
        Print(out, QStringLiteral("zhrebikon-check %1\n").arg(QLatin1String(Loto::kVersion)));
        return kExitOk;
    case CommandLine::Arguments::Asked::Unknown:
        return Usage(err, QStringLiteral("неизвестный параметр «%1»").arg(a.unknown));
    case CommandLine::Arguments::Asked::Run:
        break;
    }
    const bool json = a.flags.contains(QStringLiteral("--json"));
    const bool results = a.flags.contains(QStringLiteral("--results"));
    const QStringList &files = a.files;
    if (files.size() != 2)
        return Usage(err, results ? QStringLiteral("нужны два файла: билеты и текст результатов")
                                  : QStringLiteral("нужны два файла: билеты и тираж"));

    if (!reportPath.isEmpty() && ReportPaper::KindOf(reportPath) == ReportPaper::Kind::None)
        return Usage(err,
                     QStringLiteral("отчёт записывается в файл .pdf или .csv, а не «%1»").arg(reportPath));

    std::variant<Report, Failure> result = Failure{};
    if (results) {
        auto draw = PlayResult(files[0], files[1]);
        if (auto *failure = std::get_if<Failure>(&draw))
            result = std::move(*failure);
        else
            result = RunDraw(files[0], std::get<ResultDraw>(draw), !reportPath.isEmpty());
    } else {
        result = Run(files[0], files[1], !reportPath.isEmpty());
    }
    if (const auto *failure = std::get_if<Failure>(&result)) {
        Print(err, failure->message + QLatin1Char('\n'));
        return kExitFile;
    }
    const Report &report = std::get<Report>(result);
    if (!reportPath.isEmpty()) {
        if (const std::optional<QString> failure = SaveReport(report.paper, reportPath)) {
            Print(err, *failure + QLatin1Char('\n'));
            return kExitFile;
        }
    }
    // Checked all the same, as the window does when told to.
    if (!report.warning.isEmpty())
        Print(err, QStringLiteral("zhrebikon-check: предупреждение: ") + report.warning + QLatin1Char('\n'));
    if (json)
        WriteJson(report, out);
    else
        WriteText(report, out);
    return kExitOk;
}

} // namespace Check
