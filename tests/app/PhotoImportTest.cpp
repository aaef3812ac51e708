// The queue of tickets read from photos, without a window: the order tickets
// come in, the card they make, the doubts they carry, and pictures that are bad.
#include "TicketArt.h"
#include "support/PhotoPictures.h"

namespace
{

using namespace TestSupport;
using Scan::Cell;

class PhotoQueue : public ::testing::Test
{
protected:
    Loto::KletkaTable colors{};
    BiletEntry entry{colors};
};

Rows Swapped(Rows rows, int r, int k, int n)
{
    rows[std::size_t(r)][std::size_t(k)] = n;
    return rows;
}

TEST_F(PhotoQueue, TicketsComeInTheOrderOfPicturesAndOfTheTicketsInEach)
{
    PhotoImage broken = Photo({}, QStringLiteral("b.jpg"));
    broken.error = QStringLiteral("Файл повреждён.");
    PhotoImport queue;
    queue.Start({Photo({Scanned(kRows, "001"), Scanned(kRows2, "002")}), broken,
                 Photo({}, QStringLiteral("c.jpg")),
                 Photo({Scanned(kRows, "004")}, QStringLiteral("d.jpg"))});
    EXPECT_EQ(queue.BiletCount(), 3);
    EXPECT_EQ(queue.EmptyImages(), 1);
    // A picture that could not be read has no place; one without a ticket has one, for its corners.
    const std::vector<std::pair<int, QString>> expected = {{0, "001"}, {0, "002"}, {2, ""}, {3, "004"}};
    ASSERT_EQ(queue.Count(), int(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(queue.Active());
        EXPECT_EQ(queue.Position(), int(i));
        EXPECT_EQ(&queue.CurrentImage(), &queue.Images()[std::size_t(expected[i].first)]);
        EXPECT_EQ(queue.CurrentBilet() ? queue.CurrentBilet()->nomer : QString(), expected[i].second);
        EXPECT_EQ(queue.CurrentBilet() == nullptr, i == 2);
        EXPECT_EQ(queue.Next(), i + 1 < expected.size());
    }
    EXPECT_FALSE(queue.Active());
    EXPECT_EQ(queue.CurrentBilet(), nullptr);
    EXPECT_FALSE(queue.Next());
}

TEST_F(PhotoQueue, AWholeTicketIsPutOnAsTypedRowByRow)
{
    PhotoImport queue;
    queue.Start({Photo({Scanned(kRows, "017")})});
    EXPECT_EQ(queue.PutOn(entry), 6);
    EXPECT_TRUE(entry.Ready(QStringLiteral("017")));
    BILETCls stored;
    entry.Store(stored);
    const BILETCls expected = MakeBilet(kRows, "017");
    for (int k = 0; k < 30; ++k)
        EXPECT_EQ(stored.NomeraList(k), expected.NomeraList(k)) << k;
    // Each number is a change of its own, so Ctrl+Z takes them back one at a time.
    ASSERT_EQ(entry.History().size(), 30u);
    EXPECT_EQ(entry.Undo()->nomer, 83);
    EXPECT_EQ(entry.CurStroka(), 5);
}

TEST_F(PhotoQueue, AReadThatBreaksARowStopsThereAndNothingSpillsIntoTheNextRow)
{
    const struct {
        const char *what;
        Scan::ScannedBilet read;
        int rowsPut;
    } cases[] = {
        // 5 of row 0 read again in row 3: a second toggle would take it off.
        {"number read twice", Scanned(Swapped(kRows, 3, 0, 5), "1"), 3},
        {"number out of its column",
         [] {
             auto b = Scanned(kRows, "1");
             b.cells[1][2] = 16; // 16 belongs in column 1
             b.cells[1][1] = 0;
             return b;
         }(),
         1},
        {"cell read empty",
         [] {
             auto b = Scanned(kRows, "1");
             b.cells[4][8] = 0;
             return b;
         }(),
         4},
        {"six numbers in a row",
         [] {
             auto b = Scanned(kRows, "1");
             b.cells[0][8] = 88;
             return b;
         }(),
         6},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        entry.Clear();
        PhotoImport queue;
        queue.Start({Photo({c.read})});
        EXPECT_EQ(queue.PutOn(entry), c.rowsPut);
        for (int r = 0; r < 6; ++r)
            for (int col = 0; col < 9; ++col) {
                const int n = entry.Kletka(r, col);
                // Whatever is on the card is where the reader saw it.
                if (n != 0) {
                    EXPECT_EQ(n, c.read.cells[std::size_t(r)][std::size_t(col)]) << r << "," << col;
                }
                if (r > c.rowsPut) {
                    EXPECT_EQ(n, 0) << r << "," << col;
                }
            }
        EXPECT_EQ(entry.CurStroka(), c.rowsPut == 6 ? BiletEntry::kFull : c.rowsPut);
    }
}

TEST_F(PhotoQueue, TheRowsBelowAWaitingRowFollowWhenTheUserCompletesItAndGoBackWithIt)
{
    PhotoImport queue;
    queue.Start({Photo({Scanned(Swapped(kRows, 1, 0, 5), "1")})});
    ASSERT_EQ(queue.PutOn(entry), 1);
    EXPECT_EQ(queue.WaitingRow(), 1);
    // Changes that leave the row waiting bring nothing.
    entry.Toggle(17); // 16 makes way
    EXPECT_FALSE(queue.Continue(entry));
    entry.Toggle(16);
    EXPECT_FALSE(queue.Continue(entry));
    entry.Toggle(6);
    ASSERT_TRUE(queue.Continue(entry));
    EXPECT_TRUE(entry.Complete());
    EXPECT_EQ(queue.WaitingRow(), 6);
    EXPECT_FALSE(queue.Continue(entry)) << "once";
    // A change after them is taken back alone; then the rows go with the 6 that brought them.
    entry.Toggle(83);
    EXPECT_EQ(queue.Undo(entry)->nomer, 83);
    const auto undone = queue.Undo(entry);
    ASSERT_TRUE(undone);
    EXPECT_EQ(undone->nomer, 6);
    EXPECT_EQ(entry.CurStroka(), 1);
    EXPECT_EQ(entry.StrokaCount(2), 0);
    EXPECT_EQ(queue.WaitingRow(), 1);
    // Completed with another number, the row brings the rows just the same.
    entry.Toggle(8);
    EXPECT_TRUE(queue.Continue(entry));
    EXPECT_TRUE(entry.Complete());
}

TEST_F(PhotoQueue, DoubtsLastWhileTheCellHoldsWhatWasRead)
{
    PhotoImport queue;
    // Row 0 column 1 holds 15; row 2 column 5 is empty on the ticket; row 4 column 8 holds 82.
    const std::vector<Cell> doubtful = {{0, 1}, {2, 5}, {4, 8}, {9, 9}};
    queue.Start({Photo({Scanned(kRows, "017", doubtful)})});
    queue.PutOn(entry);
    const std::vector<Cell> all = {{0, 1}, {2, 5}, {4, 8}};
    EXPECT_EQ(queue.Doubts(entry), all) << "a cell off the card is ignored";
    // Taken off, the doubt is answered; put back (Ctrl+Z), it is open again.
    entry.Toggle(15);
    EXPECT_EQ(queue.Doubts(entry), (std::vector<Cell>{{2, 5}, {4, 8}}));
    entry.Toggle(11); // the right number in its place
    EXPECT_EQ(queue.Doubts(entry), (std::vector<Cell>{{2, 5}, {4, 8}}));
    entry.Undo();
    entry.Undo();
    EXPECT_EQ(queue.Doubts(entry), all);
    queue.Next();
    EXPECT_TRUE(queue.Doubts(entry).empty()) << "no ticket in hand, no doubts";
}

TEST_F(PhotoQueue, TheTicketNumberIsDoubtedWhileTheBoxHoldsTheDoubtedReading)
{
    const struct {
        QString read;
        bool doubtful;
        QString box;
        bool marked;
    } cases[] = {
        {"001234", true, "001234", true},
        {"001234", true, "001235", false},
        {"001234", false, "001234", false},
        {"", true, "", true},
        {"", true, "7", false},
    };
    for (const auto &c : cases) {
        PhotoImport queue;
        queue.Start({Photo({Scanned(kRows, c.read, {}, c.doubtful)})});
        EXPECT_EQ(queue.NomerDoubtful(c.box), c.marked)
            << c.read.toStdString() << " / " << c.box.toStdString();
    }
}

TEST_F(PhotoQueue, TheDrawNumberIsTheOneMostTicketsWereSurelyReadWith)
{
    const auto bilet = [](const QString &tirag, bool doubtful) {
        auto b = Scanned(kRows, "1", {}, false, tirag);
        b.tiragDoubtful = doubtful;
        return b;
    };
    const struct {
        std::vector<Scan::ScannedBilet> bilety;
        QString tirag;
        bool doubtful;
    } cases[] = {
        {{bilet("1500", true), bilet("1501", false)}, "1501", false},
        {{bilet("1500", true), bilet("1502", true)}, "1500", true},
        // One ticket's misreading does not stand for the others'.
        {{bilet("38869", true), bilet("1471", true), bilet("1471", true)}, "1471", true},
        {{bilet("1500", false), bilet("1501", false), bilet("1501", false), bilet("1500", true)},
         "1501",
         false},
        // The draw box takes one to six digits: a longer reading is no draw number.
        {{bilet("1234567", false), bilet("", false), bilet("0042", true)}, "0042", true},
        {{bilet("", true)}, "", false},
    };
    for (const auto &c : cases) {
        PhotoImport queue;
        queue.Start({Photo({c.bilety.front()}), Photo(std::vector(c.bilety.begin() + 1, c.bilety.end()))});
        bool doubtful = !c.doubtful;
        EXPECT_EQ(queue.TiragNomer(&doubtful), c.tirag);
        EXPECT_EQ(doubtful, c.doubtful) << c.tirag.toStdString();
    }
}

TEST_F(PhotoQueue, ATicketFoundInsideClickedCornersTakesThePictureSPlace)
{
    PhotoImport queue;
    queue.Start({Photo({}), Photo({Scanned(kRows2, "2")})});
    ASSERT_EQ(queue.CurrentBilet(), nullptr);
    queue.Found(Scanned(kRows, "1"));
    ASSERT_NE(queue.CurrentBilet(), nullptr);
    EXPECT_EQ(queue.CurrentBilet()->nomer, QStringLiteral("1"));
    EXPECT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.BiletCount(), 2);
    // A place that has its ticket keeps it.
    queue.Found(Scanned(kRows2, "9"));
    EXPECT_EQ(queue.CurrentBilet()->nomer, QStringLiteral("1"));
    EXPECT_EQ(queue.BiletCount(), 2);
}

TEST_F(PhotoQueue, ATicketTheReaderMissedGetsAPlaceAfterItsPictureSTickets)
{
    PhotoImport queue;
    queue.Start({Photo({Scanned(kRows, "1"), Scanned(kRows2, "2")}), Photo({Scanned(kRows, "3")})});
    // Said twice on the first ticket: two places, after the picture's second ticket.
    ASSERT_TRUE(queue.AddMissed() && queue.AddMissed());
    QStringList order;
    for (; queue.Active(); queue.Next()) {
        order << QStringLiteral("%1:%2").arg(queue.CurrentImage().bilety.front().nomer,
                                             queue.CurrentBilet() ? queue.CurrentBilet()->nomer : QString());
        // A place that waits for corners gets no other.
        if (!queue.CurrentBilet()) {
            EXPECT_FALSE(queue.AddMissed());
        }
    }
    EXPECT_EQ(order.join(u' '), QStringLiteral("1:1 1:2 1: 1: 3:3"));
}

TEST(ReadPhoto, FilesThatAreNoReadablePictureGiveTheirReason)
{
    QTemporaryDir dir;
    const QStringList paths = BadPictures(dir);
    const char *reasons[] = {"пуст", "не снимок", "слишком велик", "повреждён"};
    for (int i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i].toStdString());
        const PhotoImage photo = ReadPhoto(paths[i]);
        EXPECT_TRUE(photo.error.contains(QString::fromUtf8(reasons[i]))) << photo.error.toStdString();
        EXPECT_TRUE(photo.bilety.empty());
        EXPECT_TRUE(photo.preview.isNull());
    }
}

TEST(ReadPhoto, APictureIsKeptSmallForTheScreenAndWholeOnlyWhenNoTicketWasFound)
{
    QTemporaryDir dir;
    TicketArt::ShotOptions options;
    options.level = TicketArt::Level::Scan;
    options.family = QStringLiteral("PT Sans");
    options.canvas = QSize(3000, 2000);
    const TicketArt::Shot shot = TicketArt::MakeShot(11, options);
    ASSERT_TRUE(shot.image.save(dir.filePath("t.png")));
    ASSERT_TRUE(TicketArt::MakeDecoy(5).save(dir.filePath("decoy.png")));

    const PhotoImage ticket = ReadPhoto(dir.filePath("t.png"));
    EXPECT_TRUE(ticket.error.isEmpty());
    ASSERT_EQ(ticket.bilety.size(), 1u);
    EXPECT_EQ(ticket.preview.width(), 1600);
    EXPECT_NEAR(ticket.preview.height(), 1067, 1);
    EXPECT_NEAR(ticket.scale, 1600.0 / 3000, 1e-9);
    EXPECT_TRUE(ticket.image.isNull());

    const PhotoImage decoy = ReadPhoto(dir.filePath("decoy.png"));
    EXPECT_TRUE(decoy.error.isEmpty());
    EXPECT_TRUE(decoy.bilety.empty());
    EXPECT_FALSE(decoy.image.isNull());
}

} // namespace
