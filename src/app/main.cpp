#include "app/MainM.h"
#include "controls/QtMessenger.h"
#include "io/WorkFolder.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
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

    ProgramState state;
    QtMessenger messenger;
    std::unique_ptr<frmForma> window = MainM(state, messenger, WorkFolder::Choose());
    messenger.SetParent(window.get());
    messenger.SetTypeThrough([w = window.get()] { return w->TypeThroughTarget(); });
    window->show();
    // A check game a crash cut short is offered once the window is up.
    QTimer::singleShot(0, window.get(), [w = window.get()] { w->OfferZhurnal(); });
    return app.exec();
}
