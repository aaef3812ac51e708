// Tickets from photos in the window: reading off the window's thread, the
// draw asked for a new set, the tickets on the card one after another with
// their doubts marked, corrected and stored as typed ones, and bad pictures.
#include "TicketArt.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "dialogs/Zapros.h"
#include "io/DeskSettings.h"
#include "support/PhotoPictures.h"

#include "core/LotoRules.h"

#include <QAction>
#include <QProgressDialog>
#include <QRadioButton>
#include <QTimer>
#include <set>

namespace
{

using namespace TestSupport;
using TicketArt::Level;

const QColor kWhite(Qt::white);
const QColor kGold = VbColor::ToQColor(frmForma::kDoubtColor);

class Photos : public WindowFixture
{
protected:
    // Inside a card cell, clear of its text.
    QColor CardCell(int r, int c) const
    {
        return window->Ui().BiletPic->Pixel(32 * c + 3, 31 * r + (r >= 3 ? 11 : 0) + 28);
    }
    QPoint CardCenter(int r, int c) const { return QPoint(32 * c + 16, 31 * r + (r >= 3 ? 11 : 0) + 15); }
    QString Strip() const { return window->Ui().usrReklamaX1->Text(); }
    QColor NomerBox() const { return window->Ui().Nombilet->palette().color(QPalette::Base); }

    // A picture drawn by the generator, saved in the work folder.
    QString Picture(const QString &name, quint32 seed, Level level, const char *family, int tickets,
                    TicketArt::Shot *shot = nullptr)
    {
        TicketArt::ShotOptions options;
        options.level = level;
        options.family = QString::fromLatin1(family);
        options.tickets = tickets;
        TicketArt::Shot made = TicketArt::MakeShot(seed, options);
        const QString path = Path(name);
        EXPECT_TRUE(made.image.save(path));
        if (shot)
            *shot = std::move(made);
        return path;
    }

    // Answers the next "Запрос" with the lottery and the number it offers, keeping that number.
    void AnswerZapros(bool rusLoto, bool accept)
    {
        auto *timer = new QTimer(window.get());
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, rusLoto, accept] {
            auto *d = qobject_cast<Zapros *>(QApplication::activeModalWidget());
            if (!d)
                return;
            timer->deleteLater();
            timer->stop();
            offered = d->TxtTIRAG->text();
            ++zaprosAsked;
            d->Option1[rusLoto ? 0 : 1]->setChecked(true);
            if (accept && offered.isEmpty())
                d->TxtTIRAG->setText(QStringLiteral("77"));
            accept ? d->OK->click() : d->kNO->click();
        });
        timer->start();
    }

    // A sanitizer build on a busy machine reads a sheet of four many times
    // slower than a user's program does: the wait is generous.
    void WaitForReading()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->PhotoReading(); }, 180000));
        QApplication::processEvents();
    }

    // The card holds what the reader read.
    void ExpectCard(const Scan::ScannedBilet &read)
    {
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 9; ++c)
                EXPECT_EQ(window->entry.Kletka(r, c), read.cells[std::size_t(r)][std::size_t(c)])
                    << r << "," << c;
    }

    void Key(QWidget *w, Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(w, key, mods); }

    QString offered;
    int zaprosAsked = 0;
};

TEST_F(Photos, WithNoSetTheDrawIsAskedFromThePhotoThenEachTicketComesOntoTheCard)
{
    TicketArt::Shot single, sheet;
    const QString a = Picture(QStringLiteral("один.png"), 11, Level::Scan, "PT Sans", 1, &single);
    // What the reader makes of them, to compare the card with: a sheet whose
    // tickets it reads whole (every row five numbers), so each goes straight on.
    const auto whole = [](const Scan::ScannedBilet &bilet) {
        std::set<int> seen;
        for (const auto &row : bilet.cells) {
            int filled = 0;
            for (int c = 0; c < 9; ++c) {
                const int n = row[std::size_t(c)];
                if (n == 0)
                    continue;
                if (n > 90 || Loto::ColumnOfNomer(n) != c || !seen.insert(n).second)
                    return false;
                ++filled;
            }
            if (filled != 5)
                return false;
        }
        return true;
    };
    QString b;
    std::vector<Scan::ScannedBilet> reads;
    for (quint32 seed = 14; seed < 40 && reads.size() != 4u; ++seed) {
        b = Picture(QStringLiteral("лист.jpg"), seed, Level::Sheet, "DejaVu Sans", 3, &sheet);
        reads.clear();
        for (const QString &path : {a, b})
            for (const Scan::ScannedBilet &bilet : ReadPhoto(path).bilety)
                if (whole(bilet))
                    reads.push_back(bilet);
    }
    ASSERT_EQ(reads.size(), 4u);

    // The window goes on drawing while the pictures are read.
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(10);
    AnswerZapros(false, true);
    window->ImportPhotos({a, b});
    EXPECT_TRUE(window->PhotoReading());
    WaitForReading();
    clock.stop();
    EXPECT_GE(ticks, 20);

    ASSERT_EQ(zaprosAsked, 1);
    EXPECT_EQ(offered, single.tickets[0].tirag) << "the draw number is offered as printed";
    EXPECT_EQ(state.RegimState, Rezhim::Zagruzka);
    EXPECT_EQ(state.kind, &Loto::ZolotoyKlyuch());
    EXPECT_EQ(state.TiragTitle, QStringLiteral("Тираж") + offered);
    ASSERT_NE(window->Photo(), nullptr);
    for (std::size_t i = 0; i < reads.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(window->Photos().Active());
        EXPECT_EQ(window->Photos().Position(), int(i));
        EXPECT_TRUE(window->Photo()->isVisible());
        EXPECT_TRUE(window->Photo()->Caption().contains(QStringLiteral("из 4")));
        ExpectCard(reads[i]);
        EXPECT_EQ(window->Ui().Nombilet->text(), reads[i].nomer);
        EXPECT_TRUE(Strip().contains(QStringLiteral("Со снимков: билет %1 из 4").arg(i + 1)));
        ASSERT_TRUE(window->Ui().kBiletGotov->isEnabled());
        window->Ui().kBiletGotov->click();
    }
    EXPECT_FALSE(window->Photos().Active());
    EXPECT_FALSE(window->Photo()->isVisible());
    EXPECT_TRUE(Strip().contains(QStringLiteral("Все билеты со снимков пройдены")));
    ASSERT_EQ(state.store.BiletCount(), 4);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(state.store.Bilet(t).Nomer, reads[std::size_t(t)].nomer);
    EXPECT_TRUE(state.store.Unsaved());
    // The picked pictures' tickets are the printed ones, wherever the reader was sure.
    const auto &truth = single.tickets[0];
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 9; ++c) {
            const bool doubted = std::find(reads[0].doubtful.begin(), reads[0].doubtful.end(),
                                           Scan::Cell{r, c}) != reads[0].doubtful.end();
            EXPECT_TRUE(doubted || reads[0].cells[std::size_t(r)][std::size_t(c)] ==
                                       truth.cells[std::size_t(r)][std::size_t(c)]);
        }
}

TEST_F(Photos, DoubtfulCellsAndNumberAreMarkedUntilCorrectedAndTheTicketIsStoredAsATypedOne)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    window->PhotosRead({Photo({Scanned(kRows, QStringLiteral("000017"), {{0, 1}, {4, 8}}, true),
                               Scanned(kRows2, QStringLiteral("000018"))})});
    EXPECT_EQ(zaprosAsked, 0) << "a set in hand gets the tickets";
    EXPECT_EQ(CardCell(0, 1), kGold);
    EXPECT_EQ(CardCell(4, 8), kGold);
    EXPECT_EQ(CardCell(0, 0), kWhite);
    EXPECT_EQ(CardCell(4, 7), kWhite);
    EXPECT_EQ(NomerBox(), kGold);
    EXPECT_EQ(QApplication::focusWidget(), window->Ui().Nombilet) << "the doubted number is looked at first";
    EXPECT_TRUE(Strip().contains(QStringLiteral("Сверьте со снимком: клеток 2, номер билета")));

    // 15 was misread: a click takes it off, the right number goes in its place.
    QTest::mouseClick(window->Ui().BiletPic, Qt::LeftButton, {}, CardCenter(0, 1));
    Vvod(11);
    EXPECT_EQ(window->entry.Kletka(0, 1), 11);
    EXPECT_EQ(CardCell(0, 1), kWhite);
    EXPECT_TRUE(Strip().contains(QStringLiteral("клеток 1,")));
    // Ctrl+Z walks it back: 15 is doubted again.
    Key(window->Ui().VVOD1, Qt::Key_Z, Qt::ControlModifier);
    Key(window->Ui().VVOD1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->entry.Kletka(0, 1), 15);
    EXPECT_EQ(CardCell(0, 1), kGold);
    EXPECT_TRUE(Strip().contains(QStringLiteral("клеток 2,")));
    QTest::mouseClick(window->Ui().BiletPic, Qt::LeftButton, {}, CardCenter(0, 1));
    Vvod(11);

    // The number is typed over; the ticket is stored from the keyboard.
    window->Ui().Nombilet->selectAll();
    QTest::keyClicks(window->Ui().Nombilet, QStringLiteral("000019"));
    EXPECT_NE(NomerBox(), kGold);
    EXPECT_FALSE(Strip().contains(QStringLiteral("номер билета")));
    Key(window->Ui().Nombilet, Qt::Key_Return);
    Key(window->Ui().VVOD1, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window->Ui().kBiletGotov);
    Key(window->Ui().kBiletGotov, Qt::Key_Return);
    ASSERT_EQ(state.store.BiletCount(), 1);
    Rows corrected = kRows;
    corrected[0][1] = 11;
    const BILETCls expected = MakeBilet(corrected, QStringLiteral("000019"));
    EXPECT_EQ(state.store.Bilet(0).Nomer, expected.Nomer);
    for (int k = 0; k < 30; ++k)
        EXPECT_EQ(state.store.Bilet(0).NomeraList(k), expected.NomeraList(k)) << k;
    EXPECT_TRUE(state.store.Unsaved());
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("Жребикон.jnl")))) << "kept in the journal as typed";

    // The next ticket, read surely, is stored with Enter, Enter.
    EXPECT_EQ(window->Ui().Nombilet->text(), QStringLiteral("000018"));
    EXPECT_NE(NomerBox(), kGold);
    EXPECT_EQ(CardCell(0, 1), kWhite);
    EXPECT_EQ(QApplication::focusWidget(), window->Ui().VVOD1);
    EXPECT_TRUE(Strip().contains(QStringLiteral("прочитан уверенно")));
    Key(window->Ui().VVOD1, Qt::Key_Return);
    Key(window->Ui().kBiletGotov, Qt::Key_Return);
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_FALSE(window->Photos().Active());
}

TEST_F(Photos, ARowBrokenByTheReadWaitsForTheUserAndTheRowsBelowFollowIt)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    StoreKeyed(QStringLiteral("000017"), kRows2);
    // 1 of row 4 read as 5, which row 1 has.
    Rows misread = kRows;
    misread[3][0] = 5;
    window->PhotosRead({Photo({Scanned(misread, QStringLiteral("000017"), {{3, 0}})})});
    EXPECT_EQ(window->entry.CurStroka(), 3);
    EXPECT_EQ(window->entry.Kletka(4, 1), 0);
    EXPECT_TRUE(Strip().contains(QStringLiteral("строку 4 дописать")));
    EXPECT_TRUE(Strip().contains(QStringLiteral("уже есть в наборе")));
    // The missing number, typed quickly: the rows read below come on with it.
    QTest::keyClicks(window->Ui().VVOD1, QStringLiteral("1 "));
    ASSERT_TRUE(window->entry.Complete());
    EXPECT_EQ(window->entry.Kletka(5, 8), 83);
    EXPECT_FALSE(Strip().contains(QStringLiteral("дописать")));
    // Ctrl+Z takes the number back with the rows it brought; typed again, they come again.
    Key(window->Ui().VVOD1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->entry.CurStroka(), 3);
    EXPECT_EQ(window->entry.Kletka(3, 0), 0);
    EXPECT_EQ(window->entry.Kletka(4, 1), 0);
    EXPECT_EQ(state.NomerColor[83], Kletka::Free);
    Vvod(1);
    ASSERT_TRUE(window->entry.Complete());
    window->Ui().kBiletGotov->click();
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(state.store.Bilet(1).NomeraList(15), 1);
}

TEST_F(Photos, F9SkipsATicketAndShiftF9EndsTheImportKeepingTheCard)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    window->PhotosRead(
        {Photo({Scanned(kRows, "1", {{0, 0}}), Scanned(kRows2, "2", {{0, 0}}), Scanned(kRows, "3")})});
    Key(window->Ui().VVOD1, Qt::Key_F9);
    EXPECT_EQ(window->Photos().Position(), 1);
    EXPECT_EQ(window->Ui().Nombilet->text(), QStringLiteral("2"));
    EXPECT_EQ(CardCell(0, 0), kGold);
    Key(window->Ui().VVOD1, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_FALSE(window->Photos().Active());
    EXPECT_FALSE(window->Photo()->isVisible());
    EXPECT_EQ(CardCell(0, 0), kWhite) << "no marks once the import is over";
    EXPECT_EQ(window->entry.Kletka(0, 0), 4);
    EXPECT_TRUE(Strip().contains(QStringLiteral("Ввод со снимков закончен")));
    window->Ui().kBiletGotov->click();
    EXPECT_EQ(state.store.BiletCount(), 1) << "the card is kept as a typed one";
}

TEST_F(Photos, AHalfTypedCardIsReplacedOnlyWhenTheUserSaysSo)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    Vvod(5);
    Vvod(15);
    messenger.Script({MsgAnswer::No});
    window->PhotosRead({Photo({Scanned(kRows2, "2")})});
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_TRUE(messenger.shown.back().text.contains(QStringLiteral("не дописан")));
    EXPECT_FALSE(window->Photos().Active());
    EXPECT_EQ(window->entry.Kletka(0, 1), 15);
    messenger.Script({MsgAnswer::Yes});
    window->PhotosRead({Photo({Scanned(kRows2, "2")})});
    EXPECT_TRUE(window->Photos().Active());
    EXPECT_EQ(window->entry.Kletka(0, 1), 14);
}

TEST_F(Photos, AnOpenedSetTakesTheTicketsInTicketEntry)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    StoreKeyed(QStringLiteral("1"), kRows2);
    window->SaveBlt(QStringLiteral("Тираж1234.rlb"));
    window->OpenBlt(QStringLiteral("Тираж1234.rlb"));
    ASSERT_EQ(state.RegimState, Rezhim::None);
    window->PhotosRead({Photo({Scanned(kRows, "2", {}, false, QStringLiteral("1500"))})});
    EXPECT_EQ(zaprosAsked, 0);
    EXPECT_EQ(state.RegimState, Rezhim::Zagruzka);
    EXPECT_EQ(state.TiragTitle, QStringLiteral("Тираж1234"));
    EXPECT_TRUE(Strip().contains(QStringLiteral("на снимке тираж 1500, у набора 1234")));
    window->Ui().kBiletGotov->click();
    EXPECT_EQ(state.store.BiletCount(), 2);
    EXPECT_EQ(state.store.File(), QStringLiteral("Тираж1234.rlb"));
}

TEST_F(Photos, ATicketOfAnotherDrawIsToldAsItComes)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    window->PhotosRead({Photo({Scanned(kRows, "1"), Scanned(kRows2, "2", {}, false, QStringLiteral("1500")),
                               Scanned(kRows, "3", {}, false, QString())})});
    EXPECT_FALSE(Strip().contains(QStringLiteral("на снимке тираж")));
    window->Ui().kBiletGotov->click();
    EXPECT_TRUE(Strip().contains(QStringLiteral("на снимке тираж 1500, у набора 1234")));
    window->Ui().kBiletGotov->click();
    EXPECT_FALSE(Strip().contains(QStringLiteral("на снимке тираж"))) << "no draw read on the third";
}

TEST_F(Photos, BadFilesAreSaidAndChangeNothing)
{
    QTemporaryDir pictures;
    AnswerZapros(true, true);
    window->ImportPhotos(BadPictures(pictures));
    WaitForReading();
    ASSERT_EQ(messenger.shown.size(), 1u);
    const QString text = messenger.shown[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Снимки не прочитаны.")));
    for (const char *name : {"пусто.jpg", "заметки.png", "огромный.png", "обрезан.png"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << name;
    EXPECT_EQ(zaprosAsked, 0);
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_EQ(window->Photo(), nullptr);

    // A picture of something else gives no ticket; giving up there changes nothing either.
    const QString decoy = Path(QStringLiteral("страница.png"));
    ASSERT_TRUE(TicketArt::MakeDecoy(3).save(decoy));
    window->ImportPhotos({decoy});
    WaitForReading();
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_TRUE(messenger.shown[1].text.contains(QStringLiteral("не найдено ни одного билета")));
    EXPECT_EQ(zaprosAsked, 0);
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_EQ(window->Photo(), nullptr);
}

TEST_F(Photos, CancellingTheReadingLeavesEverythingAsItWas)
{
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << Picture(QStringLiteral("лист%1.jpg").arg(i), 30 + i, Level::Sheet, "DejaVu Sans", 4);
    AnswerZapros(true, true);
    window->ImportPhotos(paths);
    auto *progress = window->findChild<QProgressDialog *>(QStringLiteral("PhotoProgress"));
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    auto *cancel = progress->findChild<QPushButton *>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));
    cancel->click();
    EXPECT_FALSE(window->PhotoReading());
    QTest::qWait(1500);
    EXPECT_EQ(zaprosAsked, 0);
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_FALSE(window->Photos().Active());
    // And a new import can start at once.
    window->ImportPhotos({paths[0]});
    WaitForReading();
    EXPECT_EQ(zaprosAsked, 1);
    EXPECT_TRUE(window->Photos().Active());
}

TEST_F(Photos, CornersClickedOnAPictureWithoutATicketFoundAreReadAgain)
{
    TicketArt::ShotOptions options;
    options.level = Level::Scan;
    options.family = QStringLiteral("PT Sans");
    const TicketArt::Shot shot = TicketArt::MakeShot(12, options);
    PhotoImage missed;
    missed.path = QStringLiteral("пропущен.png");
    missed.image = shot.image;
    missed.preview = shot.image.scaledToWidth(shot.image.width() / 2);
    missed.scale = double(missed.preview.width()) / shot.image.width();
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    messenger.Script({MsgAnswer::Yes});
    window->PhotosRead({missed});
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_TRUE(messenger.shown[0].text.contains(QStringLiteral("Указать четыре угла")));
    ASSERT_TRUE(window->Photos().Active());
    EXPECT_EQ(window->Photos().CurrentBilet(), nullptr);
    EXPECT_TRUE(Strip().contains(QStringLiteral("щёлкните его углы")));
    PhotoPanel *panel = window->Photo();
    ASSERT_TRUE(panel->isVisible());
    const auto click = [&](QPointF imagePoint) {
        QTest::mouseClick(panel->PictureArea(), Qt::LeftButton, {}, panel->ViewPoint(imagePoint).toPoint());
    };

    // Four corners on plain paper find nothing: said, and the corners start afresh.
    for (QPointF p : {QPointF(2, 2), QPointF(30, 2), QPointF(30, 20), QPointF(2, 20)})
        click(p);
    WaitForReading();
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_TRUE(messenger.shown[1].text.contains(QStringLiteral("прочитать не удалось")));
    EXPECT_EQ(panel->CornersClicked(), 0);
    EXPECT_EQ(window->Photos().CurrentBilet(), nullptr);

    // A wrong click is taken back with the right button.
    click(QPointF(5, 5));
    QTest::mouseClick(panel->PictureArea(), Qt::RightButton, {}, panel->ViewPoint(QPointF(5, 5)).toPoint());
    EXPECT_EQ(panel->CornersClicked(), 0);
    // The grid's corners, in any order.
    const auto &corners = shot.tickets[0].corners;
    for (int k : {2, 0, 1, 3})
        click(corners[std::size_t(k)]);
    WaitForReading();
    const Scan::ScannedBilet *found = window->Photos().CurrentBilet();
    ASSERT_NE(found, nullptr);
    ExpectCard(*found);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 9; ++c) {
            const bool doubted = std::find(found->doubtful.begin(), found->doubtful.end(),
                                           Scan::Cell{r, c}) != found->doubtful.end();
            EXPECT_TRUE(doubted || found->cells[std::size_t(r)][std::size_t(c)] ==
                                       shot.tickets[0].cells[std::size_t(r)][std::size_t(c)])
                << r << "," << c;
        }
}

TEST_F(Photos, ATicketTheReaderMissedBesideOthersIsShownByItsCornersAfterThem)
{
    // A sheet of two, as read with the second ticket missed: the picture
    // itself is not kept where a ticket was found, and is loaded again.
    TicketArt::Shot shot;
    PhotoImage photo = ReadPhoto(Picture(QStringLiteral("лист.png"), 21, Level::Scan, "PT Sans", 2, &shot));
    ASSERT_EQ(photo.bilety.size(), 2u);
    const Scan::ScannedBilet missed = photo.bilety.back();
    photo.bilety.pop_back();
    ASSERT_TRUE(photo.image.isNull());
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1234"));
    window->PhotosRead({photo});
    PhotoPanel *panel = window->Photo();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->Caption().endsWith(QStringLiteral("билет 1 из 1")));

    // Said by its key, and by the button alike, while the ticket in hand
    // stays on the card as it is.
    Key(window->Ui().VVOD1, Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(panel->Caption().endsWith(QStringLiteral("билет 1 из 2")));
    EXPECT_TRUE(Strip().contains(QStringLiteral("щёлкните четыре угла пропущенного")));
    EXPECT_EQ(window->Photos().Position(), 0);
    ExpectCard(photo.bilety[0]);
    panel->findChild<QPushButton *>(QStringLiteral("PhotoMissed"))->click();
    EXPECT_EQ(window->Photos().Count(), 3);
    Key(window->Ui().VVOD1, Qt::Key_F9);
    Key(window->Ui().VVOD1, Qt::Key_F9);
    ASSERT_EQ(window->Photos().Position(), 2);
    EXPECT_EQ(window->Photos().CurrentBilet(), nullptr);
    EXPECT_FALSE(panel->findChild<QPushButton *>(QStringLiteral("PhotoMissed"))->isEnabled());

    for (const QPointF &corner : missed.corners)
        QTest::mouseClick(panel->PictureArea(), Qt::LeftButton, {}, panel->ViewPoint(corner).toPoint());
    WaitForReading();
    const Scan::ScannedBilet *found = window->Photos().CurrentBilet();
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->cells, missed.cells);
    ExpectCard(*found);
    EXPECT_EQ(window->Photos().CurrentImage().bilety.size(), 2u);
}

TEST_F(Photos, TheMenuItemPicksPicturesWithTheDesktopsDialogAndRemembersTheFolder)
{
    QTemporaryDir elsewhere;
    const QString picture = elsewhere.filePath(QStringLiteral("снимок.png"));
    ASSERT_TRUE(TicketArt::MakeDecoy(4).save(picture));
    QString askedIn;
    const frmForma::PhotoPicker before = frmForma::PickPhotos();
    frmForma::PickPhotos() = [&](QWidget *, const QString &folder) {
        askedIn = folder;
        return QStringList{picture};
    };
    DeskSettings::SetLastFolder(QString());
    Key(window.get(), Qt::Key_I, Qt::ControlModifier);
    WaitForReading();
    EXPECT_EQ(askedIn, dir.path());
    EXPECT_EQ(DeskSettings::LastFolder(), elsewhere.path());
    ASSERT_EQ(messenger.shown.size(), 1u) << "the picture was read";
    window->Ui().FilePhoto->trigger();
    WaitForReading();
    EXPECT_EQ(askedIn, elsewhere.path());
    frmForma::PickPhotos() = before;
}

} // namespace
