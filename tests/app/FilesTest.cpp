// Ticket files and draw files as the window reads and writes them.
#include "controls/ClickLabel.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "io/BiletFile.h"
#include "io/TiragFile.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

using namespace TestSupport;

// What the user sees of a ticket set, to tell whether anything changed.
struct Seen {
    QString caption, tirag, game, biletFile;
    Rezhim regim;
    qint32 count;
    bool isRus;
    std::vector<QString> rows;
    QImage board, card;
    bool operator==(const Seen &) const = default;
};

class Files : public WindowFixture
{
protected:
    // Keys in two tickets of a "Русское лото" set for draw 1234 and saves them.
    void SaveTwo(const QString &name)
    {
        window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
        StoreKeyed(QStringLiteral("017"));
        StoreKeyed(QStringLiteral(" b, \"2\" "), kRows2);
        window->SaveBlt(name);
    }
    Seen Look() const
    {
        Seen s{window->windowTitle(),
               state.TiragTitle,
               state.GameTitle,
               state.store.File(),
               state.RegimState,
               state.store.BiletCount(),
               state.kind == &Loto::RusLoto(),
               {},
               window->Ui().PolePic->Image(),
               window->Ui().BiletPic->Image()};
        for (qint32 i = 0; i < state.store.BiletCount(); ++i)
            s.rows.push_back(window->Ui().ListBilet1->Row(i).text);
        return s;
    }
};

} // namespace

TEST_F(Files, SavedTicketsOpenAgainReadyForChecking)
{
    SaveTwo(QStringLiteral("Тираж1234.rlb"));
    EXPECT_EQ(state.store.File(), QStringLiteral("Тираж1234.rlb"));
    EXPECT_TRUE(messenger.shown.empty());
    const QByteArray saved = ReadBytes(Path(QStringLiteral("Тираж1234.rlb")));
    EXPECT_EQ(saved, BiletFile::Encode(QStringLiteral("Тираж1234"), state.store.Bilety(), 2));

    window->FileNewBilet2(Loto::ZolotoyKlyuch(), QStringLiteral("99"));
    window->OpenBlt(QStringLiteral("Тираж1234.rlb"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Русское лото - Тираж1234"));
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_EQ(state.kind, &Loto::RusLoto());
    ASSERT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(state.store.Bilet(1).Nomer, QStringLiteral(" b, \"2\" "));
    for (int k = 0; k < 30; ++k)
        EXPECT_EQ(state.store.Bilet(0).NomeraList(k), kRows[k / 5][k % 5]);
    EXPECT_EQ(window->Ui().ListBilet1->Row(0).text, QStringLiteral("017"));
    // The index lists every occurrence by ticket, then position.
    EXPECT_EQ(state.store.PoNomeru(90).ListCount(), 1);
    EXPECT_EQ(state.store.PoNomeru(90).ListStroka(0), 3);
    EXPECT_EQ(state.store.PoNomeru(85).ListNomerBileta(0), 1);
    EXPECT_EQ(state.store.PoNomeru(12).ListCount(), 0);
    // The board shows every number that is on some ticket.
    const QColor opened = VbColor::ToQColor(16751523);
    EXPECT_EQ(PoleCell(90), opened);
    EXPECT_EQ(PoleCell(85), opened);
    EXPECT_EQ(PoleCell(12), VbColor::ToQColor(VbColor::ButtonFace));
    // The card shows ticket 0; checking is on offer.
    EXPECT_EQ(state.store.CurBilet(), 0);
    EXPECT_EQ(window->Ui().NOMBILETlbl->text(), QStringLiteral("017"));
    EXPECT_TRUE(window->Ui().Regim->menuAction()->isEnabled());
    EXPECT_TRUE(window->Ui().RegimAddBliet->isEnabled());
    EXPECT_FALSE(window->Ui().RegimPrizPoNomeru->isEnabled());
    EXPECT_TRUE(window->Ui().FileOpenTirag->isEnabled());
    EXPECT_FALSE(window->Ui().FileSaveBilet->isEnabled());
    EXPECT_TRUE(window->Ui().NIKA->isVisible());
    EXPECT_EQ(window->Ui().Tur->geometry(), QRect(512, 80, 105, 33));
    EXPECT_EQ(window->Ui().Tur->palette().color(QPalette::Window), QColor(255, 149, 149));
    EXPECT_FALSE(window->Ui().Nombilet->isVisible());
}

TEST_F(Files, TheNameDecidesTheKind)
{
    SaveTwo(QStringLiteral("a.gkb"));
    for (const char *name : {"UPPER.RLB", "plain"})
        ASSERT_TRUE(QFile::copy(Path(QStringLiteral("a.gkb")), Path(QLatin1String(name))));
    window->OpenBlt(QStringLiteral("UPPER.RLB"));
    EXPECT_EQ(state.kind, &Loto::RusLoto());
    EXPECT_EQ(state.GameTitle, QStringLiteral("Русское лото - Тираж1234"));
    window->OpenBlt(QStringLiteral("plain"));
    EXPECT_EQ(state.kind, &Loto::ZolotoyKlyuch());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Золотой ключ - Тираж1234"));
}

TEST_F(Files, SavingKeyedTicketsNeedsNoMenuOpening)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("5"));
    EXPECT_TRUE(window->Ui().FileSaveBilet->isEnabled());
    EXPECT_TRUE(window->Ui().FileSaveBiletAs->isEnabled());
    // An empty set is refused.
    window->Ui().FileSaveBilet->trigger();
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Ни одного загруженного билета."));
    EXPECT_EQ(messenger.shown[0].icon, MsgIcon::Warning);

    StoreKeyed(QStringLiteral("1"));
    state.store.SetFile(QStringLiteral("mine.rlb"));
    // Right after a ticket is stored the focus is in the ticket number box.
    ASSERT_EQ(QApplication::focusWidget(), window->Ui().Nombilet);
    QTest::keyClick(window->Ui().Nombilet, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("mine.rlb"))).left(9),
              QByteArray("\xD2\xE8\xF0\xE0\xE6\x35\r\n "));
}

TEST_F(Files, ReplacingAnotherFileAsksFirstButTheCurrentOneIsReplacedSilently)
{
    WriteBytes(Path(QStringLiteral("other.rlb")), "keep me");
    SaveTwo(QStringLiteral("mine.rlb"));
    ASSERT_TRUE(messenger.shown.empty());

    window->SaveBlt(QStringLiteral("mine.rlb"));
    EXPECT_TRUE(messenger.shown.empty());

    messenger.Script({MsgAnswer::No});
    window->SaveBlt(QStringLiteral("other.rlb"));
    ASSERT_EQ(messenger.shown.size(), 1u);
    const MessageRequest &q = messenger.shown[0];
    EXPECT_EQ(q.text, QStringLiteral("Файл уже существует.\nЗаменить его?"));
    EXPECT_EQ(q.title, QStringLiteral("Жребикон"));
    EXPECT_EQ(q.icon, MsgIcon::Warning);
    EXPECT_EQ(q.defaultButton, MsgAnswer::No);
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("other.rlb"))), QByteArray("keep me"));
    EXPECT_EQ(state.store.File(), QStringLiteral("mine.rlb"));

    messenger.Script({MsgAnswer::Yes});
    window->SaveBlt(QStringLiteral("other.rlb"));
    EXPECT_EQ(state.store.File(), QStringLiteral("other.rlb"));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("other.rlb"))), ReadBytes(Path(QStringLiteral("mine.rlb"))));
}

TEST_F(Files, AFailedSaveKeepsTheOldFileAndTheFileName)
{
    SaveTwo(QStringLiteral("mine.rlb"));
    const QByteArray before = ReadBytes(Path(QStringLiteral("mine.rlb")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("box.rlb")));
    messenger.Script({MsgAnswer::Yes});
    window->SaveBlt(QStringLiteral("box.rlb"));
    ASSERT_FALSE(messenger.shown.empty());
    EXPECT_EQ(messenger.shown.back().text, QStringLiteral("Файл сохранить не возможно."));
    EXPECT_EQ(messenger.shown.back().icon, MsgIcon::Error);
    EXPECT_EQ(state.store.File(), QStringLiteral("mine.rlb"));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("mine.rlb"))), before);
}

TEST_F(Files, AMissingFileChangesNothing)
{
    SaveTwo(QStringLiteral("mine.rlb"));
    window->OpenBlt(QStringLiteral("mine.rlb"));
    const Seen before = Look();
    window->OpenBlt(QStringLiteral("nothing.rlb"));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Файл не найден."));
    EXPECT_EQ(messenger.shown[0].title, QStringLiteral("Билетон"));
    EXPECT_TRUE(Look() == before);
}

TEST_F(Files, DamagedTicketFilesLeaveTheSetAsItWas)
{
    SaveTwo(QStringLiteral("good.rlb"));
    window->OpenBlt(QStringLiteral("good.rlb"));
    const QByteArray good = ReadBytes(Path(QStringLiteral("good.rlb")));
    Seen before = Look();

    std::mt19937 rng(7);
    int rejected = 0;
    for (int i = 0; i < 2000; ++i) {
        QByteArray bad = good;
        switch (rng() % 4) {
        case 0: // a byte changed
            bad[int(rng() % bad.size())] = char(rng());
            break;
        case 1: // cut short
            bad.truncate(int(rng() % bad.size()));
            break;
        case 2: // a line doubled or dropped
        {
            QList<QByteArray> lines = bad.split('\n');
            const int at = int(rng() % lines.size());
            if (rng() % 2)
                lines.insert(at, lines[at]);
            else
                lines.removeAt(at);
            bad = lines.join('\n');
            break;
        }
        default: // a number out of range
            bad.replace("\r\n35\r\n", "\r\n95\r\n");
            bad.replace("\r\n5\r\n", "\r\n0\r\n");
            break;
        }
        WriteBytes(Path(QStringLiteral("bad.rlb")), bad);
        messenger.shown.clear();
        window->OpenBlt(QStringLiteral("bad.rlb"));
        BiletFileData kept;
        if (std::holds_alternative<FileParseError>(BiletFile::Parse(bad, &kept))) {
            ++rejected;
            // Whole tickets before the damage are offered; the answer here is No.
            ASSERT_EQ(messenger.shown.size(), kept.Bilety.empty() ? 1u : 2u) << i;
            EXPECT_TRUE(messenger.shown[0].text.contains(QStringLiteral("bad.rlb")));
            EXPECT_EQ(messenger.shown[0].title, QStringLiteral("Жребикон"));
            ASSERT_TRUE(Look() == before) << "damaged file " << i << " changed the set";
        } else {
            // Still a set: it is taken, and the good one goes back for the next round.
            EXPECT_TRUE(messenger.shown.empty());
            window->OpenBlt(QStringLiteral("good.rlb"));
            before = Look();
        }
    }
    EXPECT_GT(rejected, 1000);
}

TEST_F(Files, DrawFilesRoundTripAndOpenForReplay)
{
    state.RegimTitle = QStringLiteral("Тираж1234");
    state.TiragNomera = Tirag({27, 5, 90, 91, 14, 93});
    window->SaveTrg(QStringLiteral("d.rlt"));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("d.rlt"))),
              QByteArray("\xD2\xE8\xF0\xE0\xE6\x31\x32\x33\x34\r\n 27, 5, 90, 91, 14, 93\r\n"));
    EXPECT_EQ(state.TiragFile, QStringLiteral("d.rlt"));

    SaveTwo(QStringLiteral("t.rlb"));
    window->OpenBlt(QStringLiteral("t.rlb"));
    window->OpenTrg(QStringLiteral("d.rlt"));
    EXPECT_EQ(state.PovtorNomera.Entries(), (std::vector<qint32>{27, 5, 90, 91, 14, 93}));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Русское лото - Тираж1234: ПОВТОР Тираж1234"));

    messenger.shown.clear();
    WriteBytes(Path(QStringLiteral("bad.rlt")), "T\r\n 1, x, 3\r\n");
    window->OpenTrg(QStringLiteral("bad.rlt"));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(state.TiragFile, QStringLiteral("d.rlt"));
    EXPECT_EQ(state.PovtorNomera.Size(), 6);
}

TEST_F(Files, ASaveTheDiskRefusesIsReportedAndKeepsTheOldFile)
{
    // A small set and one far beyond the 16 KB of QSaveFile's buffer; the
    // system refuses each write half-way, and the settings' at once.
    for (const int tickets : {2, 300}) {
        window->FileNewBilet2(Loto::RusLoto(), QString::number(tickets));
        for (int t = 0; t < tickets; ++t)
            StoreKeyed(QString::number(t), t % 2 ? kRows2 : kRows);
        window->SaveBlt(state.TiragTitle + QStringLiteral(".rlb"));
        state.TiragNomera = Tirag(std::vector<qint32>(std::size_t(tickets), 5));
        window->SaveTrg(state.TiragTitle + QStringLiteral(".rlt"));
        StoreKeyed(QStringLiteral("ещё"));
        state.TiragNomera.AddNomer(5);
        const QStringList all = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        const QStringList names = all.filter(state.TiragTitle + QLatin1Char('.'));

        messenger.shown.clear();
        messenger.Script({MsgAnswer::Yes});
        for (const QString &name : names) {
            const QByteArray saved = ReadBytes(Path(name));
            {
                FileSizeLimit full(rlim_t(saved.size() / 2));
                name.endsWith(QLatin1String(".rlb")) ? window->SaveBlt(name) : window->SaveTrg(name);
            }
            EXPECT_TRUE(ReadBytes(Path(name)) == saved) << name.toStdString();
        }
        {
            FileSizeLimit full(1);
            window->SaveINIM();
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), all); // no temporary file left
        QStringList texts;
        for (const MessageRequest &m : messenger.shown)
            texts << m.text;
        EXPECT_EQ(texts.join('|').toStdString(),
                  QStringLiteral("Файл сохранить не возможно.|Файл сохранить не возможно.|"
                                 "Закрыть программу?|Файл «Жребикон.ini» сохранить не возможно.")
                      .toStdString());
    }
}

TEST_F(Files, PipesDevicesAndFoldersAreRefusedAtOnce)
{
    SaveTwo(QStringLiteral("t.rlb"));
    window->OpenBlt(QStringLiteral("t.rlb"));
    const Seen before = Look();
    ASSERT_EQ(mkfifo(QFile::encodeName(Path(QStringLiteral("p.rlb"))).constData(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", QFile::encodeName(Path(QStringLiteral("z.rlt"))).constData()), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("f.rlb")));
    for (const QString &name : {QStringLiteral("p.rlb"), QStringLiteral("z.rlt"), QStringLiteral("f.rlb")}) {
        messenger.shown.clear();
        if (name.endsWith(QLatin1String("rlt")))
            window->OpenTrg(name);
        else
            window->OpenBlt(name);
        ASSERT_EQ(messenger.shown.size(), 1u) << name.toStdString();
        EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Файл открыть не возможно."));
        EXPECT_TRUE(Look() == before) << name.toStdString();
    }
}

TEST_F(Files, TheWholeTicketsOfADamagedFileCanBeOpened)
{
    SaveTwo(QStringLiteral("t.rlb"));
    QByteArray cut = ReadBytes(Path(QStringLiteral("t.rlb")));
    cut.chop(40); // into the second ticket
    // An editor's byte-order mark in front, and the title it saved as UTF-8.
    cut = "\xEF\xBB\xBF" + QStringLiteral("Тираж1234").toUtf8() + cut.mid(cut.indexOf('\r'));
    WriteBytes(Path(QStringLiteral("cut.rlb")), cut);
    messenger.Script({MsgAnswer::Yes});
    window->OpenBlt(QStringLiteral("cut.rlb"));
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_TRUE(messenger.shown[0].text.contains(QStringLiteral("повреждён")));
    EXPECT_EQ(messenger.shown[1].text, QStringLiteral("Открыть 1 целых билетов?"));
    EXPECT_EQ(messenger.shown[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messenger.shown[1].defaultButton, MsgAnswer::No);
    EXPECT_EQ(state.store.BiletCount(), 1);
    EXPECT_EQ(state.store.File(), QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Русское лото - Тираж1234"));
    // Checkable as after any open.
    window->Ui().RegimProverka->trigger();
    Vvod(5);
    EXPECT_EQ(window->igra().SovpBileta[0].MaxCount, 1);
    EXPECT_EQ(state.store.PoNomeru(5).ListCount(), 1);
}

TEST_F(Files, AFileGivenByItsPathOrDroppedOpensInItsOwnFolder)
{
    SaveTwo(QStringLiteral("t.rlb"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("другая")));
    const QString other = Path(QStringLiteral("другая"));
    ASSERT_TRUE(QFile::copy(Path(QStringLiteral("t.rlb")), other + QStringLiteral("/Пример.rlb")));
    WriteBytes(other + QStringLiteral("/Пример.rlt"), "Тираж1234\r\n 5, 93\r\n");

    window->OpenPath(other + QStringLiteral("/Пример.rlb"));
    EXPECT_EQ(QDir(window->workFolder()), QDir(other));
    EXPECT_EQ(state.store.File(), QStringLiteral("Пример.rlb"));
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("Папка:")));

    // Dropped on the window, a draw file starts its replay.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other + QStringLiteral("/Пример.rlt"))});
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(enter.isAccepted() && drop.isAccepted());
    QTest::qWait(20);
    EXPECT_EQ(state.RegimState, Rezhim::Povtor);
    EXPECT_EQ(state.TiragFile, QStringLiteral("Пример.rlt"));

    messenger.shown.clear();
    window->OpenPath(Path(QStringLiteral("нет.rlb")));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Файл не найден."));
}
