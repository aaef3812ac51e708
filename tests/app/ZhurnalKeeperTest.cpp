// The journal's keeper without a window: a write that fails is said once, a
// check game names its ticket file only while the set is as that file holds
// it, and a game taken up finds its tickets in the file or the journal's copy.
#include "app/ZhurnalKeeper.h"
#include "app/FormaFiles.h"
#include "core/GameEngine.h"
#include "io/ZhurnalFile.h"
#include "support/FileBytes.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using namespace TestSupport;

class Keeper : public ::testing::Test
{
protected:
    Keeper()
    {
        view.quiet = true;
        bytes = BiletFile::Encode(
            QStringLiteral("Тираж77"),
            {MakeBilet(kRows, QStringLiteral("first")), MakeBilet(kRows2, QStringLiteral("second"))}, 2);
        WriteBytes(dir.filePath(QStringLiteral("t.rlb")), bytes);
    }

    // Opens a ticket file as the window does, and starts a check game on it.
    void OpenAndCheck(const QString &name)
    {
        std::optional<FormaFiles::Bilety> read = files.ReadBilety(name);
        ASSERT_TRUE(read.has_value());
        state.OpenBilety(name, *read->kind, read->data.TiragTitle, std::move(read->data.Bilety));
        files.BiletyOpened(name, *read);
        Check();
    }
    // As the window does, a new check game on the set in hand.
    void Check()
    {
        igra.SetRegim(Rezhim::None);
        state.TiragNomera.Clear();
        igra.RegimProverka_Click();
        ASSERT_EQ(state.RegimState, Rezhim::Proverka);
        keeper.Start();
    }
    // The journal as the next start reads it.
    ZhurnalData Journal() const
    {
        auto parsed = ZhurnalFile::Parse(ReadBytes(keeper.Path()));
        EXPECT_TRUE(std::holds_alternative<ZhurnalData>(parsed));
        return std::holds_alternative<ZhurnalData>(parsed) ? std::get<ZhurnalData>(parsed) : ZhurnalData();
    }

    QTemporaryDir dir;
    QByteArray bytes;
    ProgramState state;
    RecordingView view;
    RecordingMessenger messenger;
    GameEngine igra{state, view, messenger};
    FormaFiles files{state, messenger, dir.path()};
    int noteChanges = 0;
    ZhurnalKeeper keeper{state, igra, files, messenger, [this] { ++noteChanges; }};
};

TEST_F(Keeper, TheGameIsJournalledOnceItsFactsAreHandled)
{
    OpenAndCheck(QStringLiteral("t.rlb"));
    igra.NomerEntered(5);
    igra.NomerEntered(15);
    QApplication::processEvents();
    EXPECT_EQ(Journal().tirag.Entries(), (std::vector<qint32>{5, 15}));
    // Another mode: the journal and its copy go, and so does a write that was due.
    igra.NomerEntered(25);
    keeper.Remove();
    QApplication::processEvents();
    EXPECT_FALSE(QFile::exists(keeper.Path()));
    EXPECT_FALSE(QFile::exists(keeper.CopyPath()));
}

TEST_F(Keeper, AWriteThatFailsIsSaidOnceAndTheNoteFollowsEveryWrite)
{
    OpenAndCheck(QStringLiteral("t.rlb"));
    const QString journal = QFileInfo(keeper.Path()).fileName();
    struct Step {
        bool blocked;    // a folder stands in the journal's place
        bool noted;      // the strip says the journal is not written
        int noteChanges; // how often the window was told to show the note afresh
    };
    const Step steps[] = {
        {true, true, 1}, {true, true, 1}, {false, false, 2}, {true, true, 3}, {false, false, 4}};
    int i = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(i++);
        if (step.blocked && !QFileInfo(keeper.Path()).isDir()) {
            QFile::remove(keeper.Path());
            ASSERT_TRUE(QDir(dir.path()).mkdir(journal));
        } else if (!step.blocked) {
            QDir(dir.path()).rmdir(journal);
        }
        keeper.Write();
        EXPECT_EQ(!keeper.Note().isEmpty(), step.noted) << keeper.Note().toStdString();
        EXPECT_EQ(noteChanges, step.noteChanges);
        // Only the first failure of all is said.
        ASSERT_EQ(messenger.shown.size(), 1u);
        EXPECT_TRUE(messenger.shown[0].text.contains(QDir::toNativeSeparators(keeper.Path())));
    }
}

TEST_F(Keeper, ACheckGameNamesItsTicketFileOnlyWhileTheSetIsAsTheFileHoldsIt)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString elsewhere = dir.filePath(QStringLiteral("sub/u.rlb"));
    WriteBytes(elsewhere, bytes);
    struct Case {
        const char *what;
        std::function<void()> open;
        QString named; // the ticket file the journal names
    };
    const Case cases[] = {
        {"opened and unchanged", [&] { OpenAndCheck(QStringLiteral("t.rlb")); }, QStringLiteral("t.rlb")},
        {"changed since",
         [&] {
             OpenAndCheck(QStringLiteral("t.rlb"));
             state.store.Show(0);
             state.store.Store(MakeBilet(kRows2, QStringLiteral("third")));
             Check();
         },
         QString()},
        {"only the whole tickets of a damaged file",
         [&] {
             WriteBytes(dir.filePath(QStringLiteral("d.rlb")), bytes.left(bytes.size() - 20));
             messenger.Script({MsgAnswer::Yes});
             OpenAndCheck(QStringLiteral("d.rlb"));
         },
         QString()},
        // Last: the journal stays where it is, beside the files of the first folder.
        {"in another folder the work folder moved to", [&] { OpenAndCheck(files.EnterFolderOf(elsewhere)); },
         QFileInfo(elsewhere).absoluteFilePath()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.open();
        igra.NomerEntered(5);
        keeper.Write();
        const ZhurnalData data = Journal();
        EXPECT_EQ(data.BiletFile, c.named);
        // The game named by its file is taken up from that file; any other
        // from the journal's copy of the tickets as they were.
        const ZhurnalKeeper::GameBilety found = keeper.FindBilety(data);
        EXPECT_EQ(found.inFile, !c.named.isEmpty());
        ASSERT_EQ(found.copy.has_value(), c.named.isEmpty());
        if (found.copy) {
            EXPECT_EQ(found.copy->bilety.Bilety.size(), std::size_t(state.store.BiletCount()));
        }
        keeper.Remove();
    }
}

TEST_F(Keeper, AGameTakenUpSaysWhyItsFileIsNotUsedAndWhereItGoesOn)
{
    OpenAndCheck(QStringLiteral("t.rlb"));
    igra.NomerEntered(5);
    keeper.Write();
    const ZhurnalData data = Journal();
    const QByteArray copy = ReadBytes(keeper.CopyPath());
    const QByteArray otherCopy = ZhurnalFile::EncodeCopy(QByteArray(40, 'a'), *state.kind, state.TiragTitle,
                                                         state.store.Bilety(), state.store.BiletCount());
    const QString lost = QStringLiteral("Проверку продолжить не возможно.");
    const QString onCopy = QStringLiteral("Проверка продолжается по копии билетов из журнала.");
    struct Case {
        QByteArray file, copy; // empty: not there
        QString told;          // empty: nothing
        bool goesOn;
    };
    const Case cases[] = {
        {bytes, copy, QString(), true},
        {QByteArray(), copy, QStringLiteral("Файл «t.rlb» не найден.\n") + onCopy, true},
        {bytes + "\r\n", copy, QStringLiteral("Файл «t.rlb» изменён после начала проверки.\n") + onCopy,
         true},
        {QByteArray(), QByteArray(), QStringLiteral("Файл «t.rlb» не найден.\n") + lost, false},
        {bytes + "\r\n", otherCopy, QStringLiteral("Файл «t.rlb» изменён после начала проверки.\n") + lost,
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.told.toStdString());
        for (const auto &[path, content] : {std::pair{dir.filePath(QStringLiteral("t.rlb")), c.file},
                                            std::pair{keeper.CopyPath(), c.copy}}) {
            QFile::remove(path);
            if (!content.isEmpty())
                WriteBytes(path, content);
        }
        messenger.shown.clear();
        const ZhurnalKeeper::GameBilety found = keeper.FindBilety(data);
        EXPECT_EQ(found.inFile || found.copy.has_value(), c.goesOn);
        EXPECT_EQ(found.inFile, c.told.isEmpty());
        if (c.told.isEmpty()) {
            EXPECT_TRUE(messenger.shown.empty());
            continue;
        }
        ASSERT_EQ(messenger.shown.size(), 1u);
        EXPECT_EQ(messenger.shown[0].text, c.told);
        EXPECT_EQ(messenger.shown[0].icon, c.goesOn ? MsgIcon::Information : MsgIcon::Warning);
    }
}

} // namespace
