// A game as the user plays it in the window: check, replay, simulator.
#include "controls/ClickLabel.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "controls/OpURL.h"
#include "controls/QtMessenger.h"
#include "dialogs/PrizNB.h"
#include "dialogs/frmOprog.h"
#include "dialogs/frmRezultat.h"
#include "io/BiletFile.h"
#include "io/TiragFile.h"
#include "support/FileBytes.h"
#include "support/Typist.h"
#include "support/WindowFixture.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <set>

namespace
{

using namespace TestSupport;

BILETCls Ticket(const Rows &rows, const QString &nomer)
{
    BILETCls b;
    b.Nomer = nomer;
    for (int k = 0; k < 30; ++k)
        b.NomeraAdd(k, rows[k / 5][k % 5]);
    return b;
}

class Game : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        OpenTwoTickets(QStringLiteral("first"), QStringLiteral("second"));
    }
    void Proverka()
    {
        window->Ui().RegimProverka->trigger();
        ASSERT_EQ(state.RegimState, Rezhim::Proverka);
    }
    QStringList Nika() const
    {
        QStringList lines;
        for (int i = 0; i < window->Ui().NIKA->count(); ++i)
            lines << window->Ui().NIKA->Text(i);
        return lines;
    }
    // Ticket t carries another ticket number, as if the set had been saved so;
    // the card keeps its ticket.
    void Renumber(qint32 t, const QString &nomer)
    {
        BiletStore &store = state.store;
        const qint32 cur = store.CurBilet();
        store.Show(t);
        BILETCls bilet = store.Bilet(t);
        bilet.Nomer = nomer;
        store.Store(bilet);
        store.Show(cur);
        store.Saved(store.File());
    }
    // Answers the next modal dialog by rejecting it, once it is up.
    static void RejectNextDialog()
    {
        QTimer::singleShot(0, [] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                d->reject();
        });
    }
};

} // namespace

TEST_F(Game, ACheckGameMarksCountsAnnouncesAndMovesOn)
{
    Proverka();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Русское лото - Тираж77: ПРОВЕРКА"));
    EXPECT_TRUE(window->Ui().Knopka->isVisible());
    EXPECT_EQ(window->Ui().Knopka->text(), QStringLiteral(" Конец"));
    EXPECT_EQ(window->Ui().VVEDNOM->text(), QStringLiteral("Введите номер:"));
    EXPECT_TRUE(window->Ui().PolePic->isEnabled());
    EXPECT_FALSE(window->Ui().FileSaveBilet->isEnabled());

    // 0 and 95 are ignored; a typed number is drawn once.
    Vvod(0);
    Vvod(95);
    EXPECT_EQ(state.TiragNomera.HodCount(), 0);
    for (int n : {5, 15, 25})
        Vvod(n);
    Vvod(5);
    EXPECT_EQ(state.TiragNomera.HodCount(), 3);
    EXPECT_EQ(window->Ui().NHOD->text(), QStringLiteral(" 3"));
    EXPECT_EQ(window->Ui().ListBilet1->Row(0).count, 3);
    EXPECT_EQ(window->Ui().ListBilet1->Row(0).lider, true);
    EXPECT_EQ(window->Ui().ListBilet1->Row(1).count, 0);
    // Drawn in the tour's colour on the board.
    EXPECT_EQ(PoleCell(5), VbColor::ToQColor(IgraLook::TurColor(1)));

    // A click on the board draws too; 35 leaves ticket "first" one short of its row.
    QTest::mouseClick(window->Ui().PolePic, Qt::LeftButton, {}, PoleCenter(35));
    EXPECT_EQ(state.TiragNomera.HodCount(), 4);
    EXPECT_EQ(window->Ui().ListBilet1->Row(0).awaited, 45);
    EXPECT_EQ(PoleCell(45), VbColor::ToQColor(IgraLook::ColorOf(Kletka::Awaited)));

    Vvod(45);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Количество выигравших билетов: 1"));
    EXPECT_EQ(messenger.shown[0].title, QStringLiteral("Радостная весть!"));
    EXPECT_EQ(Nika(), QStringList{QStringLiteral("(номер 45)  first")});
    EXPECT_EQ(window->Ui().Tur->text(), QStringLiteral(" Тур-2"));

    // The winners list shows its ticket on the card.
    window->Ui().BiletPic->setFocus();
    window->Ui().NIKA->setCurrentRow(0);
    state.store.Show(1);
    QTest::keyClick(window->Ui().NIKA, Qt::Key_Return);
    EXPECT_EQ(state.store.CurBilet(), 0);

    // The end: undrawn numbers, the draw offered for saving, replay on offer.
    messenger.Script({MsgAnswer::Yes, MsgAnswer::No});
    QTest::mouseClick(window->Ui().Knopka, Qt::LeftButton);
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_FALSE(window->Ui().Knopka->isVisible());
    EXPECT_TRUE(window->Ui().VVEDNOM->text().startsWith(QStringLiteral(" 1, 2, 3, 4, 6,")));
    EXPECT_EQ(messenger.shown[1].text, QStringLiteral("Конец игры?"));
    EXPECT_EQ(messenger.shown[2].text, QStringLiteral("Сохранить тираж?"));
    EXPECT_TRUE(window->Ui().FileSaveTiragAs->isEnabled());
    emit window->Ui().Regim->aboutToShow();
    EXPECT_TRUE(window->Ui().RegimPovtor->isEnabled());
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5, 15, 25, 35, 45, 91, 93}));
}

TEST_F(Game, AReplayOnTheTimerReproducesTheGameAndPausesWithTheButton)
{
    Proverka();
    for (int n : {5, 15, 25, 35, 45, 4, 14})
        Vvod(n);
    messenger.Script({MsgAnswer::Yes, MsgAnswer::No});
    window->igra().Knopka_Click();
    const Tirag recorded = state.TiragNomera;
    const QStringList winners = Nika();
    messenger.shown.clear();

    messenger.Script({MsgAnswer::Yes});
    window->Ui().RegimPovtor->trigger();
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Перейти в новый режим?"));
    messenger.shown.clear();
    EXPECT_EQ(state.RegimState, Rezhim::Povtor);
    EXPECT_TRUE(window->Ui().Timer1->isActive());
    EXPECT_EQ(window->Ui().Knopka->text(), QStringLiteral("  Стоп"));
    EXPECT_FALSE(window->Ui().VVOD1->isEnabled());
    EXPECT_EQ(window->Ui().VVEDNOM->text(), QStringLiteral("Выпавший номер:"));

    // Pause and resume with the button under the board.
    QTest::mouseClick(window->Ui().Knopka, Qt::LeftButton);
    EXPECT_EQ(window->Ui().Knopka->text(), QStringLiteral(" Далее"));
    EXPECT_FALSE(window->Ui().Timer1->isActive());
    QTest::mouseClick(window->Ui().Knopka, Qt::LeftButton);
    EXPECT_TRUE(window->Ui().Timer1->isActive());

    window->igra().Timer1_Timer();
    EXPECT_EQ(window->Ui().VVOD1->text(), QStringLiteral(" 5"));
    for (int tick = 0; tick < 4; ++tick)
        window->igra().Timer1_Timer();
    EXPECT_EQ(window->Ui().VVOD1->text(), QStringLiteral(" 45")); // the box shows the whole number
    for (int tick = 0; tick < 20 && state.RegimState == Rezhim::Povtor; ++tick)
        window->igra().Timer1_Timer();
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_FALSE(window->Ui().Timer1->isActive());
    EXPECT_EQ(state.TiragNomera, recorded);
    EXPECT_EQ(Nika(), winners);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].title, QStringLiteral("Радостная весть!"));
}

TEST_F(Game, TheSimulatorDrawsEveryNumberOnceAndStopsAtTheMaximum)
{
    state.settings.MaxHod = 85;
    window->Ui().RegimImitator->trigger();
    EXPECT_EQ(state.RegimState, Rezhim::Imitator);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Русское лото - Тираж77: ИМИТАТОР"));
    EXPECT_FALSE(window->Ui().RegimPrizPoNomeru->isEnabled());
    for (int tick = 0; tick < 200 && state.RegimState == Rezhim::Imitator; ++tick)
        window->igra().Timer1_Timer();
    EXPECT_EQ(state.TiragNomera.HodCount(), 85);
    std::set<qint32> drawn;
    for (qint32 v : state.TiragNomera.Entries()) {
        if (v >= 1 && v <= 90) {
            EXPECT_TRUE(drawn.insert(v).second) << v;
        }
    }
    EXPECT_EQ(drawn.size(), 85u);
    EXPECT_FALSE(window->Ui().Timer1->isActive());
}

TEST_F(Game, SettingsStopTheClockAndStartItAgainOnlyInReplayOrSimulator)
{
    Proverka();
    RejectNextDialog();
    window->Ui().RegimTimer->trigger();
    EXPECT_FALSE(window->Ui().Timer1->isActive());

    window->Ui().RegimImitator->trigger(); // no number drawn yet: no question
    ASSERT_EQ(state.RegimState, Rezhim::Imitator);
    QTest::mouseClick(window->Ui().Knopka, Qt::LeftButton); // paused
    ASSERT_FALSE(window->Ui().Timer1->isActive());
    RejectNextDialog();
    window->Ui().RegimTimer->trigger();
    EXPECT_TRUE(window->Ui().Timer1->isActive());
}

TEST_F(Game, TheExamplesOpenAndTheirDrawReplaysToTheSameDraw)
{
    for (const char *name : {"Пример.rlb", "Пример.rlt"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZHR_EXAMPLES_DIR "/") + QString::fromUtf8(name),
                                Path(QString::fromUtf8(name))));
    window->OpenBlt(QStringLiteral("Пример.rlb"));
    ASSERT_TRUE(messenger.shown.empty());
    EXPECT_EQ(state.store.BiletCount(), 12);
    EXPECT_EQ(state.kind, &Loto::RusLoto());

    window->OpenTrg(QStringLiteral("Пример.rlt"));
    ASSERT_EQ(state.RegimState, Rezhim::Povtor);
    const Tirag recorded = state.PovtorNomera;
    EXPECT_TRUE(recorded.Ended());
    for (int tick = 0; tick < 200 && state.RegimState == Rezhim::Povtor; ++tick)
        window->igra().Timer1_Timer();
    EXPECT_EQ(state.TiragNomera, recorded);
    EXPECT_GE(window->Ui().NIKA->count(), 3);
}

TEST_F(Game, APrizeByTicketNumberIsListedRecordedAndAnnounced)
{
    Renumber(1, QStringLiteral("AB-0345"));
    Proverka();
    for (int n : {5, 15})
        Vvod(n);
    // A typed x counts as X: positions 1 to 3 do not count.
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<PrizNB *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->TxtNB->setText(QStringLiteral("xxx0345"));
        d->OK->click();
    });
    window->Ui().RegimPrizPoNomeru->trigger();
    ASSERT_FALSE(messenger.shown.empty());
    EXPECT_EQ(messenger.shown.back().text, QStringLiteral("Билет номер AB-0345 выиграл приз!!!"));
    EXPECT_EQ(Nika().back(), QStringLiteral("(Приз)  AB-0345"));
    EXPECT_EQ(state.NikaBilet.back(), 1);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5, 15, 94, 1}));

    // All X awards nothing.
    messenger.shown.clear();
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<PrizNB *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->TxtNB->setText(QStringLiteral("XXXXXX"));
        d->OK->click();
    });
    window->Ui().RegimPrizPoNomeru->trigger();
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(window->Ui().NIKA->count(), 1);
}

TEST_F(Game, HelpOpensTheHelpPageAndAboutKeepsTheReplayClockRule)
{
    QUrl opened;
    SetUrlOpenerForTests([&opened](const QUrl &url) {
        opened = url;
        return true;
    });
    QTest::keyClick(window.get(), Qt::Key_F1);
    SetUrlOpenerForTests({});
    EXPECT_TRUE(opened.isLocalFile());
    EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("Справка.html")));
    EXPECT_TRUE(QFile::exists(opened.toLocalFile()));

    window->Ui().RegimImitator->trigger();
    ASSERT_TRUE(window->Ui().Timer1->isActive());
    bool timerStoppedMeanwhile = false;
    QTimer::singleShot(0, [&] {
        timerStoppedMeanwhile = !window->Ui().Timer1->isActive();
        if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            d->accept();
    });
    window->Ui().HelpAbout->trigger();
    EXPECT_TRUE(timerStoppedMeanwhile);
    EXPECT_TRUE(window->Ui().Timer1->isActive());

    // Ticket entry has no clock to go on.
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    RejectNextDialog();
    window->Ui().HelpAbout->trigger();
    EXPECT_FALSE(window->Ui().Timer1->isActive());
}

TEST_F(Game, OpeningADrawFileAndSayingNoLeavesTheCheckGameAsItWas)
{
    QFile f(Path(QStringLiteral("d.rlt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Тираж5\r\n 1, 2, 93\r\n");
    f.close();
    Proverka();
    for (int n : {11, 22, 33})
        Vvod(n);
    const QString caption = window->windowTitle();
    const Tirag povtor = state.PovtorNomera, tirag = state.TiragNomera;
    messenger.shown.clear();
    window->OpenTrg(QStringLiteral("d.rlt"));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Перейти в новый режим?"));
    EXPECT_EQ(messenger.shown[0].defaultButton, MsgAnswer::No);
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(state.RegimState, Rezhim::Proverka);
    EXPECT_EQ(state.PovtorNomera, povtor);
    EXPECT_EQ(state.TiragNomera, tirag);
    EXPECT_TRUE(state.TiragFile.isEmpty());
    EXPECT_EQ(window->Ui().Knopka->text(), QStringLiteral(" Конец"));
    Vvod(44);
    EXPECT_EQ(state.TiragNomera.HodCount(), 4);
}

TEST_F(Game, TheKeyboardReturnsToTheEntryBoxAfterMenusAndLists)
{
    Proverka();
    Vvod(5);
    // A menu opened and closed with Esc.
    QTest::mouseClick(window->menuBar(), Qt::LeftButton, {},
                      window->menuBar()->actionGeometry(window->Ui().Regim->menuAction()).center());
    ASSERT_TRUE(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::qWait(20);
    // The offscreen platform gives the window no activation back by itself.
    window->activateWindow();
    QTest::qWait(10);
    EXPECT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
    // A row of the ticket list chosen, then a number typed into a list.
    QTest::keyClick(window->Ui().ListBilet1->Picture(), Qt::Key_Down);
    QTest::keyClick(window->Ui().ListBilet1->Picture(), Qt::Key_Return);
    EXPECT_EQ(state.store.CurBilet(), 1);
    EXPECT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
    for (const auto &[list, second] :
         {std::pair<QWidget *, const char *>{window->Ui().ListBilet1->Picture(), "6"},
          std::pair<QWidget *, const char *>{window->Ui().NIKA, "7"}}) {
        list->setFocus();
        QTest::keyClicks(list, QStringLiteral("1"));
        QTest::keyClicks(QApplication::focusWidget(), QLatin1String(second));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    EXPECT_NE(state.NomerColor[16], Kletka::Free);
    EXPECT_NE(state.NomerColor[17], Kletka::Free);
    EXPECT_EQ(state.TiragNomera.HodCount(), 3);
}

TEST_F(Game, ANewTicketSetStartsWithoutWinnersOrQuestions)
{
    Proverka();
    VvodRows(kRows, 1); // the first ticket wins a row
    ASSERT_EQ(window->Ui().NIKA->count(), 1);
    window->OpenBlt(QStringLiteral("t.rlb"));
    EXPECT_EQ(window->Ui().NIKA->count(), 0);
    EXPECT_EQ(state.NikaBilet, std::vector<qint32>{0});
    EXPECT_EQ(state.TiragNomera.HodCount(), 0);
    messenger.shown.clear();
    Proverka();
    EXPECT_TRUE(messenger.shown.empty());
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    EXPECT_EQ(window->Ui().NIKA->count(), 0);
}

namespace
{

// A window with real message boxes, a check game begun on one ticket ("first",
// whose first row 45 completes).
struct BoxedGame {
    explicit BoxedGame(bool active)
    {
        WriteBytes(dir.filePath(QStringLiteral("t.rlb")),
                   BiletFile::Encode(QStringLiteral("Тираж77"), {Ticket(kRows, QStringLiteral("first"))}, 1));
        window = MainM(state, messenger, dir.path());
        messenger.SetParent(window.get());
        messenger.SetTypeThrough([w = window.get()] { return w->TypeThroughTarget(); });
        window->show();
        if (active) {
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
        window->OpenBlt(QStringLiteral("t.rlb"));
        window->Ui().RegimProverka->trigger();
    }
    QTemporaryDir dir;
    ProgramState state;
    QtMessenger messenger;
    std::unique_ptr<frmForma> window;
};

} // namespace

TEST(GameBoxes, ANumberTypedWhileAWinIsAnnouncedIsNotLost)
{
    BoxedGame game(false);
    const ProgramState &state = game.state;
    frmForma *window = game.window.get();
    // The last number of the first row wins; "12⏎" is typed while the box is up.
    for (int n : {5, 15, 25, 35}) {
        QTest::keyClicks(window->Ui().VVOD1, QString::number(n));
        QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    }
    bool announced = false;
    QTimer::singleShot(0, [&] {
        announced = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr;
        if (announced)
            QTest::keyClicks(QApplication::activeModalWidget(), QStringLiteral("1"));
    });
    QTest::keyClicks(window->Ui().VVOD1, QStringLiteral("45"));
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_TRUE(announced);
    QTest::keyClicks(window->Ui().VVOD1, QStringLiteral("2"));
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    EXPECT_EQ(state.TiragNomera.HodCount(), 6);
    EXPECT_NE(state.NomerColor[12], Kletka::Free);
}

TEST(GameBoxes, KeysTypedAtOnceAfterAWinningNumberAllArriveInOrder)
{
    // 45 completes the first row and is announced; what follows is typed with
    // no pause: to whichever window has the keyboard, or all to the window
    // under the box as when the display is slower than the typist.
    const struct {
        const char *name;
        QString keys;
        bool boxGetsNoKeys;
    } cases[] = {
        {"digits right after the win", "5\n15\n25\n35\n45\n59\n12\n", false},
        {"the same, the box never has the keyboard", "5\n15\n25\n35\n45\n59\n12\n", true},
        {"Enter closes the box first", "5\n15\n25\n35\n45\n\n59\n12\n", false},
        {"Enter closes the box it never had", "5\n15\n25\n35\n45\n\n59\n12\n", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        BoxedGame game(true);
        const ProgramState &state = game.state;
        frmForma *window = game.window.get();
        ASSERT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
        Typist typist(c.boxGetsNoKeys ? window->windowHandle() : nullptr);
        // A box the keys never closed would wait for ever: it is closed, and the keys are missed.
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        watchdog.start(2000);
        typist.Type(c.keys);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return typist.Done() && !QApplication::activeModalWidget(); }, 5000));
        QTest::qWait(100); // what was held is typed in
        std::vector<qint32> drawn;
        for (qint32 v : state.TiragNomera.Entries())
            if (v >= 1 && v <= 90)
                drawn.push_back(v);
        EXPECT_EQ(drawn, (std::vector<qint32>{5, 15, 25, 35, 45, 59, 12}));
        EXPECT_EQ(window->Ui().NIKA->count(), 1);
        EXPECT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
    }
}

TEST_F(Game, ASlipTakenBackWithCtrlZLeavesTheDrawOfTheGameWithoutIt)
{
    Proverka();
    const auto ctrl = [this](Qt::Key key) { QTest::keyClick(window->Ui().VVOD1, key, Qt::ControlModifier); };
    for (int n : {5, 15, 61}) // 61 typed for 16
        Vvod(n);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(window->Ui().usrReklamaX1->Text().section('\n', 1), QStringLiteral("Отменён номер 61"));
    Vvod(16);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5, 15, 16}));
    EXPECT_EQ(window->Ui().NHOD->text(), QStringLiteral(" 3"));
    EXPECT_EQ(PoleCell(61), VbColor::ToQColor(VbColor::ButtonFace));
    EXPECT_EQ(window->Ui().usrReklamaX1->Big(), QStringLiteral("16"));

    // The tour moves on from the keyboard, and the end is asked for as a click asks.
    Vvod(25);
    Vvod(35);
    messenger.Script({MsgAnswer::Yes});
    ctrl(Qt::Key_T);
    EXPECT_EQ(window->Ui().Tur->text(), QStringLiteral(" Тур-2"));
    ctrl(Qt::Key_Z); // the tour change goes back too
    EXPECT_EQ(window->Ui().Tur->text(), QStringLiteral(" Тур-1"));
    messenger.shown.clear();
    ctrl(Qt::Key_K); // answered No
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Конец игры?"));
    EXPECT_EQ(state.RegimState, Rezhim::Proverka);
}

TEST_F(Game, ACheckGameCutShortIsTakenUpWhereItStopped)
{
    Proverka();
    for (int n : {5, 15, 25})
        Vvod(n);
    QApplication::processEvents();
    const QString journal = Path(QStringLiteral("Жребикон.jnl"));
    ASSERT_TRUE(QFile::exists(journal));
    const Tirag drawn = state.TiragNomera;
    // The program ends without a word, as in a crash: its journal stays.
    window.reset();
    // The next program in the same folder; its window goes before its state.
    struct Second {
        ProgramState state;
        RecordingMessenger asked;
        std::unique_ptr<frmForma> window;
    };
    const auto restart = [this](std::initializer_list<MsgAnswer> answers) {
        auto second = std::make_unique<Second>();
        second->asked.Script(answers);
        second->window = MainM(second->state, second->asked, dir.path());
        second->window->OfferZhurnal();
        return second;
    };
    {
        const auto second = restart({MsgAnswer::Yes});
        ASSERT_FALSE(second->asked.shown.empty());
        EXPECT_EQ(second->asked.shown[0].text, QStringLiteral("Продолжить незавершённую проверку?"));
        EXPECT_EQ(second->asked.shown[0].defaultButton, MsgAnswer::Yes);
        EXPECT_EQ(second->state.RegimState, Rezhim::Proverka);
        EXPECT_EQ(second->state.TiragNomera, drawn);
        EXPECT_EQ(second->window->Ui().NHOD->text(), QStringLiteral(" 3"));
        EXPECT_EQ(second->state.store.File(), QStringLiteral("t.rlb"));
        EXPECT_FALSE(second->state.store.Unsaved());
        // The game goes on there, and is cut short again.
        second->window->igra().NomerEntered(35);
        QApplication::processEvents();
    }
    // A ticket file changed since is not played against: the game goes on with
    // the journal's own copy of the tickets, and the user is told so. From then
    // on the game is the copy's, whatever becomes of the file.
    const QByteArray tickets = ReadBytes(Path(QStringLiteral("t.rlb")));
    for (const QByteArray &changed : {tickets + "\r\n", QByteArray()}) {
        QFile::remove(Path(QStringLiteral("t.rlb")));
        if (!changed.isEmpty())
            WriteBytes(Path(QStringLiteral("t.rlb")), changed);
        const auto second = restart({MsgAnswer::Yes});
        ASSERT_GE(second->asked.shown.size(), 2u);
        const QString told = second->asked.shown[1].text;
        EXPECT_EQ(told.contains(QStringLiteral("Файл «t.rlb» изменён")), !changed.isEmpty())
            << told.toStdString();
        EXPECT_TRUE(told.contains(QStringLiteral("по копии билетов из журнала"))) << told.toStdString();
        EXPECT_EQ(second->state.RegimState, Rezhim::Proverka);
        EXPECT_EQ(second->state.store.BiletCount(), 2);
        EXPECT_EQ(second->state.store.Bilet(1).Nomer, QStringLiteral("second"));
        EXPECT_EQ(second->state.TiragNomera.Entries(), (std::vector<qint32>{5, 15, 25, 35}));
        // No file holds these tickets now: a save asks for a name, closing asks to save.
        EXPECT_TRUE(second->state.store.File().isEmpty());
        EXPECT_TRUE(second->state.store.Unsaved());
        EXPECT_EQ(ReadBytes(Path(QStringLiteral("t.rlb"))), changed.isEmpty() ? "<missing>" : changed);
        QApplication::processEvents();
        EXPECT_TRUE(QFile::exists(journal));
    }
    WriteBytes(Path(QStringLiteral("t.rlb")), tickets);
    // A damaged journal is not trusted; one that is not there is not offered.
    WriteBytes(journal, "Жребикон: незавершённая проверка\r\nx\r\n12\r\n");
    {
        const auto second = restart({MsgAnswer::Yes});
        ASSERT_FALSE(second->asked.shown.empty());
        EXPECT_TRUE(second->asked.shown.back().text.contains(QStringLiteral("повреждён")));
        EXPECT_EQ(second->state.RegimState, Rezhim::None);
        EXPECT_FALSE(QFile::exists(journal));
    }
    // A game that ends normally leaves no journal.
    const auto second = restart({});
    EXPECT_TRUE(second->asked.shown.empty());
    second->window->OpenBlt(QStringLiteral("t.rlb"));
    second->window->Ui().RegimProverka->trigger();
    second->window->igra().NomerEntered(45);
    QApplication::processEvents();
    ASSERT_TRUE(QFile::exists(journal));
    ASSERT_TRUE(QFile::exists(Path(QStringLiteral("Жребикон.jnb"))));
    second->asked.Script({MsgAnswer::Yes, MsgAnswer::No});
    second->window->igra().Knopka_Click();
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Жребикон.jnb"))));
}

TEST_F(Game, AScreenReaderReadsTheBoardTheCardAndTheListCellByCell)
{
    Proverka();
    Vvod(5);
    QAccessibleInterface *board = QAccessible::queryAccessibleInterface(window->Ui().PolePic);
    ASSERT_EQ(board->childCount(), 90);
    EXPECT_EQ(board->child(4)->text(QAccessible::Name), QStringLiteral("5, выпал"));
    EXPECT_EQ(board->child(5)->text(QAccessible::Name), QStringLiteral("6"));
    QAccessibleInterface *card = QAccessible::queryAccessibleInterface(window->Ui().BiletPic);
    ASSERT_EQ(card->childCount(), 7);
    EXPECT_EQ(card->child(0)->text(QAccessible::Name), QStringLiteral("Билет номер first"));
    EXPECT_EQ(card->child(1)->text(QAccessible::Name), QStringLiteral("Строка 1: 5 (выпал), 15, 25, 35, 45"));
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(window->Ui().ListBilet1);
    ASSERT_EQ(list->childCount(), 2);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), QStringLiteral("first: совпадений 1, лидер"));
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), QStringLiteral("second: совпадений 0"));
}

TEST_F(Game, TheStripShowsTheLastNumberCalledAndSaysWhatCameOfEachKey)
{
    const auto big = [this] { return window->Ui().usrReklamaX1->Big(); };
    const auto note = [this] { return window->Ui().usrReklamaX1->Text().section('\n', 1); };
    const auto prize = [this](const QString &pattern) {
        QTimer::singleShot(0, [pattern] {
            auto *d = qobject_cast<PrizNB *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->TxtNB->setText(pattern);
            d->OK->click();
        });
        window->Ui().RegimPrizPoNomeru->trigger();
    };
    // A replay paused halfway leaves nothing of it on the strip of a new check.
    window->Ui().RegimImitator->trigger();
    for (int tick = 0; tick < 5; ++tick)
        window->igra().Timer1_Timer();
    ASSERT_FALSE(big().isEmpty());
    window->igra().Knopka_Click(); // pause
    messenger.Script({MsgAnswer::Yes});
    Proverka();
    QApplication::processEvents();
    EXPECT_EQ(big(), QString());
    EXPECT_TRUE(window->Ui().usrReklamaX1->Text().startsWith(QStringLiteral("Ход 0, тур 1")))
        << big().toStdString();

    // A prize by ticket number is a ticket's place in the list, not a number called.
    Renumber(1, QStringLiteral("AB-0345"));
    Vvod(45);
    prize(QStringLiteral("xxx0345"));
    ASSERT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{45, 94, 1}));
    EXPECT_EQ(big(), QStringLiteral("45"));
    EXPECT_EQ(note(), QStringLiteral("Приз по номеру: билет AB-0345"));
    Vvod(46);
    EXPECT_EQ(big(), QStringLiteral("46"));
    prize(QStringLiteral("XX9"));
    EXPECT_EQ(note(), QStringLiteral("Приз по номеру XX9: ни один билет не подходит"));

    // Numbers that cannot count are not dropped without a word.
    const struct {
        const char *typed;
        const char *said;
    } refused[] = {
        {"45", "Номер 45 уже выпал"},
        {"0", "Номера 0 нет: номера от 1 до 90"},
        {"91", "Номера 91 нет: номера от 1 до 90"},
        {"99", "Номера 99 нет: номера от 1 до 90"},
    };
    for (const auto &r : refused) {
        QTest::keyClicks(window->Ui().VVOD1, QString::fromLatin1(r.typed));
        QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
        EXPECT_EQ(note(), QString::fromUtf8(r.said));
        EXPECT_EQ(state.TiragNomera.HodCount(), 2);
        EXPECT_EQ(big(), QStringLiteral("46"));
    }
}

TEST_F(Game, HelpAndTheSiteThatCannotBeOpenedAreSaidWithWhereTheHelpLies)
{
    SetUrlOpenerForTests([](const QUrl &) { return false; });
    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_TRUE(messenger.shown[0].text.startsWith(QStringLiteral("Справку открыть не возможно")));
    EXPECT_TRUE(messenger.shown[0].text.contains(QDir::toNativeSeparators(HelpPagePath())));

    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<frmOprog *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        QTest::mouseClick(d->Label1, Qt::LeftButton);
        d->reject();
    });
    window->Ui().HelpAbout->trigger();
    SetUrlOpenerForTests({});
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_TRUE(messenger.shown[1].text.startsWith(QStringLiteral("Страницу ") + frmOprog::SiteAddress +
                                                   QStringLiteral(" открыть не возможно")));
    EXPECT_TRUE(messenger.shown[1].text.contains(QDir::toNativeSeparators(HelpPagePath())));
}

TEST_F(Game, ADrawOfAnotherNumberThanTheTicketsIsCheckedOnlyWhenTheUserSaysSo)
{
    // The set is Тираж77.
    const struct {
        const char *title;
        bool asked;
    } draws[] = {{"Тираж1234", true}, {"Тираж77", false}, {"Тираж077", false}, {"ИМИТАТОР", false}};
    for (const auto &d : draws) {
        const QString title = QString::fromUtf8(d.title);
        SCOPED_TRACE(d.title);
        WriteBytes(Path(QStringLiteral("d.rlt")), TiragFile::Encode(title, Tirag({5, 15, 93})));
        for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
            messenger.shown.clear();
            messenger.Script({answer});
            window->OpenTrg(QStringLiteral("d.rlt"));
            if (d.asked) {
                ASSERT_EQ(messenger.shown.size(), 1u);
                EXPECT_EQ(messenger.shown[0].text,
                          title + QStringLiteral(" не тот, что у билетов (Тираж77). Проверить всё равно?"));
                EXPECT_EQ(messenger.shown[0].defaultButton, MsgAnswer::Yes);
            } else {
                EXPECT_TRUE(messenger.shown.empty());
            }
            const bool replayed = !d.asked || answer == MsgAnswer::Yes;
            EXPECT_EQ(state.RegimState, replayed ? Rezhim::Povtor : Rezhim::None);
            window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("77")); // out of the replay, set aside
            window->OpenBlt(QStringLiteral("t.rlb"));
        }
    }
}

TEST_F(Game, TakingBackNeverAnnouncesAgainWhatWasAnnouncedBefore)
{
    Proverka();
    for (int n : {5, 15, 25, 35, 45}) // the first row of "first" wins
        Vvod(n);
    Renumber(1, QStringLiteral("77"));
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<PrizNB *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->TxtNB->setText(QStringLiteral("77"));
        d->OK->click();
    });
    window->Ui().RegimPrizPoNomeru->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())); // Ctrl+Z is the window's
    Vvod(6);
    Vvod(16);
    ASSERT_EQ(messenger.shown.size(), 2u); // the win and the prize
    // Back step by step past the prize and the win: the game is rebuilt each
    // time, and nothing is announced again.
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(window->Ui().VVOD1, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(messenger.shown.size(), 2u) << step;
    }
    EXPECT_EQ(state.TiragNomera.HodCount(), 4);
    EXPECT_EQ(window->Ui().NIKA->count(), 0);
}

TEST_F(Game, APublishedResultIsCheckedAsTypedWithOneSummaryOfTheWins)
{
    // Pastes text into the result dialog once it is up, and confirms it.
    const auto paste = [](const QString &text) {
        QTimer::singleShot(0, [text] {
            auto *d = qobject_cast<frmRezultat *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->TxtText->setPlainText(text);
            QTest::mouseClick(d->kOK, Qt::LeftButton);
        });
    };
    ASSERT_TRUE(window->Ui().FileRezultat->isEnabled()) << "a ticket set is open";
    EXPECT_EQ(window->Ui().FileRezultat->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));

    // "first" wins its row with 45 and its field with 47: the game moves on by
    // itself, so the published tours need no click.
    paste(QStringLiteral("Тираж № 77 от 06.12.2026\n1 тур: 5, 15, 25, 35, 45, 8\n"
                         "2 тур: 6, 16, 26, 36, 46, 7, 17, 27, 37, 47\n3 тур: 18, 28\n"));
    messenger.shown.clear();
    window->Ui().FileRezultat->trigger();
    EXPECT_EQ(state.TiragNomera.HodCount(), 18);
    EXPECT_EQ(state.RegimState, Rezhim::None) << "the game ended as with \" Конец\"";
    EXPECT_EQ(Nika(),
              (QStringList{QStringLiteral("(номер 45)  first"), QStringLiteral("(номер 47)  first")}));
    // One box says everything won; then the draw is offered for saving.
    std::vector<QString> boxes, questions;
    for (const MessageRequest &r : messenger.shown)
        (r.buttons == MsgButtons::Ok ? boxes : questions).push_back(r.text);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Проверено чисел: 18. Выигрышей: 2.\n(номер 45)  first\n"
                                                   "(номер 47)  first")))
        << boxes[0].toStdString();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], QStringLiteral("Сохранить тираж?"));

    // Tour 2 published before anything here won: the tour label's move, as by
    // hand. The game just played is given up only when the user says so.
    paste(QStringLiteral("1 тур: 4, 14, 60, 70, 80, 9\n2 тур: 24\n"));
    messenger.shown.clear();
    messenger.Script({MsgAnswer::Yes}); // "Перейти в новый режим?"
    window->Ui().FileRezultat->trigger();
    ASSERT_EQ(messenger.shown.front().text, QStringLiteral("Перейти в новый режим?"));
    EXPECT_EQ(state.TiragNomera.HodCount(), 7);
    const std::vector<qint32> &drawn = state.TiragNomera.Entries();
    EXPECT_EQ(drawn, (std::vector<qint32>{4, 14, 60, 70, 80, 9, 91, 24, 93}));
    EXPECT_EQ(messenger.shown.at(1).text, QStringLiteral("Проверено чисел: 7. Выигрышей нет."));
}
