// The program's own files stay its own: a link planted in their place is never
// written through, and a folder everybody may write into never becomes the
// work folder. And what is keyed in stays within what a ticket file holds.
#include "controls/InfoStrip.h"
#include "io/BiletFile.h"
#include "support/FileBytes.h"
#include "support/TicketFactory.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

using namespace TestSupport;

const QString kJournal = QStringLiteral("Жребикон.jnl");
const QByteArray kVictimBytes = "export PATH=/usr/bin\n";

class OwnFiles : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        WriteBytes(victim, kVictimBytes);
    }
    void WriteTickets(const QString &path)
    {
        std::mt19937 rng(5);
        WriteBytes(path, BiletFile::Encode(QStringLiteral("Тираж9"),
                                           {RandomValidBilet(rng, QStringLiteral("1"))}, 1));
    }

    QTemporaryDir elsewhere;
    // Another user's file, and a name that nothing should ever create.
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    const QString nowhere = elsewhere.filePath(QStringLiteral("created"));
};

} // namespace

TEST_F(OwnFiles, AJournalLinkIsNeverWrittenThrough)
{
    WriteTickets(Path(QStringLiteral("t.rlb")));
    window->OpenBlt(QStringLiteral("t.rlb"));
    for (const QString &target : {victim, nowhere}) {
        messenger.Script({MsgAnswer::Yes}); // the second time, the game in hand is left
        window->Ui().RegimProverka->trigger();
        ASSERT_EQ(state.RegimState, Rezhim::Proverka);
        // Planted while the game runs.
        QFile::remove(Path(kJournal));
        ASSERT_TRUE(QFile::link(target, Path(kJournal)));
        for (int n : {5, 15, 25})
            window->igra().NomerEntered(n);
        QTest::qWait(50);
        EXPECT_EQ(QFileInfo(Path(kJournal)).symLinkTarget(), target);
        EXPECT_EQ(ReadBytes(victim), kVictimBytes);
        EXPECT_FALSE(QFileInfo::exists(nowhere));
    }
    // Nor is a link read as a journal at the next start: nothing is offered.
    QFile::remove(Path(kJournal));
    ASSERT_TRUE(QFile::link(victim, Path(kJournal)));
    ProgramState second;
    RecordingMessenger asked;
    MainM(second, asked, dir.path())->OfferZhurnal();
    EXPECT_EQ(second.RegimState, Rezhim::None);
    EXPECT_EQ(ReadBytes(victim), kVictimBytes);
}

TEST_F(OwnFiles, AFolderEverybodyMayWriteIntoIsOnlyReadFrom)
{
    for (const mode_t mode : {mode_t(0777), mode_t(01777)}) {
        QTemporaryDir shared;
        ASSERT_EQ(chmod(QFile::encodeName(shared.path()).constData(), mode), 0);
        WriteTickets(shared.filePath(QStringLiteral("t.rlb")));
        window->OpenPath(shared.filePath(QStringLiteral("t.rlb")));
        EXPECT_EQ(state.store.BiletCount(), 1);
        EXPECT_EQ(QDir(window->workFolder()), QDir(dir.path()));
        EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("Открыт из папки")));

        // The check game's journal is kept in the work folder, not beside the tickets.
        window->Ui().RegimProverka->trigger();
        window->igra().NomerEntered(7);
        QTest::qWait(50);
        EXPECT_TRUE(QFileInfo::exists(Path(kJournal)));

        // A save of the set goes to the work folder too: the file dialog asks
        // for a name there instead of writing beside the tickets.
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
        EXPECT_EQ(QDir(shared.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
                  QStringList{QStringLiteral("t.rlb")});
    }
}

TEST_F(OwnFiles, TheTicketNumberBoxTakesNoMoreThanATicketFileHolds)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    QLineEdit *box = window->Ui().Nombilet;
    QTest::keyClicks(box, QString(30, QLatin1Char('7')));
    EXPECT_EQ(box->text(), QString(20, QLatin1Char('7')));
    box->clear();
    QApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('8')));
    box->paste();
    EXPECT_EQ(box->text().size(), 20);
}
