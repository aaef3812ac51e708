#include "controls/ListBilet.h"
#include "controls/Fonts.h"
#include "controls/VbColor.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

const QColor kNavy(0, 0, 128);
const QColor kYellow(255, 255, 127);
const QColor kWhite(255, 255, 255);

using Pos = std::pair<qint32, qint32>; // selected row, first visible row

class ListBiletTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { Fonts::InstallSubstitutes(); }

    void SetUp() override
    {
        host.resize(400, 200);
        list = new ListBilet(state, &host);
        list->setGeometry(0, 0, 169, 154);
        other = new QLineEdit(&host);
        other->setGeometry(200, 0, 100, 20);
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        dblClicks = std::make_unique<QSignalSpy>(list, &ListBilet::DblClick);
    }

    // Stores and lists n tickets; ticket t is numbered 100+t unless a number is given.
    void Fill(qint32 n, const QString &nomer = {})
    {
        std::vector<BILETCls> bilety(state.store.Bilety().begin(),
                                     state.store.Bilety().begin() + state.store.BiletCount());
        for (qint32 i = 0; i < n; ++i) {
            const qint32 t = qint32(bilety.size());
            bilety.emplace_back().Nomer = nomer.isEmpty() ? QString::number(100 + t) : nomer;
        }
        state.store.Load(std::move(bilety));
        for (qint32 i = 0; i < n; ++i)
            list->Add();
    }
    Pos Now() const { return {list->ListIndex(), list->ScrollValue()}; }
    Pos Key(Qt::Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(list->Picture(), key);
        return Now();
    }
    Pos Click(int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list->Picture(), button, {}, QPoint(20, y));
        return Now();
    }
    QColor At(int x, int y) const { return list->RenderVisible().pixelColor(x, y); }
    // True when some pixel of the rectangle differs from paper: something is drawn there.
    bool Ink(int x1, int y1, int x2, int y2, const QColor &paper = kWhite) const
    {
        const QImage image = list->RenderVisible();
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                if (image.pixelColor(x, y) != paper)
                    return true;
        return false;
    }
    // Whether row t, which must be in view, shows something in the columns x1..x2.
    bool RowInk(qint32 t, int x1, int x2) const
    {
        const int top = (t - list->ScrollValue()) * 15;
        return Ink(x1, top + 1, x2, top + 13);
    }
    QColor Background() const { return VbColor::ToQColor(VbColor::WindowBackground, list->palette()); }

    ProgramState state;
    QWidget host;
    ListBilet *list = nullptr;
    QLineEdit *other = nullptr;
    std::unique_ptr<QSignalSpy> dblClicks;
};

} // namespace

TEST_F(ListBiletTest, ClearedListShowsBackgroundAndIgnoresKeysAndMouse)
{
    Fill(3);
    Key(Qt::Key_Down, 2);
    list->Clear();
    // The list only shows the set: the set keeps its tickets.
    EXPECT_EQ(state.store.BiletCount(), 3);
    EXPECT_THROW(list->Row(0), std::out_of_range);
    EXPECT_TRUE(list->ScrollBar()->isHidden());
    EXPECT_FALSE(Ink(0, 0, 168, 153, Background()));

    list->setFocus();
    EXPECT_EQ(Key(Qt::Key_Down), Pos(0, 0));
    Key(Qt::Key_Return);
    Click(20);
    QTest::mouseDClick(list->Picture(), Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_EQ(Now(), Pos(0, 0));
    EXPECT_EQ(dblClicks->count(), 0);

    Fill(2);
    EXPECT_TRUE(list->Row(0).selected);
    EXPECT_EQ(list->Row(1).text, QStringLiteral("101")) << "rows restart from ticket 0";
}

TEST_F(ListBiletTest, FirstRowHasTheBarAndTheFocusFrameFollowsTheFocus)
{
    Fill(2);
    EXPECT_EQ(list->Row(0).frame, ListBilet::Frame::Navy);
    EXPECT_EQ(At(70, 7), Background());
    EXPECT_TRUE(Ink(2, 1, 68, 13, kNavy)) << "white number on the bar";
    EXPECT_EQ(At(0, 15), kWhite);
    EXPECT_TRUE(Ink(2, 16, 68, 28)) << "black number of row 1";

    const QPoint frame[] = {{0, 0}, {69, 0}, {35, 14}, {0, 7}, {69, 7}};
    for (const QColor &expected : {kNavy, kYellow, kNavy}) {
        if (expected == kYellow)
            list->setFocus();
        else if (list->hasFocus())
            other->setFocus();
        for (QPoint p : frame)
            EXPECT_EQ(At(p.x(), p.y()), expected) << p.x() << "," << p.y();
        EXPECT_EQ(At(1, 1), kNavy);
    }
}

TEST_F(ListBiletTest, ScrollBarComesWithTheEleventhRowAndPageKeysNeedIt)
{
    Fill(10);
    EXPECT_TRUE(list->ScrollBar()->isHidden());
    EXPECT_EQ(Key(Qt::Key_PageDown), Pos(0, 0));
    EXPECT_EQ(Key(Qt::Key_End), Pos(9, 0));
    EXPECT_EQ(Key(Qt::Key_PageUp), Pos(9, 0));
    EXPECT_EQ(Key(Qt::Key_Up), Pos(8, 0));
    Key(Qt::Key_Home);
    EXPECT_EQ(Key(Qt::Key_Down), Pos(1, 0));

    Fill(1);
    QScrollBar *bar = list->ScrollBar();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->maximum(), 1);
    EXPECT_EQ(bar->geometry(), QRect(152, 0, 17, 154));
    EXPECT_EQ(std::pair(bar->pageStep(), bar->singleStep()), std::pair(15, 10));
    EXPECT_EQ(Key(Qt::Key_PageDown), Pos(10, 1));

    Fill(14); // 25 rows, scroll maximum 15
    Key(Qt::Key_Home);
    EXPECT_EQ(Key(Qt::Key_PageDown), Pos(19, 10));
    EXPECT_EQ(Key(Qt::Key_PageDown, 2), Pos(24, 15));
    EXPECT_EQ(Key(Qt::Key_PageUp), Pos(5, 5));
    EXPECT_EQ(Key(Qt::Key_PageUp), Pos(0, 0));
}

TEST_F(ListBiletTest, MouseSelectsByRowAndTheHalfVisibleRowScrollsIntoView)
{
    Fill(12);
    EXPECT_EQ(Click(140), Pos(9, 0)) << "row 9 is the last whole row";
    EXPECT_EQ(Click(47, Qt::RightButton), Pos(3, 0));
    EXPECT_EQ(At(1, 46), kNavy);
    EXPECT_EQ(At(1, 136), kWhite);

    EXPECT_EQ(Click(151), Pos(10, 1));
    EXPECT_EQ(At(1, 136), kNavy);
    EXPECT_EQ(At(1, 46), kWhite);
    EXPECT_EQ(Click(60), Pos(5, 1)) << "rows count from the first visible one";
}

TEST_F(ListBiletTest, UpAndDownFollowThePageAndJumpBackToItFromOutside)
{
    Fill(30);
    EXPECT_EQ(Key(Qt::Key_Down, 9), Pos(9, 0));
    EXPECT_EQ(Key(Qt::Key_Down), Pos(10, 1));

    // A click beside the thumb scrolls a page; the rows, not the bar, get the focus.
    other->setFocus();
    QTest::mouseClick(list->ScrollBar(), Qt::LeftButton, {}, QPoint(8, 120));
    EXPECT_EQ(Now(), Pos(10, 16)) << "scrolling keeps the selection";
    EXPECT_EQ(QApplication::focusWidget(), list->Picture());
    EXPECT_EQ(Key(Qt::Key_Down), Pos(16, 16));
    list->ScrollBar()->setValue(0);
    EXPECT_EQ(Key(Qt::Key_Up), Pos(0, 0));
    list->ScrollBar()->setValue(5);
    EXPECT_EQ(Key(Qt::Key_Down), Pos(5, 5));
    EXPECT_EQ(Key(Qt::Key_Up), Pos(4, 4));
}

TEST_F(ListBiletTest, HundredThousandRowsEndShowsTheLastOne)
{
    Fill(100000);
    EXPECT_EQ(list->ScrollBar()->maximum(), 99990);
    EXPECT_EQ(Key(Qt::Key_End), Pos(99999, 99990));
    EXPECT_EQ(At(1, 136), kNavy);
    EXPECT_TRUE(Ink(2, 136, 68, 148, kNavy));
    EXPECT_EQ(At(1, 121), kWhite);
    EXPECT_EQ(list->Row(99999).text, QStringLiteral("100099"));
    EXPECT_EQ(Key(Qt::Key_Home), Pos(0, 0));
    EXPECT_EQ(At(0, 0), kYellow);
}

TEST_F(ListBiletTest, CheckingModesKeepTheLongestTailThatFits)
{
    const QFontMetrics fm(list->font());
    state.RegimState = Rezhim::Proverka;
    const QStringList numbers{QStringLiteral("12345678901234567890"), QStringLiteral("AVAWAYTo.VAWAYVA"),
                              QStringLiteral("Жребий№ 0042-ЛОТО-Ёж"),
                              QStringLiteral("e\u0301e\u0301\u0627\u0644123456789"), QStringLiteral("123")};
    // Every column width from narrow to wide, so tails of every length meet the limit.
    for (qint32 width = 8; width <= 100; ++width) {
        list->Clear();
        list->SetLineWidth(width);
        for (const QString &n : numbers)
            Fill(1, n);
        for (qint32 t = 0; t < numbers.size(); ++t) {
            const QString &n = numbers[t];
            const QString text = list->Row(t).text;
            ASSERT_TRUE(n.endsWith(text)) << qPrintable(n);
            ASSERT_LE(fm.horizontalAdvance(text), width) << qPrintable(n);
            if (text != n) {
                ASSERT_GT(fm.horizontalAdvance(n.right(text.size() + 1)), width) << qPrintable(n);
            }
        }
    }

    list->Clear();
    list->SetLineWidth(69);
    Fill(1, numbers[0]);
    EXPECT_FALSE(RowInk(0, 72, 151)) << "the shortened number ends inside its column";
    list->Clear();
    state.RegimState = Rezhim::Zagruzka;
    list->SetLineWidth(164);
    Fill(1, numbers[0]);
    EXPECT_EQ(list->Row(0).text, numbers[0]);
}

TEST_F(ListBiletTest, EnterAndDoubleClickRaiseDblClickOnce)
{
    Fill(12);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(dblClicks->count(), 1);
    QTest::mouseDClick(list->Picture(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(dblClicks->count(), 2);

    // A double click as the platform delivers it, on the half-visible row: the
    // first click scrolls it into view, the second press must not pick the next row.
    const QEvent::Type sequence[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                     QEvent::MouseButtonPress, QEvent::MouseButtonDblClick,
                                     QEvent::MouseButtonRelease};
    quint64 time = 900000;
    for (QEvent::Type type : sequence) {
        const QPoint pos(20, 151);
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent e(type, pos, list->Picture()->mapToGlobal(pos), Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        e.setTimestamp(time += 40);
        QApplication::sendEvent(list->Picture(), &e);
    }
    EXPECT_EQ(Now(), Pos(10, 1));
    EXPECT_EQ(dblClicks->count(), 3);
}

TEST_F(ListBiletTest, NewNomerMovesTheBarWithoutFrameAndShowsTheWholeNumber)
{
    state.RegimState = Rezhim::Proverka;
    Fill(5);
    list->setFocus();
    state.store.Show(3);
    BILETCls renamed = state.store.Bilet(3);
    renamed.Nomer = QStringLiteral("98765432109876543210");
    ASSERT_TRUE(state.store.Store(renamed).renamed);
    list->NewNomer();
    EXPECT_EQ(list->ListIndex(), 3);
    EXPECT_EQ(list->Row(3).text, state.store.Bilet(3).Nomer);
    EXPECT_EQ(list->Row(3).frame, ListBilet::Frame::None);
    EXPECT_EQ(At(0, 45), kNavy);
    EXPECT_EQ(At(1, 1), kWhite);

    state.store.ShowNew(); // a ticket still being keyed in has no row
    list->NewNomer();
    EXPECT_EQ(list->ListIndex(), 3);
    list->SetListIndex(1);
    EXPECT_EQ(At(0, 15), kYellow);
    EXPECT_EQ(At(0, 45), kWhite);
}

TEST_F(ListBiletTest, StartShowsZeroEverywhereAndHitsMarkOnlyTheLatestNumber)
{
    state.RegimState = Rezhim::Proverka;
    Fill(12);
    state.stats.Start(12);
    state.stats.Publish();
    state.stats.NomerV(1, 45);
    state.stats.AddLider(2);
    state.stats.Start(12);
    state.stats.Publish();
    for (qint32 t = 0; t < 12; ++t) {
        const ListBilet::RowView row = list->Row(t);
        EXPECT_EQ(row.count, 0);
        EXPECT_FALSE(row.awaited || row.lider || row.plus);
        if (t < 10) {
            EXPECT_TRUE(RowInk(t, 72, 88)) << t;
            EXPECT_FALSE(RowInk(t, 70, 71) || RowInk(t, 89, 151)) << t;
        }
    }

    state.stats.NewHod();
    state.stats.Sovpad(2, 1);
    state.stats.Sovpad(5, 1);
    state.stats.Sovpad(11, 1); // out of view
    EXPECT_TRUE(RowInk(2, 89, 94) && RowInk(5, 89, 94));
    state.stats.NewHod();
    state.stats.Sovpad(5, 2);
    EXPECT_FALSE(list->Row(2).plus || list->Row(11).plus);
    EXPECT_FALSE(RowInk(2, 89, 94));
    EXPECT_EQ(list->Row(2).count, 1);
    EXPECT_TRUE(list->Row(5).plus);
    EXPECT_EQ(list->Row(5).count, 2);

    state.stats.NomerV(5, 45);
    EXPECT_TRUE(RowInk(5, 95, 109));
    state.stats.NomerV(5, 0);
    EXPECT_FALSE(RowInk(5, 95, 109));
}

TEST_F(ListBiletTest, LeadersTieThenAHigherCountStandsAlone)
{
    Fill(12);
    state.stats.Start(12);
    state.stats.Publish();
    qint32 liderMax = 0;
    auto hit = [&](qint32 t, qint32 count) {
        state.stats.Sovpad(t, count);
        if (count > liderMax) {
            liderMax = count;
            state.stats.NewLider();
        }
        if (count == liderMax)
            state.stats.AddLider(t);
    };
    hit(1, 2);
    hit(3, 2);
    hit(11, 2);
    EXPECT_TRUE(list->Row(1).lider && list->Row(3).lider && list->Row(11).lider);
    EXPECT_TRUE(RowInk(1, 113, 144) && RowInk(3, 113, 144));
    hit(4, 3);
    for (qint32 t = 0; t < 12; ++t)
        EXPECT_EQ(list->Row(t).lider, t == 4) << t;
    EXPECT_FALSE(RowInk(1, 113, 144) || RowInk(3, 113, 144));
}

TEST_F(ListBiletTest, NewTurRedrawsCountsClearsMarksAndShowsTheNewLeaders)
{
    Fill(4);
    state.stats.Start(4);
    state.stats.Publish();
    std::vector<SovpCls> sovp(3); // the fourth ticket has no counter yet
    // Tour 1: ticket 0 has three in row 0; ticket 1 one in row 0 and three on field 2;
    // ticket 2 two on field 1.
    const std::pair<int, int> tour1[] = {{0, 0}, {0, 0}, {0, 0}, {1, 0}, {1, 3},
                                         {1, 4}, {1, 5}, {2, 1}, {2, 2}};
    for (auto [t, row] : tour1)
        sovp[std::size_t(t)].SovpAdd(row, 1);
    state.stats.AddLider(0);
    state.stats.Sovpad(1, 1);
    state.stats.NomerV(2, 77);
    for (SovpCls &s : sovp)
        s.NewTur(2);
    state.stats.NewTur(sovp, 3);
    const qint32 expected[] = {3, 3, 2, 0};
    for (qint32 t = 0; t < 4; ++t) {
        EXPECT_EQ(list->Row(t).count, expected[t]) << t;
        EXPECT_FALSE(list->Row(t).plus || list->Row(t).awaited) << t;
        EXPECT_EQ(list->Row(t).lider, t < 2) << t;
    }
    EXPECT_FALSE(RowInk(2, 95, 109));
    EXPECT_TRUE(RowInk(1, 113, 144));

    sovp[2].SovpAdd(0, 2);
    sovp[2].SovpAdd(0, 2);
    for (SovpCls &s : sovp)
        s.NewTur(3);
    state.stats.NewTur(sovp, 4);
    for (qint32 t = 0; t < 4; ++t)
        EXPECT_EQ(list->Row(t).lider, t == 1 || t == 2) << t;
    EXPECT_TRUE(RowInk(2, 113, 144));
    EXPECT_FALSE(RowInk(0, 113, 144));
}
