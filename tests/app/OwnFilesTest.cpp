// The program's own files stay its own: a link planted in their place is never
// written or read through, and a folder everybody may write into never becomes
// the work folder.
#include "controls/InfoStrip.h"
#include "io/BiletFile.h"
#include "io/SaveINIM.h"
#include "support/FileBytes.h"
#include "support/TicketFactory.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

using namespace TestSupport;

class OwnFiles : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_TRUE(elsewhere.isValid());
        WriteBytes(Victim(), kVictimBytes);
    }
    // Another user's file that a planted link points to.
    QString Victim() const { return elsewhere.filePath(QStringLiteral("victim")); }
    // A file that does not exist until something writes through a dangling link.
    QString Nowhere() const { return elsewhere.filePath(QStringLiteral("created")); }
    void Plant(const QString &name, const QString &target) { ASSERT_TRUE(QFile::link(target, Path(name))); }
    // Nothing was written through the link: it still points where it did, or
    // the program put a file of its own in its place.
    void ExpectUntouched(const QString &name, const QString &target)
    {
        const QFileInfo own(Path(name));
        EXPECT_TRUE(own.isSymLink() ? own.symLinkTarget() == target : !own.exists() || own.isFile())
            << name.toStdString();
        EXPECT_EQ(ReadBytes(Victim()), kVictimBytes);
        EXPECT_FALSE(QFileInfo::exists(Nowhere()));
    }
    void WriteTickets(const QString &path)
    {
        std::mt19937 rng(5);
        WriteBytes(path, BiletFile::Encode(QStringLiteral("Тираж9"),
                                           {RandomValidBilet(rng, QStringLiteral("1")),
                                            RandomValidBilet(rng, QStringLiteral("2"))},
                                           2));
    }

    const QByteArray kVictimBytes = "export PATH=/usr/bin\n";
    QTemporaryDir elsewhere;
};

} // namespace

TEST_F(OwnFiles, AJournalLinkIsNeverWrittenThrough)
{
    const QString journal = QStringLiteral("Жребикон.jnl");
    for (const QString &target : {Victim(), Nowhere()}) {
        QFile::remove(Path(journal));
        Plant(journal, target);
        WriteTickets(Path(QStringLiteral("t.rlb")));
        window->OpenBlt(QStringLiteral("t.rlb"));
        window->Ui().RegimProverka->trigger();
        ASSERT_EQ(state.RegimState, Rezhim::Proverka);
        for (int n : {5, 15, 25})
            window->igra().NomerEntered(n);
        QTest::qWait(50);
        ExpectUntouched(journal, target);

        // At the next start the link is not read as a journal either.
        ProgramState second;
        RecordingMessenger asked;
        auto again = MainM(second, asked, dir.path());
        again->OfferZhurnal();
        EXPECT_EQ(second.RegimState, Rezhim::None);
        EXPECT_EQ(ReadBytes(Victim()), kVictimBytes);
        EXPECT_FALSE(QFileInfo::exists(Nowhere()));
        window->igra().SetRegim(Rezhim::None);
    }
}

TEST_F(OwnFiles, ASettingsLinkIsNeitherReadNorWrittenThrough)
{
    const QString ini = SettingsFile::FileName;
    // Settings that would be taken if the link were followed.
    WriteBytes(Victim(), " 500 \r\n 85 \r\n");
    Plant(ini, Victim());
    ProgramState second;
    RecordingMessenger asked;
    auto again = MainM(second, asked, dir.path());
    EXPECT_EQ(second.settings, Settings{});

    messenger.Script({MsgAnswer::Yes});
    messenger.shown.clear();
    window->close();
    EXPECT_EQ(QFileInfo(Path(ini)).symLinkTarget(), Victim());
    EXPECT_EQ(ReadBytes(Victim()), QByteArray(" 500 \r\n 85 \r\n"));
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[1].text, QStringLiteral("Файл «Жребикон.ini» защищён от записи."));

    // A dangling link creates nothing.
    QFile::remove(Path(ini));
    Plant(ini, Nowhere());
    messenger.Script({MsgAnswer::Yes});
    EXPECT_EQ(SaveINIM(messenger, dir.path(), Settings{}), 0);
    EXPECT_EQ(QFileInfo(Path(ini)).symLinkTarget(), Nowhere());
    EXPECT_FALSE(QFileInfo::exists(Nowhere()));
}

TEST_F(OwnFiles, AFolderEverybodyMayWriteIntoIsOnlyReadFrom)
{
    for (const mode_t mode : {mode_t(0777), mode_t(01777)}) {
        QTemporaryDir shared;
        ASSERT_EQ(chmod(QFile::encodeName(shared.path()).constData(), mode), 0);
        ASSERT_TRUE(QFile::link(Victim(), shared.filePath(QStringLiteral("Жребикон.jnl"))));
        WriteTickets(shared.filePath(QStringLiteral("t.rlb")));

        window->OpenPath(shared.filePath(QStringLiteral("t.rlb")));
        EXPECT_EQ(state.store.BiletCount, 2);
        EXPECT_EQ(QDir(window->workFolder()), QDir(dir.path()));
        EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("Открыт из папки")));

        // The check game's journal is kept in the work folder, not beside the tickets.
        window->Ui().RegimProverka->trigger();
        window->igra().NomerEntered(7);
        QTest::qWait(50);
        EXPECT_EQ(ReadBytes(Victim()), kVictimBytes);
        EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("Жребикон.jnl"))));
        window->igra().SetRegim(Rezhim::None);
        QFile::remove(Path(QStringLiteral("Жребикон.jnl")));

        // A save of that set goes to the work folder too: the file dialog asks
        // for a name there instead of writing beside the tickets.
        const QByteArray before = ReadBytes(shared.filePath(QStringLiteral("t.rlb")));
        messenger.Script({MsgAnswer::Yes}); // the game in hand is left
        window->Ui().RegimAddBliet->trigger();
        ASSERT_EQ(state.RegimState, Rezhim::Zagruzka);
        bool asked = false;
        QTimer::singleShot(0, [&asked] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                asked = true;
                d->reject();
            }
        });
        window->Ui().FileSaveBilet->trigger();
        EXPECT_TRUE(asked);
        EXPECT_EQ(ReadBytes(shared.filePath(QStringLiteral("t.rlb"))), before);
        EXPECT_EQ(QDir(shared.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 2);
    }
}
