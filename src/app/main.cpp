#include "app/MainM.h"
#include "controls/QtMessenger.h"
#include "core/LotoRules.h"
#include "io/WorkFolder.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <string_view>

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--version") {
            std::printf("zhrebikon %s\n", Loto::kVersion);
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs("Использование: zhrebikon\n"
                       "Жребикон: проверка билетов «Русского лото» и «Золотого ключа» во время тиража.\n"
                       "Программа работает в окне; её файлы лежат в папке, из которой она запущена\n"
                       "(или в «Документы/Жребикон»). Проверка без окна: zhrebikon-check --help.\n"
                       "  --help     эта справка\n"
                       "  --version  версия программы\n",
                       stdout);
            return 0;
        }
    }
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    // Without a display Qt would abort; say what to do instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs(
            "Жребикон: экран не найден (DISPLAY не задан). Запустите на рабочем столе или так:\n"
            "    xvfb-run -a ./run\n"
            "Zhrebikon: no display found (DISPLAY is unset). Run it on a desktop, or: xvfb-run -a ./run\n",
            stderr);
        return 2;
    }
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Жребикон"));
    // Qt's own texts (a text box's menu, standard buttons) in Russian, where
    // the translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    ProgramState state;
    QtMessenger messenger;
    std::unique_ptr<frmForma> window = MainM(state, messenger, WorkFolder::Choose());
    messenger.SetParent(window.get());
    messenger.SetTypeThrough([w = window.get()] { return w->TypeThroughTarget(); });
    window->show();
    // A check game a crash cut short is offered once the window is up.
    // A file given on the command line (a file manager's "Open with") opens next.
    QString file;
    for (const QString &arg : QCoreApplication::arguments().mid(1))
        if (!arg.startsWith(QLatin1Char('-')))
            file = arg;
    QTimer::singleShot(0, window.get(), [w = window.get(), file] {
        w->OfferZhurnal();
        if (!file.isEmpty())
            w->OpenPath(file);
    });
    return app.exec();
}
