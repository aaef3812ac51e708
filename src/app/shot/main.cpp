// Makes the picture of the program for its package's description: the example
// set in a check game a few numbers in, drawn offscreen.
//   zhrebikon-screenshot EXAMPLES_FOLDER OUTPUT.png
#include "app/MainM.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

// Every box is closed at once; no question is asked on the way.
class SilentMessenger : public Messenger
{
public:
    MsgAnswer Show(const MessageRequest &request) override
    {
        return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: zhrebikon-screenshot EXAMPLES_FOLDER OUTPUT.png\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The game is played on a copy: nothing is written beside the examples.
    QTemporaryDir work;
    const QString examples = QFile::decodeName(argv[1]);
    if (!work.isValid() || !QFile::copy(QDir(examples).filePath(QStringLiteral("Пример.rlb")),
                                        work.filePath(QStringLiteral("Пример.rlb"))))
        return 1;
    ProgramState state;
    SilentMessenger messenger;
    std::unique_ptr<frmForma> window = MainM(state, messenger, work.path());
    window->show();
    window->OpenBlt(QStringLiteral("Пример.rlb"));
    window->RegimProverka_Click();
    for (int n : {4, 36, 41, 54, 82, 11, 22, 33, 61})
        window->igra().NomerEntered(n);
    QApplication::processEvents();
    QDir().mkpath(QFileInfo(QFile::decodeName(argv[2])).path());
    return window->grab().save(QFile::decodeName(argv[2])) ? 0 : 1;
}
