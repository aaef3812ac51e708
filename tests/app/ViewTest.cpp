// The window under a dark desktop and at larger print sizes: every number
// reads on its cell, and the whole window grows, sharp and uncut.
#include "controls/ClickLabel.h"
#include "controls/Contrast.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/Zoom.h"
#include "dialogs/frmOprog.h"
#include "io/BiletFile.h"
#include "io/DeskSettings.h"
#include "support/Ink.h"
#include "support/WindowFixture.h"

#include <QAccessible>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace
{

using namespace TestSupport;

// The colour most of an area shows, and the one that stands out most from it:
// the background and the ink of the text drawn on it.
struct Cell {
    QColor back, ink;
    double Ratio() const { return Contrast::Ratio(ink, back); }
};
Cell Measure(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb back = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            back = it.key();
        }
    Cell cell{QColor(back), QColor(back)};
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (Contrast::Ratio(QColor(it.key()), cell.back) > cell.Ratio())
            cell.ink = QColor(it.key());
    return cell;
}

// The inside of a board cell and of a card cell, clear of the lines.
QRect PoleArea(int n)
{
    return QRect(35 * ((n - 1) / 10) + 2, 34 * ((n - 1) % 10) + 2, 32, 31);
}
QRect CardArea(int stroka, int column)
{
    return QRect(32 * column + 2, 31 * stroka + (stroka >= 3 ? 11 : 0) + 2, 29, 28);
}

class DarkDesktop : public WindowFixture
{
protected:
    void SetUp() override
    {
        light_ = QApplication::palette();
        // The colours a dark desktop theme gives: light text on dark faces, and
        // highlighted text as light as the text.
        QPalette dark;
        const QColor face(0x35, 0x35, 0x35), text(0xF0, 0xF0, 0xF0);
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base, QPalette::Dark})
            dark.setColor(role, face);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text,
                                         QPalette::HighlightedText, QPalette::Light})
            dark.setColor(role, text);
        dark.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
        QApplication::setPalette(dark);
        WindowFixture::SetUp();
    }
    void TearDown() override
    {
        window.reset();
        QApplication::setPalette(light_);
    }
    QPalette light_;
};

TEST_F(DarkDesktop, EveryNumberOnTheBoardTheCardAndTheTourLabelReadsOnItsCell)
{
    QFile f(Path(QStringLiteral("t.rlb")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(BiletFile::Encode(QStringLiteral("Тираж77"), {MakeBilet(kRows, QStringLiteral("first"))}, 1));
    f.close();
    window->OpenBlt(QStringLiteral("t.rlb"));
    window->Ui().RegimProverka->trigger();
    ASSERT_EQ(state.RegimState, Rezhim::Proverka);
    // Row 0 of the ticket waits for 45, which the board highlights.
    for (int n : {5, 15, 25, 35, 7})
        Vvod(n);
    const QImage pole = window->Ui().PolePic->Image();
    // Drawn (5, 7), awaited (45), on the ticket (90) and free (88).
    for (int n : {5, 7, 45, 90, 88}) {
        SCOPED_TRACE(n);
        const Cell cell = Measure(pole, PoleArea(n));
        EXPECT_GE(cell.Ratio(), Contrast::kMinRatio)
            << cell.ink.name().toStdString() << " on " << cell.back.name().toStdString();
    }
    const QImage card = window->Ui().BiletPic->Image();
    // A drawn number, a number not drawn, on both fields.
    for (auto [r, c] : {std::pair{0, 0}, {0, 4}, {3, 0}, {3, 8}}) {
        SCOPED_TRACE(QStringLiteral("card %1,%2").arg(r).arg(c).toStdString());
        const Cell cell = Measure(card, CardArea(r, c));
        EXPECT_GE(cell.Ratio(), Contrast::kMinRatio)
            << cell.ink.name().toStdString() << " on " << cell.back.name().toStdString();
    }
    const QImage tur = window->Ui().Tur->grab().toImage();
    EXPECT_GE(Measure(tur, tur.rect().adjusted(3, 3, -3, -3)).Ratio(), Contrast::kMinRatio);

    // Keying in: the row being filled shows "?" on its own colour.
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    Vvod(5);
    const QImage keyed = window->Ui().BiletPic->Image();
    for (int c : {0, 1, 8}) {
        SCOPED_TRACE(c);
        EXPECT_GE(Measure(keyed, CardArea(0, c)).Ratio(), Contrast::kMinRatio);
    }
}

TEST_F(DarkDesktop, TheAboutBoxReadsOnItsOwnGrey)
{
    frmOprog about(nullptr);
    about.show();
    const QImage image = about.grab().toImage();
    for (QLabel *line : about.Label2) {
        SCOPED_TRACE(line->text().toStdString());
        const Cell cell = Measure(image, line->geometry());
        EXPECT_GE(cell.Ratio(), Contrast::kMinRatio);
    }
}

TEST(GreyDesktop, TheStripTheLabelsAndTheBoxesReadWhereTheDesktopsOwnColoursWouldNot)
{
    const QPalette standard = QApplication::palette();
    QPalette grey = standard;
    grey.setColor(QPalette::WindowText, QColor(0x77, 0x77, 0x77));
    grey.setColor(QPalette::Window, QColor(0x55, 0x55, 0x55));
    QApplication::setPalette(grey);
    QTemporaryDir dir;
    ProgramState state;
    RecordingMessenger messenger;
    {
        std::unique_ptr<frmForma> window = MainM(state, messenger, dir.path());
        for (QWidget *w :
             std::initializer_list<QWidget *>{window->Ui().Label3, window->Ui().Label2_0,
                                              window->Ui().usrReklamaX1->findChild<QLabel *>()}) {
            const QPalette &p = w->palette();
            EXPECT_GE(Contrast::Ratio(p.color(QPalette::WindowText), p.color(QPalette::Window)),
                      Contrast::kMinRatio);
        }
    }
    QApplication::setPalette(standard);
}

class View : public WindowFixture
{
protected:
    void SetUp() override
    {
        DeskSettings::UseFile(settings_.filePath(QStringLiteral("zhrebikon.conf")));
        WindowFixture::SetUp();
        menuHeight_ = window->menuBar()->sizeHint().height();
    }
    void TearDown() override
    {
        window.reset();
        DeskSettings::UseFile({});
    }
    void Key(int key) { QTest::keyClick(window.get(), Qt::Key(key), Qt::ControlModifier); }
    QWidget *Client() const { return window->findChild<QWidget *>(QStringLiteral("client")); }

    QTemporaryDir settings_;
    int menuHeight_ = 0;
};

TEST_F(View, CtrlPlusMinusAndZeroStepThePrintSizeWhichTheNextStartKeeps)
{
    struct Step {
        int key;
        int percent;
    };
    const Step steps[] = {
        {Qt::Key_Plus, 125}, {Qt::Key_Plus, 150},  {Qt::Key_Equal, 175}, {Qt::Key_Plus, 200},
        {Qt::Key_Plus, 200}, {Qt::Key_Minus, 175}, {Qt::Key_0, 100},     {Qt::Key_Minus, 100},
        {Qt::Key_Plus, 125}, {Qt::Key_Plus, 150},
    };
    for (const Step &s : steps) {
        Key(s.key);
        EXPECT_EQ(window->ZoomPercent(), s.percent) << QKeySequence(s.key).toString().toStdString();
        EXPECT_EQ(Client()->size(), QSize(Zoom::Scaled(632, s.percent), Zoom::Scaled(508, s.percent)));
    }
    // The menu's commands are the keys'.
    const QList<QAction *> items = window->Ui().View->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(window->menuBar()->actions().at(2), window->Ui().View->menuAction());
    window->Ui().ViewSmaller->trigger();
    EXPECT_EQ(window->ZoomPercent(), 125);
    window->Ui().ViewLarger->trigger();
    EXPECT_EQ(window->ZoomPercent(), 150);

    window.reset();
    window = MainM(state, messenger, dir.path());
    window->show();
    EXPECT_EQ(window->ZoomPercent(), 150);
    EXPECT_EQ(Client()->size(), QSize(948, 762));
    EXPECT_EQ(window->Ui().PolePic->size(), QSize(474, 512));
}

TEST_F(View, AtOneAndAHalfEverythingIsLargerSharpAndUncut)
{
    const QFont menuFont = window->menuBar()->font();
    std::vector<QRect> inks100;
    for (int n = 1; n <= 90; ++n)
        inks100.push_back(*InkIn(window->Ui().PolePic->Image(), PoleArea(n),
                                 window->Ui().PolePic->Pixel(PoleArea(n).left(), PoleArea(n).top()).rgb()));
    window->SetZoom(150);

    // The window grows with its controls, as far as the screen lets it; it can be resized and maximised.
    const QScreen *screen = window->screen();
    const QSize frame = window->frameGeometry().size() - window->size();
    EXPECT_EQ(window->size(), QSize(948, 762 + window->menuBar()->sizeHint().height())
                                  .boundedTo(screen->availableGeometry().size() - frame));
    EXPECT_NE(window->minimumSize(), window->maximumSize());
    EXPECT_NEAR(window->menuBar()->font().pointSizeF(), menuFont.pointSizeF() * 1.5, 0.01);
    {
        QMessageBox box(window.get());
        box.ensurePolished();
        EXPECT_NEAR(box.font().pointSizeF(), QApplication::font().pointSizeF() * 1.5, 0.01);
    }
    {
        // So do the program's own dialogs opened from it.
        frmOprog about(nullptr, window.get());
        EXPECT_EQ(about.size(), QSize(534, 314));
    }

    // Each number is drawn at the larger size, half again as tall, and stays inside its cell.
    const QImage pole = window->Ui().PolePic->Image();
    ASSERT_EQ(pole.size(), QSize(474, 512));
    for (int n = 1; n <= 90; ++n) {
        SCOPED_TRACE(n);
        const QRect cell = PoleArea(n);
        const QRect area(QPoint(qCeil((cell.left() - 1) * 1.5) + 1, qCeil((cell.top() - 1) * 1.5) + 1),
                         QPoint(qFloor((cell.right() + 2) * 1.5) - 2, qFloor((cell.bottom() + 2) * 1.5) - 2));
        const std::optional<QRect> ink = InkIn(pole, area, pole.pixel(area.topLeft()));
        ASSERT_TRUE(ink);
        EXPECT_GT(ink->left(), area.left());
        EXPECT_LT(ink->right(), area.right());
        EXPECT_GT(ink->top(), area.top());
        EXPECT_LT(ink->bottom(), area.bottom());
        EXPECT_NEAR(ink->height(), inks100[std::size_t(n - 1)].height() * 1.5, 1.5);
        EXPECT_NEAR(ink->width(), inks100[std::size_t(n - 1)].width() * 1.5, 2.5);
    }

    // Every caption fits its control, and every control the window (the strip
    // reaches a pixel past it at 100 % already).
    for (QWidget *w : Client()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        SCOPED_TRACE(w->objectName().toStdString());
        if (w != static_cast<QWidget *>(window->Ui().usrReklamaX1)) {
            EXPECT_TRUE(QRect(QPoint(0, 0), Client()->size()).contains(w->geometry()));
        }
        auto *label = qobject_cast<QLabel *>(w);
        if (label && !label->text().isEmpty()) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->frameWidth(),
                      label->width());
            EXPECT_LE(label->fontMetrics().height(), label->height());
        }
    }

    // The mouse picks in the board's own cells.
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    QTest::mouseClick(window->Ui().PolePic, Qt::LeftButton, {}, QPoint(qRound(52.5 * 4.5), qRound(51 * 4.5)));
    EXPECT_TRUE(window->entry.OnCard(45));
    // A screen reader finds number 45 where it is drawn, not where it stood at 100 %.
    QAccessibleInterface *board = QAccessible::queryAccessibleInterface(window->Ui().PolePic);
    ASSERT_NE(board, nullptr);
    const QRect cell45 = board->child(44)->rect();
    EXPECT_TRUE(
        cell45.contains(window->Ui().PolePic->mapToGlobal(QPoint(qRound(52.5 * 4.5), qRound(51 * 4.5)))));
    EXPECT_NEAR(cell45.width(), 35 * 1.5, 1);
}

TEST_F(View, BackAtOneHundredEveryPixelIsAsBefore)
{
    // At its own size the window shows all of its controls and no scroll bar.
    const auto noScrollBars = [this] {
        const auto *area = qobject_cast<QScrollArea *>(window->centralWidget());
        ASSERT_NE(area, nullptr);
        QApplication::processEvents();
        EXPECT_EQ(area->viewport()->size(), QSize(632, 508));
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(area->verticalScrollBar()->isVisible());
    };
    noScrollBars();
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    for (int n : {5, 15, 25, 7})
        Vvod(n);
    const QImage pole = window->Ui().PolePic->Image().copy();
    const QImage card = window->Ui().BiletPic->Image().copy();
    const QImage list = window->Ui().ListBilet1->RenderVisible();
    window->SetZoom(200);
    window->SetZoom(100);
    EXPECT_EQ(window->Ui().PolePic->Image(), pole);
    EXPECT_EQ(window->Ui().BiletPic->Image(), card);
    EXPECT_EQ(window->Ui().ListBilet1->RenderVisible(), list);
    EXPECT_EQ(Client()->size(), QSize(632, 508));
    EXPECT_EQ(window->Ui().Label2_0->geometry(), QRect(336, 264, 137, 25));
    noScrollBars();
}

TEST_F(View, AWindowSmallerThanItsControlsScrollsToTheBoxBeingTypedInto)
{
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    window->resize(500, 400);
    window->SetZoom(200);
    auto *area = qobject_cast<QScrollArea *>(window->centralWidget());
    ASSERT_TRUE(area);
    for (QWidget *box :
         std::initializer_list<QWidget *>{window->Ui().VVOD1, window->Ui().Nombilet, window->Ui().VVOD1}) {
        box->setFocus();
        QApplication::processEvents();
        const QRect shown(box->mapTo(area->viewport(), QPoint(0, 0)), box->size());
        EXPECT_TRUE(area->viewport()->rect().contains(shown)) << box->objectName().toStdString();
    }
}

TEST_F(View, MaximisedTheWindowTakesTheLargestSizeItHoldsAndRestoredTheOneChosen)
{
    window->SetZoom(125);
    window->showMaximized();
    QTest::qWait(50);
    ASSERT_TRUE(window->isMaximized());
    EXPECT_EQ(window->ZoomPercent(), Zoom::Fitting(QSize(632, 508 + menuHeight_), window->size()));
    EXPECT_EQ(DeskSettings::Zoom(), 125);
    window->showNormal();
    QTest::qWait(50);
    EXPECT_EQ(window->ZoomPercent(), 125);
}

} // namespace
