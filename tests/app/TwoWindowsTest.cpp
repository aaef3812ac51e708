// Two programs in one folder: the journal is the first one's, and stays its own
// until it dies; what a save cut short left goes only when no program lives there.
#include "io/BiletFile.h"
#include "io/ZhurnalFile.h"
#include "support/FileBytes.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>

namespace
{

using namespace TestSupport;

bool Eventually(const std::function<bool()> &condition)
{
    for (int i = 0; i < 400 && !condition(); ++i)
        QTest::qWait(25);
    return condition();
}

// The program itself, started in a folder; killed as by a crash when it goes.
class Program
{
public:
    explicit Program(const QString &folder)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(folder);
        process_.start(QStringLiteral(ZHR_PROGRAM_EXE), {});
    }
    ~Program() { Kill(); }
    qint64 Pid() const { return process_.processId(); }
    void Kill()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
};

// A window of this test's own program in the folder, started as the program starts.
struct Window {
    explicit Window(const QString &folder, std::initializer_list<MsgAnswer> answers)
    {
        asked.Script(answers);
        window = MainM(state, asked, folder);
        window->OfferZhurnal();
    }
    ProgramState state;
    RecordingMessenger asked;
    std::unique_ptr<frmForma> window;
};

} // namespace

TEST(TwoWindows, TheJournalIsOnlyItsOwnersUntilItDies)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QByteArray tickets = BiletFile::Encode(
        QStringLiteral("Тираж77"),
        {MakeBilet(kRows, QStringLiteral("first")), MakeBilet(kRows2, QStringLiteral("second"))}, 2);
    WriteBytes(d.filePath(QStringLiteral("t.rlb")), tickets);
    // A game a crash cut short, waiting to be taken up.
    ZhurnalData game;
    game.BiletFile = QStringLiteral("t.rlb");
    game.fingerprint = ZhurnalFile::Fingerprint(tickets);
    game.RegimTitle = QStringLiteral("Тираж77");
    game.tirag = Tirag({5, 15, 25});
    const QString journal = d.filePath(ZhurnalFile::FileName);
    WriteBytes(journal, ZhurnalFile::Encode(game));
    const QByteArray journalBytes = ReadBytes(journal);
    const QStringList leftovers = {QStringLiteral("t.rlb.Ab12cd"), QStringLiteral("Жребикон.jnl.xYz123")};
    const auto plantLeftovers = [&] {
        for (const QString &name : leftovers)
            WriteBytes(d.filePath(name), "cut short");
    };
    const auto leftoversThere = [&] {
        return QFile::exists(d.filePath(leftovers[0])) && QFile::exists(d.filePath(leftovers[1]));
    };
    const QString lock = d.filePath(QStringLiteral("Жребикон.jnl.lock"));

    // The first program takes the journal (and, alone in the folder, clears
    // what saves cut short left) and offers the game.
    plantLeftovers();
    Program first(dir.path());
    ASSERT_TRUE(
        Eventually([&] { return ReadBytes(lock).startsWith(QByteArray::number(first.Pid()) + '\n'); }));
    // Both gone before they are planted again: the first program removes one
    // after the other, and a file planted anew under a name it has listed
    // but not yet removed would go too.
    EXPECT_TRUE(Eventually([&] {
        return !QFile::exists(d.filePath(leftovers[0])) && !QFile::exists(d.filePath(leftovers[1]));
    }));
    // A second program in the folder works without the journal, and lives there.
    plantLeftovers();
    Program second(dir.path());
    EXPECT_TRUE(Eventually([&] {
        return QFile::exists(d.filePath(QStringLiteral("Жребикон.окно-%1.lock").arg(second.Pid())));
    }));
    {
        // So does a third: it says so once, offers nothing and plays without touching the journal.
        Window third(dir.path(), {MsgAnswer::Yes});
        ASSERT_EQ(third.asked.shown.size(), 1u);
        EXPECT_TRUE(third.asked.shown[0].text.contains(QStringLiteral("другое окно программы")));
        EXPECT_EQ(third.state.RegimState, Rezhim::None);
        third.window->OpenBlt(QStringLiteral("t.rlb"));
        third.window->Ui().RegimProverka->trigger();
        third.window->igra().NomerEntered(45);
        QApplication::processEvents();
        third.window->igra().SetRegim(Rezhim::None);
        EXPECT_EQ(ReadBytes(journal), journalBytes);
        EXPECT_TRUE(leftoversThere());
    }
    EXPECT_EQ(ReadBytes(journal), journalBytes);

    // The first program dies: its lock is stale, and the game is offered again,
    // but what was left stays while the second program lives.
    first.Kill();
    {
        Window next(dir.path(), {MsgAnswer::Yes});
        ASSERT_FALSE(next.asked.shown.empty());
        EXPECT_EQ(next.asked.shown[0].text, QStringLiteral("Продолжить незавершённую проверку?"));
        EXPECT_EQ(next.state.RegimState, Rezhim::Proverka);
        EXPECT_EQ(next.state.TiragNomera.Entries(), (std::vector<qint32>{5, 15, 25}));
        EXPECT_TRUE(leftoversThere());
    }
    // No program lives here any more: the leftovers go, the dead one's lock with them.
    second.Kill();
    Window last(dir.path(), {MsgAnswer::No});
    EXPECT_FALSE(QFile::exists(d.filePath(leftovers[0])));
    EXPECT_FALSE(QFile::exists(d.filePath(leftovers[1])));
    EXPECT_TRUE(d.entryList({QStringLiteral("Жребикон.окно-*.lock")}, QDir::Files | QDir::Hidden).isEmpty());
}
