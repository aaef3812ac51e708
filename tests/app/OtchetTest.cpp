// After a game: a winner chosen in the list shows what won it on the card and
// the strip, and "Отчёт…" keeps the game as a PDF or a CSV table.
#include "controls/InfoStrip.h"
#include "controls/NikaList.h"
#include "dialogs/frmOtchet.h"
#include "io/BiletFile.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTimer>

namespace
{

using namespace TestSupport;

class Otchet : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        OpenTwoTickets(QStringLiteral("104549"), QStringLiteral("2"));
    }
    // Tour 1 won by 104549's second row; tour 2 by its lower field.
    void Play()
    {
        window->Ui().RegimProverka->trigger();
        for (int n : {6, 16, 26, 36, 46})
            Vvod(n);
        for (int n : {1, 51, 61, 71, 90, 2, 52, 62, 72, 82, 3, 53, 63, 73, 83})
            Vvod(n);
        ASSERT_EQ(state.TiragNomera.HodCount(), 20);
        ASSERT_EQ(window->Ui().NIKA->count(), 2);
    }
    QColor Card(int x, int y) const { return window->Ui().BiletPic->Pixel(x, y); }

    static inline const QColor kMark{220, 0, 0};
};

} // namespace

TEST_F(Otchet, AChosenWinnerShowsItsRowOrFieldOnTheCardAndSaysWhatWonIt)
{
    Play();
    NikaList *nika = window->Ui().NIKA;
    state.store.Show(1);

    // By keyboard: the row's frame, from the card's left edge to its right.
    nika->setFocus();
    nika->setCurrentRow(0);
    QTest::keyClick(nika, Qt::Key_Return);
    EXPECT_EQ(state.store.CurBilet(), 0);
    for (const QPoint p : {QPoint(1, 31), QPoint(150, 32), QPoint(287, 45), QPoint(150, 61)})
        EXPECT_EQ(Card(p.x(), p.y()), kMark) << p.x() << "," << p.y();
    EXPECT_NE(Card(150, 0), kMark);
    EXPECT_NE(Card(150, 104), kMark);
    EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(
        QStringLiteral("Билет 104549: тур 1, строка 2, номером 46 (ход 5)")))
        << window->Ui().usrReklamaX1->Text().toStdString();

    // By mouse, the other line: the lower field, and the row's frame gone.
    const QRect line = nika->visualRect(nika->model()->index(1, 0));
    QTest::mouseClick(nika->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(nika->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_NE(Card(150, 31), kMark);
    for (const QPoint p : {QPoint(150, 104), QPoint(1, 150), QPoint(150, 196)})
        EXPECT_EQ(Card(p.x(), p.y()), kMark) << p.x() << "," << p.y();
    EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(
        QStringLiteral("Билет 104549: тур 2, поле 2, номером 83 (ход 20)")));

    // The next number is news of its own.
    Vvod(4);
    EXPECT_FALSE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("Билет 104549:")));
}

TEST_F(Otchet, TheReportIsOnOfferWithAGameAndSavedAsTheKindChosen)
{
    QAction *otchet = window->Ui().FileOtchet;
    EXPECT_FALSE(otchet->isEnabled());
    Play();
    EXPECT_TRUE(otchet->isEnabled());

    // "Сохранить CSV…", a name typed without its extension.
    QString suggested;
    frmOtchet::PickFile() = [&](QWidget *, const QString &, const QString &path, const QString &) {
        suggested = path;
        return Path(QStringLiteral("итоги"));
    };
    QTimer::singleShot(0, [] {
        if (auto *d = qobject_cast<frmOtchet *>(QApplication::activeModalWidget()))
            d->kCsv->click();
    });
    otchet->trigger();
    frmOtchet::PickFile() = nullptr;
    EXPECT_EQ(suggested, Path(QStringLiteral("Отчёт Тираж77.csv")));
    QFile csv(Path(QStringLiteral("итоги.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csv.readAll().split('\n');
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows[1], QByteArray("104549;5;15;20;;\"тур 1, строка 2, номером 46 (ход 5); тур 2, поле 2, "
                                  "номером 83 (ход 20)\"\r"));
    EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("Отчёт сохранён:")));

    // A PDF; another extension, or a folder that is not there, is refused with a message.
    EXPECT_TRUE(window->SaveOtchet(Path(QStringLiteral("итоги.pdf"))));
    QFile pdf(Path(QStringLiteral("итоги.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    const std::size_t boxes = messenger.shown.size();
    EXPECT_FALSE(window->SaveOtchet(Path(QStringLiteral("итоги.txt"))));
    EXPECT_FALSE(window->SaveOtchet(Path(QStringLiteral("нет/итоги.csv"))));
    ASSERT_EQ(messenger.shown.size(), boxes + 2);
    EXPECT_EQ(messenger.shown[boxes].text,
              QStringLiteral("Отчёт сохраняется в файл .pdf или .csv, а не «итоги.txt»."));
    EXPECT_TRUE(messenger.shown[boxes + 1].text.contains(QStringLiteral("сохранить не возможно")));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("итоги.txt"))));

    // A game just ended is on offer still; keying in tickets is no game to report on.
    messenger.Script({MsgAnswer::Yes, MsgAnswer::No});
    window->Ui().RegimKnopka->trigger();
    ASSERT_EQ(state.RegimState, Rezhim::None);
    EXPECT_TRUE(otchet->isEnabled());
    // A set opened afresh has no game of its own yet.
    window->OpenBlt(QStringLiteral("t.rlb"));
    EXPECT_FALSE(otchet->isEnabled());
    Play();
    messenger.Script({MsgAnswer::Yes, MsgAnswer::No});
    window->Ui().RegimKnopka->trigger();
    messenger.fallbackAnswer = MsgAnswer::Yes;
    window->Ui().RegimAddBliet->trigger();
    ASSERT_EQ(state.RegimState, Rezhim::Zagruzka);
    EXPECT_FALSE(otchet->isEnabled());
}
