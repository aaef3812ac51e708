// Nothing keyed in is lost: the question before a set is let go, the strip's
// word on what is saved, the journal of tickets keyed in, checking a set just
// keyed in, and a journal that cannot be written or read.
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "io/BiletFile.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <functional>

namespace
{

using namespace TestSupport;

// Answers the modal dialogs that come, one action each, in order.
class DialogAnswers
{
public:
    explicit DialogAnswers(std::vector<std::function<void(QDialog *)>> actions) : actions_(std::move(actions))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == last_ || next_ >= actions_.size())
                return;
            last_ = dialog;
            ++came;
            actions_[next_++](dialog);
        });
        timer_.start();
    }
    int came = 0;

private:
    std::vector<std::function<void(QDialog *)>> actions_;
    std::size_t next_ = 0;
    QDialog *last_ = nullptr;
    QTimer timer_;
};

void Reject(QDialog *d)
{
    d->reject();
}

// The save dialog: a name typed, OK.
std::function<void(QDialog *)> SaveAs(const QString &name)
{
    return [name](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("TxtName"))->setText(name);
        d->findChild<QPushButton *>(QStringLiteral("kOK"))->click();
    };
}

class Saving : public WindowFixture
{
protected:
    // A new set of draw 1234 with one ticket keyed in and stored.
    void KeyIn()
    {
        window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
        StoreKeyed(QStringLiteral("017"));
        ASSERT_TRUE(state.store.Unsaved());
    }
    void WriteTickets(const QString &name)
    {
        WriteBytes(Path(name), BiletFile::Encode(QStringLiteral("Тираж77"),
                                                 {MakeBilet(kRows, QStringLiteral("first")),
                                                  MakeBilet(kRows2, QStringLiteral("second"))},
                                                 2));
    }
    int SaveQuestions() const
    {
        int count = 0;
        for (const MessageRequest &q : messenger.shown)
            if (q.buttons == MsgButtons::SaveDiscardCancel) {
                EXPECT_EQ(q.text, QStringLiteral("Изменения в билетах не сохранены.\nСохранить их?"));
                EXPECT_EQ(q.defaultButton, MsgAnswer::Save);
                ++count;
            }
        return count;
    }
    QString Strip() const { return window->Ui().usrReklamaX1->Text(); }
    // The program ends as in a crash, and starts again in the same folder.
    void Restart(std::initializer_list<MsgAnswer> answers)
    {
        window.reset();
        state = ProgramState();
        messenger.shown.clear();
        messenger.Script(answers);
        window = MainM(state, messenger, dir.path());
        window->show();
        window->OfferZhurnal();
    }
};

} // namespace

TEST_F(Saving, EveryCommandThatLetsTheSetGoAsksFirst)
{
    struct Command {
        const char *name;
        std::function<void(frmForma &)> run;
        // What going on looks like: a dialog of the command, or the window's state.
        bool opensDialog;
        std::function<bool(frmForma &, ProgramState &)> wentOn;
    };
    const std::vector<Command> commands = {
        {"Открыть билеты", [](frmForma &w) { w.Ui().FileOpen->trigger(); }, true, {}},
        {"Создать", [](frmForma &w) { w.Ui().FileNewBilet->trigger(); }, true, {}},
        {"Открыть тираж", [](frmForma &w) { w.Ui().FileOpenTirag->trigger(); }, true, {}},
        {"Проверка", [](frmForma &w) { w.Ui().RegimProverka->trigger(); }, false,
         [](frmForma &, ProgramState &s) { return s.RegimState == Rezhim::Proverka; }},
        {"Имитатор", [](frmForma &w) { w.Ui().RegimImitator->trigger(); }, false,
         [](frmForma &, ProgramState &s) { return s.RegimState == Rezhim::Imitator; }},
        {"close box", [](frmForma &w) { w.close(); }, false,
         [](frmForma &w, ProgramState &) { return !w.isVisible(); }},
    };
    for (const Command &c : commands) {
        SCOPED_TRACE(c.name);
        KeyIn();
        EXPECT_TRUE(Strip().contains(QStringLiteral("Билеты не сохранены"))) << Strip().toStdString();
        for (MsgAnswer answer : {MsgAnswer::Cancel, MsgAnswer::Discard}) {
            messenger.shown.clear();
            messenger.Script({answer});
            DialogAnswers dialogs({Reject});
            c.run(*window);
            QApplication::processEvents();
            EXPECT_EQ(SaveQuestions(), 1);
            const bool wentOn = c.opensDialog ? dialogs.came == 1 : c.wentOn(*window, state);
            EXPECT_EQ(wentOn, answer == MsgAnswer::Discard);
            if (answer == MsgAnswer::Cancel) {
                EXPECT_EQ(state.RegimState, Rezhim::Zagruzka);
                EXPECT_EQ(state.store.BiletCount(), 1);
                EXPECT_TRUE(state.store.Unsaved());
            }
        }
        // Closing asked instead of "Закрыть программу?", and wrote the settings.
        if (!window->isVisible()) {
            for (const MessageRequest &q : messenger.shown)
                EXPECT_NE(q.text, QStringLiteral("Закрыть программу?"));
            EXPECT_TRUE(QFile::exists(Path(QStringLiteral("Жребикон.ini"))));
            window->show();
        }
        window->igra().SetRegim(Rezhim::None);
    }
    // With nothing unsaved nothing is asked but what always was.
    KeyIn();
    window->SaveBlt(QStringLiteral("mine.rlb"));
    messenger.shown.clear();
    window->Ui().RegimProverka->trigger();
    EXPECT_TRUE(messenger.shown.empty());
    messenger.Script({MsgAnswer::No});
    EXPECT_FALSE(window->close());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Закрыть программу?"));
}

TEST_F(Saving, SaveIsTheOrdinarySaveAndTheCommandGoesOnOnlyWhenItSaved)
{
    KeyIn();
    // A set with no file: the file dialog; cancelled, nothing goes on.
    messenger.Script({MsgAnswer::Save});
    {
        DialogAnswers dialogs({Reject, Reject});
        window->Ui().FileOpen->trigger();
        QApplication::processEvents();
        EXPECT_EQ(dialogs.came, 1); // the save dialog, and no open dialog after it
    }
    EXPECT_TRUE(state.store.Unsaved());
    EXPECT_EQ(state.RegimState, Rezhim::Zagruzka);
    // Named, it saves, and the open dialog follows.
    messenger.Script({MsgAnswer::Save});
    {
        DialogAnswers dialogs({SaveAs(QStringLiteral("mine")), Reject});
        window->Ui().FileOpen->trigger();
        QApplication::processEvents();
        EXPECT_EQ(dialogs.came, 2);
    }
    EXPECT_FALSE(state.store.Unsaved());
    EXPECT_EQ(state.store.File(), QStringLiteral("mine.rlb"));
    // The strip says where the save went.
    const QString where =
        QDir::toNativeSeparators(QFileInfo(Path(QStringLiteral("mine.rlb"))).absoluteFilePath());
    EXPECT_TRUE(Strip().contains(QStringLiteral("Сохранено: ") + where)) << Strip().toStdString();
    EXPECT_EQ(BiletFile::Parse(ReadBytes(Path(QStringLiteral("mine.rlb")))).index(), 0u);
    // A set with a file is saved into it without a dialog; a failed save stops the command.
    StoreKeyed(QStringLiteral("018"), kRows2);
    {
        FileSizeLimit full(100);
        messenger.Script({MsgAnswer::Save});
        window->Ui().FileNewBilet->trigger();
    }
    EXPECT_TRUE(state.store.Unsaved());
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(messenger.shown.back().text, QStringLiteral("Файл сохранить не возможно."));
    messenger.Script({MsgAnswer::Save});
    window->close();
    EXPECT_FALSE(window->isVisible());
    auto saved = BiletFile::Parse(ReadBytes(Path(QStringLiteral("mine.rlb"))));
    ASSERT_EQ(saved.index(), 0u);
    EXPECT_EQ(std::get<BiletFileData>(saved).Bilety.size(), 2u);
}

TEST_F(Saving, TicketsKeyedInComeBackAfterACrashStillUnsaved)
{
    // A new set, and a set of a file in another folder (which becomes the work
    // folder; the journal stays) with a ticket deleted and one added.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("stick")));
    const QString stick = QFileInfo(Path(QStringLiteral("stick/t.rlb"))).absoluteFilePath();
    WriteTickets(QStringLiteral("stick/t.rlb"));
    const QByteArray file = ReadBytes(stick);
    for (bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile);
        if (fromFile) {
            messenger.Script({MsgAnswer::Discard});
            window->OpenPath(stick);
            window->Ui().RegimAddBliet->trigger();
            window->Ui().ListBilet1->SetListIndex(0);
            messenger.Script({MsgAnswer::Yes});
            QTest::keyClick(window->Ui().ListBilet1->Picture(), Qt::Key_Delete);
            StoreKeyed(QStringLiteral("third"));
        } else {
            KeyIn();
            StoreKeyed(QStringLiteral("018"), kRows2);
        }
        ASSERT_EQ(state.store.BiletCount(), 2);
        std::vector<QString> nomera = {state.store.Bilet(0).Nomer, state.store.Bilet(1).Nomer};
        const QString caption = window->windowTitle();
        Restart({MsgAnswer::Yes});
        ASSERT_FALSE(messenger.shown.empty());
        EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Восстановить несохранённые билеты (2)?"));
        EXPECT_EQ(messenger.shown[0].defaultButton, MsgAnswer::Yes);
        EXPECT_EQ(state.RegimState, Rezhim::Zagruzka);
        EXPECT_EQ(window->windowTitle(), caption);
        ASSERT_EQ(state.store.BiletCount(), 2);
        EXPECT_EQ(state.store.Bilet(0).Nomer, nomera[0]);
        EXPECT_EQ(state.store.Bilet(1).Nomer, nomera[1]);
        EXPECT_EQ(state.store.Bilet(1).NomeraList(29), (fromFile ? kRows : kRows2)[5][4]);
        EXPECT_TRUE(state.store.Unsaved());
        EXPECT_EQ(state.store.File(), fromFile ? stick : QString());
        EXPECT_TRUE(Strip().contains(QStringLiteral("Билеты не сохранены")));
        // Nothing was written but the journal: the file is as it was.
        EXPECT_EQ(ReadBytes(stick), file);
        EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.rlb")}).isEmpty());
        // Keying in goes on where it stopped.
        StoreKeyed(QStringLiteral("more"));
        EXPECT_EQ(state.store.BiletCount(), 3);
    }
    // No: the tickets are let go, and not offered again.
    Restart({MsgAnswer::No});
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Жребикон.jnl"))));
    Restart({});
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(Saving, ASetJustKeyedInIsCheckedAtOnce)
{
    KeyIn();
    EXPECT_TRUE(window->Ui().Regim->menuAction()->isEnabled());
    window->SaveBlt(QStringLiteral("fresh.rlb"));
    messenger.shown.clear();
    QTest::keyClick(window->Ui().Nombilet, Qt::Key_F2);
    EXPECT_TRUE(messenger.shown.empty());
    ASSERT_EQ(state.RegimState, Rezhim::Proverka);
    ASSERT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
    Vvod(5);
    EXPECT_EQ(state.TiragNomera.HodCount(), 1);
    EXPECT_NE(state.NomerColor[5], Kletka::Free);
    EXPECT_EQ(state.stats.At(0).count, 1);
    EXPECT_EQ(state.store.File(), QStringLiteral("fresh.rlb"));

    // Unsaved and not saved on purpose: the game is played on the set in hand,
    // and its journal keeps a copy of it.
    KeyIn();
    StoreKeyed(QStringLiteral("018"), kRows2);
    messenger.Script({MsgAnswer::Discard});
    window->Ui().RegimProverka->trigger();
    ASSERT_EQ(state.RegimState, Rezhim::Proverka);
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_TRUE(state.store.Unsaved());
    Vvod(4);
    EXPECT_EQ(state.stats.At(1).count, 1);
    QApplication::processEvents();
    Restart({MsgAnswer::Yes});
    EXPECT_EQ(state.RegimState, Rezhim::Proverka);
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(state.TiragNomera.HodCount(), 1);
    EXPECT_TRUE(state.store.Unsaved());
}

TEST_F(Saving, AJournalThatCannotBeWrittenIsSaidOnceAndOneThatCannotBeReadIsNamed)
{
    WriteTickets(QStringLiteral("t.rlb"));
    window->OpenBlt(QStringLiteral("t.rlb"));
    window->Ui().RegimProverka->trigger();
    {
        FileSizeLimit full(60); // the disk fills up during the game
        for (int n : {5, 15, 25, 35}) {
            Vvod(n);
            QApplication::processEvents();
        }
    }
    EXPECT_EQ(state.TiragNomera.HodCount(), 4);
    ASSERT_EQ(messenger.shown.size(), 1u);
    const QString journal = QDir::toNativeSeparators(Path(QStringLiteral("Жребикон.jnl")));
    EXPECT_EQ(messenger.shown[0].text.section('\n', 0, 0),
              QStringLiteral("Журнал «%1» записать не возможно.").arg(journal));
    EXPECT_TRUE(Strip().contains(QStringLiteral("Журнал не записывается"))) << Strip().toStdString();
    // Room again: the journal is whole and the strip says no more.
    Vvod(45);
    QApplication::processEvents();
    EXPECT_FALSE(Strip().contains(QStringLiteral("Журнал"))) << Strip().toStdString();

    // A folder in the journal's place: no message at start, the first write says it.
    window->igra().SetRegim(Rezhim::None);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Жребикон.jnl")));
    for (int start = 0; start < 2; ++start) {
        Restart({});
        EXPECT_TRUE(messenger.shown.empty());
    }
    window->OpenBlt(QStringLiteral("t.rlb"));
    window->Ui().RegimProverka->trigger();
    Vvod(5);
    QApplication::processEvents();
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_TRUE(messenger.shown[0].text.contains(journal));

    // One past what is ever read is named, and goes.
    window.reset();
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Жребикон.jnl")));
    QFile huge(Path(QStringLiteral("Жребикон.jnl")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(300) << 20));
    huge.close();
    Restart({});
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Журнал «%1» прочитать не возможно.").arg(journal));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Жребикон.jnl"))));
}
