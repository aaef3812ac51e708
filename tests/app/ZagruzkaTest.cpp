// Keying in tickets: the board, the card, the entry boxes and the ticket set.
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "io/BiletFile.h"
#include "support/FileBytes.h"
#include "support/TicketFactory.h"
#include "support/Typist.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QWheelEvent>

namespace
{

using namespace TestSupport;

const QColor kUsed = VbColor::ToQColor(0xFF9BA3);
QColor ButtonFace()
{
    return VbColor::ToQColor(VbColor::ButtonFace);
}
const QColor kWhite(Qt::white);

class Zagruzka : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
        QApplication::processEvents();
    }

    void ClickPole(int n) { QTest::mouseClick(window->Ui().PolePic, Qt::LeftButton, {}, PoleCenter(n)); }
    // Inside a card cell, clear of its text.
    QColor CardCell(int r, int c) const
    {
        return window->Ui().BiletPic->Pixel(32 * c + 3, 31 * r + (r >= 3 ? 11 : 0) + 28);
    }
};

} // namespace

TEST_F(Zagruzka, NewSetEntersTicketEntryWithItsLayout)
{
    const frmForma &f = *window;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Русское лото - Тираж1234 Загрузка билетов"));
    EXPECT_EQ(state.RegimState, Rezhim::Zagruzka);
    EXPECT_EQ(state.kind, &Loto::RusLoto());
    EXPECT_EQ(state.TiragTitle, QStringLiteral("Тираж1234"));
    EXPECT_EQ(state.TiragNomera.HodCount(), 0)
        << "no game is in hand: the save question decides leaving entry";
    EXPECT_EQ(state.store.BiletCount(), 0);
    EXPECT_EQ(state.store.Bilety().size(), 1u);
    for (QWidget *w : {static_cast<QWidget *>(f.Ui().Nombilet), static_cast<QWidget *>(f.Ui().kBiletGotov),
                       static_cast<QWidget *>(f.Ui().VVOD1)})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    for (QWidget *w : {static_cast<QWidget *>(f.Ui().NIKA), static_cast<QWidget *>(f.Ui().NHOD),
                       static_cast<QWidget *>(f.Ui().NOMBILETlbl), static_cast<QWidget *>(f.Ui().Label3)})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_FALSE(f.Ui().kBiletGotov->isEnabled());
    EXPECT_TRUE(f.Ui().VVOD1->isEnabled());
    EXPECT_TRUE(f.Ui().PolePic->isEnabled());
    EXPECT_TRUE(f.Ui().BiletPic->isEnabled());
    EXPECT_FALSE(f.Ui().Regim->menuAction()->isEnabled());
    EXPECT_FALSE(f.Ui().FileOpenTirag->isEnabled());
    EXPECT_EQ(f.Ui().VVEDNOM->text(), QStringLiteral("Введите номер:"));
    EXPECT_EQ(f.Ui().ListBilet1->LineWidth(), 164);
    EXPECT_EQ(QApplication::focusWidget(), f.Ui().Nombilet);
    // Row 0 waits for its numbers: nine "?" cells.
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(CardCell(0, c), kUsed);
    EXPECT_EQ(CardCell(1, 0), kWhite);

    window->FileNewBilet2(Loto::ZolotoyKlyuch(), QStringLiteral("007"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Золотой ключ - Тираж007 Загрузка билетов"));
    EXPECT_EQ(state.kind, &Loto::ZolotoyKlyuch());
}

TEST_F(Zagruzka, BoardCellsGiveTheirNumbers)
{
    for (int n : {10, 11, 90, 1, 81}) {
        ClickPole(n);
        EXPECT_EQ(state.NomerColor[n], Kletka::OnCard) << n;
        EXPECT_EQ(PoleCell(n), kUsed) << n;
    }
    // 10 and 11 share card column 1, 90 and 81 column 8: the later ones displaced them.
    EXPECT_EQ(state.NomerColor[10], Kletka::Free);
    EXPECT_EQ(PoleCell(10), ButtonFace());
    EXPECT_EQ(state.NomerColor[90], Kletka::Free);
    EXPECT_EQ(window->entry.StrokaCount(0), 3);
}

TEST_F(Zagruzka, AClickNeedsPressAndReleaseOnTheSameCell)
{
    Surface *pole = window->Ui().PolePic;
    QTest::mousePress(pole, Qt::LeftButton, {}, PoleCenter(12));
    // Sunken while held: dark inner edge.
    EXPECT_EQ(pole->Pixel(35 + 2, 34 + 2), QColor(Qt::black));
    QTest::mouseMove(pole, PoleCenter(13));
    // Raised again once the pointer left the pressed cell.
    EXPECT_EQ(pole->Pixel(35 + 2, 34 + 2), kWhite);
    QTest::mouseRelease(pole, Qt::LeftButton, {}, PoleCenter(13));
    EXPECT_EQ(state.NomerColor[12], Kletka::Free);
    EXPECT_EQ(state.NomerColor[13], Kletka::Free);

    QTest::mousePress(pole, Qt::LeftButton, {}, PoleCenter(12));
    QTest::mouseMove(pole, PoleCenter(13));
    QTest::mouseMove(pole, PoleCenter(12));
    EXPECT_EQ(pole->Pixel(35 + 2, 34 + 2), QColor(Qt::black));
    QTest::mouseRelease(pole, Qt::LeftButton, {}, PoleCenter(12));
    EXPECT_EQ(state.NomerColor[12], Kletka::OnCard);

    // The closing line at the bottom and the last column's right edge are not cells.
    QTest::mousePress(pole, Qt::LeftButton, {}, QPoint(20, 339));
    QTest::mouseRelease(pole, Qt::LeftButton, {}, QPoint(20, 340));
    QTest::mousePress(pole, Qt::LeftButton, {}, QPoint(314, 20));
    QTest::mouseRelease(pole, Qt::LeftButton, {}, QPoint(315, 20));
    EXPECT_EQ(state.NomerColor[10], Kletka::Free);
    EXPECT_EQ(state.NomerColor[81], Kletka::Free);
}

TEST_F(Zagruzka, TheHoverFrameFollowsThePointerAndLeavesWithIt)
{
    Surface *pole = window->Ui().PolePic;
    QTest::mouseMove(pole, PoleCenter(45));
    const int X = 35 * 4, Y = 34 * 4;
    EXPECT_EQ(pole->Pixel(X + 2, Y + 2), kWhite);
    EXPECT_EQ(pole->Pixel(X + 34, Y + 10), QColor(Qt::black));
    QTest::mouseMove(pole, PoleCenter(46));
    EXPECT_EQ(pole->Pixel(X + 2, Y + 2), ButtonFace());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(pole, &leave);
    EXPECT_EQ(pole->Pixel(X + 2, Y + 36), ButtonFace());
    EXPECT_EQ(pole->Pixel(X + 34, Y + 44), ButtonFace());

    // With the button held the frame stays when the pointer leaves.
    QTest::mousePress(pole, Qt::LeftButton, {}, PoleCenter(46));
    QApplication::sendEvent(pole, &leave);
    EXPECT_EQ(pole->Pixel(X + 2, Y + 36), QColor(Qt::black));
}

TEST_F(Zagruzka, RowsFillTopToBottomAndAClashReplacesTheEarlierNumber)
{
    Vvod(5);
    Vvod(7);
    EXPECT_EQ(window->entry.Kletka(0), 7);
    EXPECT_EQ(state.NomerColor[5], Kletka::Free);
    EXPECT_EQ(PoleCell(5), ButtonFace());
    EXPECT_EQ(window->entry.StrokaCount(0), 1);
    Vvod(7); // the same number again takes it off
    EXPECT_EQ(window->entry.Kletka(0), 0);
    EXPECT_EQ(CardCell(0, 0), kUsed);

    for (int n : kRows[0])
        Vvod(n);
    EXPECT_EQ(window->entry.CurStroka(), 1);
    // Row 0's empty cells lose their marks; row 1 shows nine.
    EXPECT_EQ(CardCell(0, 5), kWhite);
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(CardCell(1, c), kUsed);
}

TEST_F(Zagruzka, TakingANumberOffSendsFillingBackAndThenOnPastCompleteRows)
{
    VvodRows(kRows, 3);
    Vvod(51);
    EXPECT_EQ(window->entry.CurStroka(), 3);
    Vvod(16); // off row 1
    EXPECT_EQ(window->entry.CurStroka(), 1);
    EXPECT_EQ(CardCell(1, 1), kUsed);
    EXPECT_EQ(CardCell(3, 6), kWhite); // row 3 no longer marked
    Vvod(18);
    // Row 2 is complete already: filling resumes at row 3.
    EXPECT_EQ(window->entry.CurStroka(), 3);
    EXPECT_EQ(window->entry.Kletka(9 + 1), 18);
    EXPECT_EQ(CardCell(3, 6), kUsed);
}

TEST_F(Zagruzka, CardReleasesFindTheirRowAcrossTheBand)
{
    VvodRows(kRows);
    ASSERT_EQ(window->entry.CurStroka(), 6);
    // y 93 to 96 counts for row 3, 97 to 103 for row 2.
    QTest::mouseClick(window->Ui().BiletPic, Qt::LeftButton, {}, QPoint(32 * 5 + 10, 95));
    EXPECT_EQ(state.NomerColor[51], Kletka::Free);
    EXPECT_EQ(state.NomerColor[47], Kletka::OnCard);
    EXPECT_EQ(window->entry.CurStroka(), 3);
    QTest::mouseClick(window->Ui().BiletPic, Qt::LeftButton, {}, QPoint(32 * 4 + 10, 100));
    EXPECT_EQ(state.NomerColor[47], Kletka::Free);
    EXPECT_EQ(window->entry.CurStroka(), 2);
    EXPECT_FALSE(window->Ui().kBiletGotov->isEnabled());
}

TEST_F(Zagruzka, TheEntryBoxTakesTwoDigitsAndIgnoresZeroAndAbove90)
{
    QLineEdit *v = window->Ui().VVOD1;
    // A number ends with its second digit; Backspace right after it corrects it.
    QTest::keyClicks(v, QStringLiteral("4x5"));
    EXPECT_EQ(v->text(), QString());
    EXPECT_EQ(state.NomerColor[45], Kletka::OnCard);
    QTest::keyClick(v, Qt::Key_Backspace);
    EXPECT_EQ(v->text(), QStringLiteral("4"));
    EXPECT_EQ(state.NomerColor[45], Kletka::Free);
    QTest::sendKeyEvent(QTest::Click, v, Qt::Key_unknown, QString(QChar(0x0416)), Qt::NoModifier);
    EXPECT_EQ(v->text(), QStringLiteral("4"));
    QTest::keyClick(v, Qt::Key_Backspace);
    for (int n : {0, 91, 99}) {
        Vvod(n);
        EXPECT_EQ(v->text(), QString());
    }
    QTest::keyClick(v, Qt::Key_Return);
    for (int n = 1; n <= 90; ++n)
        EXPECT_EQ(state.NomerColor[n], Kletka::Free) << n;
}

TEST_F(Zagruzka, ReadyNeedsACompleteCardAndATicketNumber)
{
    VvodRows(kRows);
    EXPECT_FALSE(window->Ui().kBiletGotov->isEnabled());
    QTest::keyClicks(window->Ui().Nombilet, QStringLiteral("7"));
    EXPECT_TRUE(window->Ui().kBiletGotov->isEnabled());
    QTest::keyClick(window->Ui().Nombilet, Qt::Key_Backspace);
    EXPECT_FALSE(window->Ui().kBiletGotov->isEnabled());
}

TEST_F(Zagruzka, TicketNumberKeepsOnlyWhatTheFileCanHold)
{
    QLineEdit *nb = window->Ui().Nombilet;
    QTest::keyClicks(nb, QStringLiteral("A-1"));
    for (QChar ch : QStringLiteral("Жё№中€"))
        QTest::sendKeyEvent(QTest::Click, nb, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    EXPECT_EQ(nb->text(), QStringLiteral("A-1Жё№€"));
}

TEST_F(Zagruzka, ATicketIsKeyedInFromTheKeyboardAlone)
{
    QLineEdit *nb = window->Ui().Nombilet;
    ASSERT_EQ(QApplication::focusWidget(), nb);
    QTest::keyClicks(nb, QStringLiteral("0042"));
    QTest::keyClick(nb, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
    VvodRows(kRows);
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window->Ui().kBiletGotov);
    QTest::keyClick(window->Ui().kBiletGotov, Qt::Key_Return);

    ASSERT_EQ(state.store.BiletCount(), 1);
    const BILETCls &b = state.store.Bilet(0);
    EXPECT_EQ(b.Nomer, QStringLiteral("0042"));
    for (int k = 0; k < 30; ++k)
        EXPECT_EQ(b.NomeraList(k), kRows[k / 5][k % 5]) << k;
    // Ready for the next ticket.
    EXPECT_EQ(state.store.CurBilet(), 1);
    EXPECT_EQ(QApplication::focusWidget(), nb);
    EXPECT_EQ(nb->text(), QStringLiteral("0043")); // the next number, selected
    EXPECT_EQ(nb->selectedText(), QStringLiteral("0043"));
    EXPECT_EQ(CardCell(0, 3), kUsed);
    EXPECT_EQ(PoleCell(5), ButtonFace());
}

TEST_F(Zagruzka, ATicketChosenInTheListIsEditedInPlace)
{
    StoreKeyed(QStringLiteral("first"));
    StoreKeyed(QStringLiteral("second"));
    ASSERT_EQ(state.store.BiletCount(), 2);

    QWidget *rows = window->Ui().ListBilet1->Picture();
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(20, 15 + 7));
    ASSERT_EQ(window->Ui().ListBilet1->ListIndex(), 1);
    QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_EQ(state.store.CurBilet(), 1);
    EXPECT_EQ(window->Ui().Nombilet->text(), QStringLiteral("second"));
    EXPECT_EQ(window->entry.CurStroka(), 6);
    EXPECT_TRUE(window->Ui().kBiletGotov->isEnabled());
    EXPECT_EQ(state.NomerColor[90], Kletka::OnCard);
    EXPECT_EQ(PoleCell(90), kUsed);

    Vvod(90); // off row 3, then 80 in its place
    Vvod(80);
    window->Ui().Nombilet->setText(QStringLiteral("second!"));
    window->Ui().kBiletGotov->click();
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(state.store.Bilet(1).Nomer, QStringLiteral("second!"));
    EXPECT_EQ(window->Ui().ListBilet1->Row(1).text, QStringLiteral("second!"));
    EXPECT_EQ(state.store.Bilet(1).NomeraList(19), 80);
    EXPECT_EQ(state.store.Bilet(1).NomeraList(18), 71);
    EXPECT_EQ(state.store.Bilet(0).Nomer, QStringLiteral("first"));
    EXPECT_EQ(state.store.Bilet(0).NomeraList(19), 90);
    EXPECT_EQ(state.store.CurBilet(), 2);
}

TEST_F(Zagruzka, AddingTicketsKeepsTheSetAndAsksWhenAGameHasNumbers)
{
    StoreKeyed(QStringLiteral("a"));
    StoreKeyed(QStringLiteral("b"));
    // Ticket entry counts as a game under way: leaving it asks, and No changes nothing.
    messenger.Script({MsgAnswer::No});
    window->RegimAddBliet_Click();
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Перейти в новый режим?"));
    EXPECT_EQ(state.store.CurBilet(), 2);

    messenger.Script({MsgAnswer::Yes});
    window->RegimAddBliet_Click();
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(state.store.CurBilet(), 2);
    StoreKeyed(QStringLiteral("c"));
    EXPECT_EQ(state.store.BiletCount(), 3);
    EXPECT_EQ(state.store.Bilet(2).Nomer, QStringLiteral("c"));
    EXPECT_EQ(state.store.Bilet(0).Nomer, QStringLiteral("a"));

    // A new set lets the old tickets go.
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("5"));
    EXPECT_EQ(state.store.BiletCount(), 0);
    EXPECT_EQ(state.store.Bilety().size(), 1u);
}

TEST_F(Zagruzka, QuickClicksOnTheBoardEachCount)
{
    // The second press of a quick pair arrives as a double click.
    Surface *pole = window->Ui().PolePic;
    for (const auto &[first, second] : {std::pair{12, 12}, std::pair{12, 22}}) {
        QTest::mouseClick(pole, Qt::LeftButton, {}, PoleCenter(first));
        const QPointF at = PoleCenter(second);
        QMouseEvent dblClick(QEvent::MouseButtonDblClick, at, pole->mapToGlobal(at), Qt::LeftButton,
                             Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pole, &dblClick);
        QTest::mouseRelease(pole, Qt::LeftButton, {}, PoleCenter(second));
        EXPECT_EQ(state.NomerColor[12], first == second ? Kletka::Free : Kletka::OnCard)
            << first << "," << second;
        EXPECT_EQ(state.NomerColor[22], first == second ? Kletka::Free : Kletka::OnCard)
            << first << "," << second;
        window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    }
}

TEST_F(Zagruzka, TheFramesLeaveNothingBehindAndAreLitLighterThanTheFace)
{
    Surface *pole = window->Ui().PolePic;
    const int X = 35, Y = 34; // number 12
    QTest::mousePress(pole, Qt::LeftButton, {}, PoleCenter(12));
    QTest::mouseMove(pole, PoleCenter(13));
    QTest::mouseRelease(pole, Qt::LeftButton, {}, PoleCenter(13));
    QTest::mouseMove(pole, PoleCenter(45));
    EXPECT_EQ(pole->Pixel(X + 35, Y + 33), QColor(Qt::black));
    const QImage clean = (window->ClearPole(), pole->Image());
    QTest::mouseMove(pole, PoleCenter(12));
    QTest::mousePress(pole, Qt::LeftButton, {}, PoleCenter(12));
    QTest::mouseMove(pole, PoleCenter(13));
    EXPECT_GT(pole->Pixel(X + 1, Y + 1).lightness(), ButtonFace().lightness());
    QTest::mouseRelease(pole, Qt::LeftButton, {}, PoleCenter(44));
    QTest::mouseMove(pole, QPoint(400, 400));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(pole, &leave);
    EXPECT_EQ(pole->Image(), clean);
}

TEST_F(Zagruzka, ANumberTakenOffWhileTheReadyButtonHasTheKeyboardGoesOnTheCard)
{
    window->Ui().Nombilet->setText(QStringLiteral("017"));
    VvodRows(kRows);
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window->Ui().kBiletGotov);
    // A click on the card takes 5 off; the keyboard goes to the entry box.
    QTest::mouseClick(window->Ui().BiletPic, Qt::LeftButton, {}, QPoint(16, 15));
    ASSERT_EQ(state.NomerColor[5], Kletka::Free);
    EXPECT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(window->Ui().Nombilet->text(), QStringLiteral("017"));
    EXPECT_EQ(state.NomerColor[4], Kletka::OnCard);
}

TEST_F(Zagruzka, CtrlZTakesBackTheLastChangeToTheCard)
{
    VvodRows(kRows, 1);
    Vvod(6);
    Vvod(15); // a number of row 0 typed again: taken off
    EXPECT_EQ(window->Ui().usrReklamaX1->Text().section('\n', 1),
              QStringLiteral("Внимание: 15 снят со строки 1, Ctrl+Z вернёт его"));
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state.NomerColor[15], Kletka::OnCard);
    EXPECT_EQ(window->entry.Kletka(0, 1), 15);
    EXPECT_EQ(window->entry.CurStroka(), 1);
    EXPECT_EQ(CardCell(1, 1), kUsed); // row 1 is being filled again
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state.NomerColor[6], Kletka::Free);
    EXPECT_EQ(PoleCell(6), ButtonFace());
    EXPECT_EQ(window->entry.StrokaCount(1), 0);
}

TEST_F(Zagruzka, AFollowingTicketIsKeyedInSeventyKeysOrFewer)
{
    StoreKeyed(QStringLiteral("017"));
    int keys = 0;
    const auto key = [&](Qt::Key k, const QString &text = {}) {
        ++keys;
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), k, text, Qt::NoModifier);
    };
    key(Qt::Key_Return); // the offered 018
    for (const auto &row : kRows2)
        for (int n : row) {
            for (QChar d : QString::number(n))
                key(Qt::Key(Qt::Key_0 + d.digitValue()), QString(d));
            if (n < 10)
                key(Qt::Key_Space, QStringLiteral(" "));
        }
    while (state.store.BiletCount() < 2 && keys < 80)
        key(Qt::Key_Return);
    EXPECT_LE(keys, 70);
    ASSERT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(state.store.Bilet(1).Nomer, QStringLiteral("018"));
    for (int k = 0; k < 30; ++k)
        EXPECT_EQ(state.store.Bilet(1).NomeraList(k), kRows2[k / 5][k % 5]) << k;
}

TEST_F(Zagruzka, PastedNumbersGoOntoTheCardUntilOneIsNotANumber)
{
    QApplication::clipboard()->setText(QStringLiteral("5 15, 25\t35 45 6 16 x7 26"));
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_V, Qt::ControlModifier);
    for (int n : {5, 15, 25, 35, 45, 6, 16})
        EXPECT_EQ(state.NomerColor[n], Kletka::OnCard) << n;
    EXPECT_EQ(state.NomerColor[26], Kletka::Free);
    EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("«x7»")));
}

TEST_F(Zagruzka, TicketsOfTheSetCanBeRemovedAndEditsAbandoned)
{
    for (const char *nomer : {"1", "2", "3", "1"})
        StoreKeyed(QString::fromLatin1(nomer));
    // The fourth repeats the first: said, and kept.
    EXPECT_TRUE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("уже есть")));
    ASSERT_EQ(state.store.BiletCount(), 4);

    QWidget *list = window->Ui().ListBilet1->Picture();
    window->Ui().ListBilet1->SetListIndex(1);
    QTest::keyClick(list, Qt::Key_Delete); // answered No
    ASSERT_EQ(messenger.shown.back().text, QStringLiteral("Удалить билет номер 2?"));
    EXPECT_EQ(messenger.shown.back().defaultButton, MsgAnswer::No);
    EXPECT_EQ(state.store.BiletCount(), 4);
    messenger.Script({MsgAnswer::Yes});
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(state.store.BiletCount(), 3);
    EXPECT_EQ(state.store.Bilet(1).Nomer, QStringLiteral("3"));
    EXPECT_EQ(window->Ui().ListBilet1->Row(1).text, QStringLiteral("3"));

    // Esc leaves a loaded ticket as it was.
    window->Ui().ListBilet1->SetListIndex(0);
    QTest::keyClick(list, Qt::Key_Return);
    Vvod(5); // off the card
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Escape);
    EXPECT_EQ(state.store.CurBilet(), 3);
    EXPECT_EQ(state.store.Bilet(0).NomeraList(0), 5);
    EXPECT_EQ(state.NomerColor[5], Kletka::Free);
}

TEST_F(Zagruzka, TheListFollowsNewTicketsAndTheWheelScrollsIt)
{
    ListBilet *list = window->Ui().ListBilet1;
    for (int t = 0; t < 14; ++t)
        StoreKeyed(QString::number(t));
    EXPECT_EQ(list->ScrollValue(), 14 - ListBilet::kPageRows);
    EXPECT_EQ(list->ListIndex(), 0);
    QWheelEvent up(QPointF(20, 20), list->Picture()->mapToGlobal(QPointF(20, 20)), {}, QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->Picture(), &up);
    EXPECT_EQ(list->ScrollValue(), 14 - ListBilet::kPageRows - 3);
    EXPECT_EQ(list->ListIndex(), 0);
}

namespace
{
// Numbers typed the quick way: a one-digit number is ended by a Space (or by
// last, the final one's ending), a two-digit one by its second digit.
QString Quick(const std::vector<int> &numbers, const QString &last = QStringLiteral(" "))
{
    QString keys;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        keys += QString::number(numbers[i]);
        if (numbers[i] < 10)
            keys += i + 1 == numbers.size() ? last : QStringLiteral(" ");
    }
    return keys;
}
std::vector<int> Flat(const Rows &rows)
{
    std::vector<int> numbers;
    for (const auto &row : rows)
        numbers.insert(numbers.end(), row.begin(), row.end());
    return numbers;
}
} // namespace

TEST_F(Zagruzka, TwoTicketsTypedAsOneStreamAreSavedAsTyped)
{
    // The first ticket's last row typed with its one-digit number last.
    std::vector<int> endsOnOneDigit = Flat(kRows);
    std::rotate(endsOnOneDigit.end() - 5, endsOnOneDigit.end() - 4, endsOnOneDigit.end());
    ASSERT_EQ(endsOnOneDigit.back(), 3);
    const struct {
        const char *name;
        QString keys;
        QString second;
    } cases[] = {
        {"two digits, Enter, Enter; Enter takes 018",
         "017\n" + Quick(Flat(kRows)) + "\n\n" + "\n" + Quick(Flat(kRows2)) + "\n\n", "018"},
        {"another number typed over the offered one",
         "017\n" + Quick(Flat(kRows)) + "\n\n" + "0205\n" + Quick(Flat(kRows2)) + "\n\n", "0205"},
        {"one digit, Space, Enter, Enter",
         "017\n" + Quick(endsOnOneDigit) + "\n\n" + "\n" + Quick(Flat(kRows2)) + "\n\n", "018"},
        {"one digit, Enter, Enter, Enter",
         "017\n" + Quick(endsOnOneDigit, "\n") + "\n\n" + "\n" + Quick(Flat(kRows2)) + "\n\n", "018"},
    };
    int saved = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("%1.rlb").arg(++saved);
        window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), window->Ui().Nombilet);
        Typist typist;
        typist.Type(c.keys);
        ASSERT_TRUE(QTest::qWaitFor([&] { return typist.Done(); }, 5000));
        window->SaveBlt(name);
        EXPECT_EQ(ReadBytes(Path(name)),
                  BiletFile::Encode(
                      QStringLiteral("Тираж1234"),
                      {BiletFromRows(kRows, QStringLiteral("017")), BiletFromRows(kRows2, c.second)}, 2));
        // The next ticket is ready for its number.
        EXPECT_EQ(QApplication::focusWidget(), window->Ui().Nombilet);
    }
}

TEST_F(Zagruzka, ATicketNumberTheSetHoldsIsSaidAtOnceAndNotOfferedAgain)
{
    StoreKeyed(QStringLiteral("017"));
    StoreKeyed(QStringLiteral("018"), kRows2);
    QLineEdit *nb = window->Ui().Nombilet;
    EXPECT_EQ(nb->text(), QStringLiteral("019"));
    nb->setText(QStringLiteral("017"));
    QTest::keyClick(nb, Qt::Key_Return);
    EXPECT_EQ(window->Ui().usrReklamaX1->Text().section('\n', 1, 1),
              QStringLiteral("Номер 017 уже есть в наборе: билет 1 в списке"));
    EXPECT_EQ(window->entry.History().size(), 0u); // before any number of the card
    VvodRows(kRows);
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    QTest::keyClick(window->Ui().kBiletGotov, Qt::Key_Return);
    ASSERT_EQ(state.store.BiletCount(), 3);       // kept all the same
    EXPECT_EQ(nb->text(), QStringLiteral("019")); // after 017 the first number not held
    // A number the set does not hold says nothing.
    nb->setText(QStringLiteral("020"));
    QTest::keyClick(nb, Qt::Key_Return);
    EXPECT_FALSE(window->Ui().usrReklamaX1->Text().contains(QStringLiteral("уже есть")));
}

TEST_F(Zagruzka, BackspaceAfterANumberTakesItOffTheCardAndTheStrip)
{
    QTest::keyClicks(window->Ui().VVOD1, QStringLiteral("2439"));
    ASSERT_EQ(window->entry.Kletka(0, 3), 39);
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Backspace);
    EXPECT_EQ(window->entry.Kletka(0, 3), 0);
    EXPECT_EQ(window->Ui().VVOD1->text(), QStringLiteral("3"));
    EXPECT_EQ(window->Ui().usrReklamaX1->Text().section('\n', 1), QStringLiteral("Отменено: 39 снова снят"));
}

TEST_F(Zagruzka, CtrlZAfterANumberDisplacedAnotherPutsTheCardBackExactly)
{
    for (int n : {5, 15, 25, 35, 45, 6, 16}) // row 0, and two of row 1
        Vvod(n);
    const QImage card = window->Ui().BiletPic->Image();
    const QImage pole = window->Ui().PolePic->Image();
    const std::vector<BiletEntry::Change> history = window->entry.History();
    Vvod(19); // takes the place of 16 in row 1
    ASSERT_EQ(window->entry.Kletka(1, 1), 19);
    ASSERT_EQ(state.NomerColor[16], Kletka::Free);
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->entry.Kletka(1, 1), 16);
    EXPECT_EQ(state.NomerColor[16], Kletka::OnCard);
    EXPECT_EQ(state.NomerColor[19], Kletka::Free);
    EXPECT_EQ(window->entry.StrokaCount(1), 2);
    EXPECT_EQ(window->entry.CurStroka(), 1);
    EXPECT_EQ(window->entry.History(), history);
    EXPECT_TRUE(window->Ui().BiletPic->Image() == card);
    EXPECT_TRUE(window->Ui().PolePic->Image() == pole);
}

TEST_F(Zagruzka, DeletingATicketAboveTheOneBeingEditedKeepsEditingThatTicket)
{
    StoreKeyed(QStringLiteral("1"), kRows);
    StoreKeyed(QStringLiteral("2"), kRows2);
    StoreKeyed(QStringLiteral("3"), kRows);
    StoreKeyed(QStringLiteral("4"), kRows2);
    QWidget *list = window->Ui().ListBilet1->Picture();
    window->Ui().ListBilet1->SetListIndex(2);
    QTest::keyClick(list, Qt::Key_Return); // "3" on the card
    const QImage card = window->Ui().BiletPic->Image();
    window->Ui().ListBilet1->SetListIndex(0);
    messenger.Script({MsgAnswer::Yes});
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(state.store.BiletCount(), 3);
    // Still "3", one place up: the card, the ticket in hand, and the list's row.
    EXPECT_EQ(window->Ui().Nombilet->text(), QStringLiteral("3"));
    EXPECT_EQ(state.store.CurBilet(), 1);
    EXPECT_EQ(window->Ui().ListBilet1->Row(1).text, QStringLiteral("3"));
    EXPECT_EQ(window->Ui().ListBilet1->ListIndex(), 0);
    EXPECT_TRUE(window->Ui().BiletPic->Image() == card);
    // An edit now goes to "3", and to no other ticket.
    Vvod(5);
    Vvod(4);
    QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    QTest::keyClick(window->Ui().kBiletGotov, Qt::Key_Return);
    ASSERT_EQ(state.store.BiletCount(), 3);
    EXPECT_EQ(state.store.Bilet(1).Nomer, QStringLiteral("3"));
    EXPECT_EQ(state.store.Bilet(1).NomeraList(0), 4);
    for (qint32 t : {0, 2}) {
        EXPECT_EQ(state.store.Bilet(t).NomeraList(0), kRows2[0][0]) << t;
        EXPECT_EQ(state.store.Bilet(t).Nomer, QString::number(t + 2)) << t;
    }
}
