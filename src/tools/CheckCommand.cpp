#include "tools/CheckCommand.h"

#include "core/LotoRules.h"
#include "tools/CommandLine.h"

namespace Check
{
namespace
{

const QString kUsage = QStringLiteral("Использование: zhrebikon-check [--json] ФАЙЛ_БИЛЕТОВ ФАЙЛ_ТИРАЖА\n");
const QString kHelp =
    QStringLiteral("       или:  zhrebikon-check [--json] --results ФАЙЛ_БИЛЕТОВ ТЕКСТ\n"
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
                   "  --help     эта справка\n"
                   "  --version  версия программы\n"
                   "\n"
                   "Коды выхода: 0 — отчёт выведен (тираж другого номера, чем у билетов,\n"
                   "проверяется с предупреждением в стандартный поток ошибок);\n"
                   "1 — файл не прочитан (причина выводится в стандартный поток ошибок);\n"
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

} // namespace

int Main(const QStringList &args, const Sink &out, const Sink &err)
{
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

    std::variant<Report, Failure> result = Failure{};
    if (results) {
        auto draw = PlayResult(files[0], files[1]);
        if (auto *failure = std::get_if<Failure>(&draw))
            result = std::move(*failure);
        else
            result = RunDraw(files[0], std::get<ResultDraw>(draw));
    } else {
        result = Run(files[0], files[1]);
    }
    if (const auto *failure = std::get_if<Failure>(&result)) {
        Print(err, failure->message + QLatin1Char('\n'));
        return kExitFile;
    }
    const Report &report = std::get<Report>(result);
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
