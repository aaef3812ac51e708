#include "app/MainM.h"
#include "controls/ClickLabel.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "io/DeskSettings.h"
#include "io/SaveINIM.h"
#include "support/FileBytes.h"
#include "support/Ink.h"
#include "support/RecordingMessenger.h"
#include "support/WindowFixture.h"

#include <QAccessible>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace
{

class StartUp : public ::testing::Test
{
protected:
    void SetUp() override { DeskSettings::UseFile(desk.filePath(QStringLiteral("zhrebikon.conf"))); }
    void TearDown() override
    {
        window.reset();
        DeskSettings::UseFile({});
    }
    void Start()
    {
        window = MainM(state, messenger, dir.path());
        ASSERT_TRUE(window);
    }
    QString IniPath() const { return dir.filePath(SettingsFile::FileName); }
    QByteArray IniBytes() const { return TestSupport::ReadBytes(IniPath()); }

    QTemporaryDir dir;
    QTemporaryDir desk; // the desktop's settings: the print size chosen
    ProgramState state;
    RecordingMessenger messenger;
    std::unique_ptr<frmForma> window;
};

QColor ButtonFace()
{
    return VbColor::ToQColor(VbColor::ButtonFace);
}

// The print sizes the "Вид" menu steps through.
constexpr int kZoomSteps[] = {100, 125, 150, 175, 200};
// How far a number may sit off its cell's centre, in pixels at 100 %: the
// margins on either side differ by at most this much.
constexpr int kOffCentre = 3;

// A run of pixels from..to, both included.
struct Span {
    int from, to;
};

// Which columns (or rows) of the picture are lines of the board's grid: dark nearly all along.
std::vector<bool> GridLines(const QImage &image, Qt::Orientation orientation)
{
    const bool vertical = orientation == Qt::Vertical;
    const int count = vertical ? image.width() : image.height();
    const int length = vertical ? image.height() : image.width();
    std::vector<bool> lines(std::size_t(count), false);
    for (int i = 0; i < count; ++i) {
        int dark = 0;
        for (int j = 0; j < length; ++j)
            dark += qGray(vertical ? image.pixel(i, j) : image.pixel(j, i)) < 100;
        lines[std::size_t(i)] = dark * 10 >= length * 9;
    }
    return lines;
}

// The runs of pixels with a line on either side.
std::vector<Span> Between(const std::vector<bool> &lines)
{
    std::vector<Span> spans;
    int from = -1;
    for (int i = 1; i < int(lines.size()); ++i) {
        if (lines[std::size_t(i)]) {
            if (from >= 0)
                spans.push_back({from, i - 1});
            from = -1;
        } else if (lines[std::size_t(i - 1)]) {
            from = i;
        }
    }
    return spans;
}

// The shape of ink: which pixels of its bounding box stand out from the ground.
struct Glyph {
    QSize size;
    std::vector<bool> ink;

    static Glyph Of(const QImage &image, const QRect &box, QRgb ground)
    {
        Glyph g{box.size(), {}};
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                g.ink.push_back(std::abs(qGray(image.pixel(x, y)) - qGray(ground)) > 96);
        return g;
    }
    bool At(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < size.width() && y < size.height() &&
               ink[std::size_t(y * size.width() + x)];
    }
    // Pixels that differ with the two shapes laid on each other, the best of
    // a pixel's shift either way (type drawn at a fraction of a pixel falls
    // a little differently).
    int Distance(const Glyph &other) const
    {
        const int w = std::max(size.width(), other.size.width()) + 1;
        const int h = std::max(size.height(), other.size.height()) + 1;
        int best = w * h;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int differing = 0;
                for (int y = -1; y < h; ++y)
                    for (int x = -1; x < w; ++x)
                        differing += At(x, y) != other.At(x + dx, y + dy);
                best = std::min(best, differing);
            }
        return best;
    }
    // The shape as rows of '#' and '.', for a failure message.
    std::string Drawn() const
    {
        std::string text;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                text += At(x, y) ? '#' : '.';
            text += '\n';
        }
        return text;
    }
};

// How number n looks written alone in the board's type at the board's print size.
Glyph Looks(const Surface &pole, int n)
{
    Surface alone;
    alone.setFont(pole.font());
    alone.SetBackColor(VbColor::ToQColor(VbColor::ButtonFace));
    alone.SetForeColor(VbColor::ToQColor(VbColor::ButtonText));
    alone.SetSurfaceSize(60, 40, pole.Image().devicePixelRatio() / pole.Zoom());
    alone.SetZoom(pole.Zoom());
    alone.Clear();
    alone.Text(10, 5, QString::number(n));
    const QImage image = alone.Image();
    const QRgb ground = image.pixel(0, 0);
    const std::optional<QRect> ink = TestSupport::InkIn(image, image.rect(), ground);
    return ink ? Glyph::Of(image, *ink, ground) : Glyph{};
}

// A rectangle as a failure message shows it.
std::string Described(const QRect &r)
{
    return QStringLiteral("%1x%2 at %3,%4")
        .arg(r.width())
        .arg(r.height())
        .arg(r.x())
        .arg(r.y())
        .toStdString();
}

// Whether the caption of a label, button or entry box shows whole: its lines
// fit inside the control, clear of its frame and margins.
bool CaptionWhole(const QWidget &w)
{
    const QFontMetrics metrics = w.fontMetrics();
    QString text;
    QRect room = w.contentsRect();
    int flags = Qt::AlignCenter;
    if (const auto *label = qobject_cast<const QLabel *>(&w)) {
        text = label->text();
        room.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
    } else if (const auto *button = qobject_cast<const QPushButton *>(&w)) {
        text = button->text();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        // The button's caption wraps onto as many lines as its room needs.
        flags |= Qt::TextWordWrap;
    } else if (const auto *box = qobject_cast<const QLineEdit *>(&w)) {
        text = box->text();
        room = box->contentsRect().marginsRemoved(box->textMargins());
    }
    if (text.isEmpty())
        return true;
    const QRect needed = metrics.boundingRect(room, flags, text);
    const bool whole = needed.width() <= room.width() && needed.height() <= room.height();
    if (!whole)
        ADD_FAILURE() << "\"" << text.toStdString() << "\" needs " << needed.width() << "x" << needed.height()
                      << ", has " << room.width() << "x" << room.height();
    return whole;
}

} // namespace

TEST_F(StartUp, WithoutSettingsFileThePaceIs100AndTheMaximum84)
{
    Start();
    EXPECT_EQ(state.settings, (Settings{100, 84}));
    EXPECT_EQ(window->Ui().Timer1->interval(), 100);
    EXPECT_FALSE(window->Ui().Timer1->isActive());
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_TRUE(state.TiragNomera.Empty());
    EXPECT_EQ(state.store.BiletCount(), 0);
}

TEST_F(StartUp, SettingsFileIsReadFromTheWorkFolder)
{
    QFile f(IniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(" 2000 \r\n 87 \r\n");
    f.close();
    Start();
    EXPECT_EQ(state.settings, (Settings{2000, 87}));
    EXPECT_EQ(window->Ui().Timer1->interval(), 2000);
}

TEST_F(StartUp, DamagedSettingsFileKeepsDefaultsAndANonPositivePaceNeverSpinsTheTimer)
{
    QFile f(IniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("-5\r\nrubbish\r\n");
    f.close();
    Start();
    EXPECT_EQ(state.settings, (Settings{-5, 84}));
    EXPECT_GE(window->Ui().Timer1->interval(), 1);
}

TEST_F(StartUp, ControlsStandInTheirPlacesWithTheirCaptions)
{
    Start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Жребикон"));
    EXPECT_EQ(window->centralWidget()->size(), QSize(632, 508));

    struct Expect {
        QWidget *w;
        QRect geometry; // an empty size means "sized to its text"
        QString caption;
        bool visible, enabled;
    };
    const frmForma &f = *window;
    const Expect controls[] = {
        {f.Ui().PolePic, {4, 80, 316, 341}, {}, true, false},
        {f.Ui().Label1, {336, 80, 0, 0}, QStringLiteral("Номера билетов и статистика"), true, true},
        {f.Ui().ListBilet1, {336, 96, 169, 154}, {}, true, true},
        {f.Ui().Tur, {512, 80, 105, 33}, QStringLiteral(" Тур-1"), true, true},
        {f.Ui().Label3, {512, 120, 105, 17}, QStringLiteral("Выигрывший билет"), true, true},
        {f.Ui().NIKA, {512, 136, 113, 108}, {}, true, true},
        {f.Ui().kBiletGotov, {512, 152, 113, 65}, QStringLiteral("Билет готов"), false, false},
        {f.Ui().Label2_0, {336, 264, 137, 25}, QStringLiteral("Билет номер:"), true, true},
        {f.Ui().NOMBILETlbl, {472, 264, 0, 0}, QString(), true, true},
        {f.Ui().Nombilet, {480, 262, 145, 32}, QString(), false, true},
        {f.Ui().BiletPic, {336, 306, 289, 198}, {}, true, false},
        {f.Ui().Label2_1, {8, 432, 137, 25}, QStringLiteral("Номер  хода:"), true, true},
        {f.Ui().NHOD, {144, 432, 33, 25}, QStringLiteral(" 0"), true, true},
        {f.Ui().Knopka, {232, 432, 81, 33}, QString(), false, true},
        {f.Ui().VVEDNOM, {8, 472, 0, 0}, QString(), true, true},
        {f.Ui().VVOD1, {192, 469, 49, 32}, QString(), false, false},
    };
    for (const Expect &e : controls) {
        SCOPED_TRACE(e.w->objectName().toStdString());
        EXPECT_EQ(e.w->pos(), e.geometry.topLeft());
        if (!e.geometry.size().isEmpty()) {
            EXPECT_EQ(e.w->size(), e.geometry.size());
        }
        EXPECT_EQ(e.w->isVisibleTo(window->centralWidget()), e.visible);
        EXPECT_EQ(e.w->isEnabled(), e.enabled);
        if (auto *label = qobject_cast<QLabel *>(e.w)) {
            EXPECT_EQ(label->text(), e.caption);
        }
        if (auto *button = qobject_cast<QPushButton *>(e.w)) {
            EXPECT_EQ(button->text(), e.caption);
        }
        if (auto *box = qobject_cast<QLineEdit *>(e.w)) {
            EXPECT_EQ(box->text(), e.caption);
        }
    }
    // Labels sized to their text show all of it.
    EXPECT_GE(f.Ui().Label1->width(), f.Ui().Label1->fontMetrics().horizontalAdvance(f.Ui().Label1->text()));
    EXPECT_LE(f.Ui().Label3->fontMetrics().horizontalAdvance(f.Ui().Label3->text()), f.Ui().Label3->width());
    EXPECT_EQ(f.Ui().NIKA->count(), 0);
    EXPECT_EQ(f.Ui().Tur->palette().color(QPalette::Window), QColor(255, 128, 128));
}

TEST_F(StartUp, EveryControlShowsWholeInsideTheWindowAndClearOfTheOthersAtEveryPrintSize)
{
    Start();
    QFile f(dir.filePath(QStringLiteral("t.rlb")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        BiletFile::Encode(QStringLiteral("Тираж77"), {TestSupport::MakeBilet(TestSupport::kRows, "017")}, 1));
    f.close();
    QWidget *client = window->findChild<QWidget *>(QStringLiteral("client"));
    ASSERT_TRUE(client);
    // The layouts of the modes: at start, keying a ticket in, a check game under way.
    const std::function<void()> layouts[] = {
        [] {},
        [this] { window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1")); },
        [this] {
            window->OpenBlt(QStringLiteral("t.rlb"));
            window->RegimProverka_Click();
            window->igra().NomerEntered(5);
        },
    };
    for (std::size_t layout = 0; layout < std::size(layouts); ++layout) {
        layouts[layout]();
        for (int percent : kZoomSteps) {
            SCOPED_TRACE(testing::Message() << "layout " << layout << " at " << percent << " %");
            window->SetZoom(percent);
            const QRect area(QPoint(0, 0), client->size());
            std::vector<QWidget *> shown;
            for (QWidget *w : client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                if (w->isVisibleTo(client) && !w->inherits("Announcer"))
                    shown.push_back(w);
            for (QWidget *w : shown) {
                SCOPED_TRACE(w->objectName().toStdString());
                // The strip runs a pixel past the window's right edge, as it always
                // has; what it shows, its number and its text, is inside.
                std::vector<QRect> seen{w->geometry()};
                if (w == static_cast<QWidget *>(window->Ui().usrReklamaX1)) {
                    seen.clear();
                    for (QWidget *part : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                        seen.push_back(QRect(part->mapTo(client, QPoint(0, 0)), part->size()));
                    EXPECT_FALSE(seen.empty());
                }
                for (const QRect &r : seen)
                    EXPECT_TRUE(area.contains(r)) << Described(r);
                EXPECT_TRUE(CaptionWhole(*w));
            }
            // Neighbours that touch share at most a line of pixels.
            const int line = (percent + 99) / 100;
            for (std::size_t i = 0; i < shown.size(); ++i)
                for (std::size_t j = i + 1; j < shown.size(); ++j) {
                    const QRect common = shown[i]->geometry() & shown[j]->geometry();
                    EXPECT_TRUE(common.isEmpty() || std::min(common.width(), common.height()) <= line)
                        << shown[i]->objectName().toStdString() << " and "
                        << shown[j]->objectName().toStdString() << " share " << Described(common);
                }
        }
        window->SetZoom(100);
    }
}

TEST_F(StartUp, FontsFollowTheWindowsThreeSizes)
{
    Start();
    const frmForma &f = *window;
    for (QWidget *w : {static_cast<QWidget *>(f.Ui().PolePic), static_cast<QWidget *>(f.Ui().Tur),
                       static_cast<QWidget *>(f.Ui().kBiletGotov)})
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), 18) << w->objectName().toStdString();
    for (QWidget *w : {static_cast<QWidget *>(f.Ui().Label1), static_cast<QWidget *>(f.Ui().Label3),
                       static_cast<QWidget *>(f.Ui().NIKA)})
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), 8.25) << w->objectName().toStdString();
    for (QWidget *w : {static_cast<QWidget *>(f.Ui().BiletPic), static_cast<QWidget *>(f.Ui().Label2_0),
                       static_cast<QWidget *>(f.Ui().NHOD), static_cast<QWidget *>(f.Ui().VVOD1),
                       static_cast<QWidget *>(f.Ui().Nombilet), static_cast<QWidget *>(f.Ui().Knopka)})
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), 13.5) << w->objectName().toStdString();
    EXPECT_TRUE(f.Ui().PolePic->font().bold());
    EXPECT_EQ(f.Ui().PolePic->font().family(), QStringLiteral("MS Sans Serif"));
}

TEST_F(StartUp, MenusHaveTheirCaptionsShortcutsAndStartStates)
{
    Start();
    struct Item {
        QAction *action;
        QString caption;
        QKeySequence shortcut;
        bool enabled;
    };
    const frmForma &f = *window;
    const Item items[] = {
        {f.Ui().File->menuAction(), QStringLiteral("Файл"), {}, true},
        {f.Ui().FileNewBilet, QStringLiteral("Создать"), QKeySequence(QStringLiteral("Ctrl+N")), true},
        {f.Ui().FileOpen, QStringLiteral("Открыть билеты"), QKeySequence(QStringLiteral("Ctrl+O")), true},
        {f.Ui().FilePhoto, QStringLiteral("Билеты со снимка…"), QKeySequence(QStringLiteral("Ctrl+I")), true},
        {f.Ui().FileSaveBilet, QStringLiteral("Сохранить билет"), QKeySequence(QStringLiteral("Ctrl+S")),
         false},
        {f.Ui().FileSaveBiletAs, QStringLiteral("Сохранить как.."), {}, false},
        {f.Ui().FileOpenTirag, QStringLiteral("Открыть тираж"), {}, false},
        {f.Ui().FileRezultat, QStringLiteral("Результаты тиража…"), QKeySequence(QStringLiteral("Ctrl+R")),
         false},
        {f.Ui().FileSaveTiragAs, QStringLiteral("Сохранить тираж как..."), {}, false},
        {f.Ui().FileOtchet, QStringLiteral("Отчёт…"), QKeySequence(QStringLiteral("Ctrl+P")), false},
        {f.Ui().FileRecent->menuAction(), QStringLiteral("Недавние файлы"), {}, true},
        {f.Ui().FileExit, QStringLiteral("Выход"), {}, true},
        {f.Ui().Regim->menuAction(), QStringLiteral("Режим"), {}, false},
        {f.Ui().RegimAddBliet, QStringLiteral("Добавить билеты"), QKeySequence(Qt::Key_F8), false},
        {f.Ui().RegimProverka, QStringLiteral("Проверка"), QKeySequence(Qt::Key_F2), true},
        {f.Ui().RegimPrizPoNomeru, QStringLiteral("Приз по номеру билета"), QKeySequence(Qt::Key_F6), true},
        {f.Ui().RegimTimer, QStringLiteral("Настройка"), QKeySequence(Qt::Key_F7), true},
        {f.Ui().RegimPovtor, QStringLiteral("Повтор"), QKeySequence(Qt::Key_F3), true},
        {f.Ui().RegimImitator, QStringLiteral("Имитатор"), QKeySequence(Qt::Key_F4), true},
        {f.Ui().RegimUndo, QStringLiteral("Отменить"), QKeySequence(QStringLiteral("Ctrl+Z")), false},
        {f.Ui().RegimKnopka, QStringLiteral("Конец игры"), QKeySequence(QStringLiteral("Ctrl+K")), false},
        {f.Ui().RegimNextTur, QStringLiteral("Следующий тур"), QKeySequence(QStringLiteral("Ctrl+T")), false},
        {f.Ui().View->menuAction(), QStringLiteral("Вид"), {}, true},
        {f.Ui().ViewLarger, QStringLiteral("Крупнее"), QKeySequence(QStringLiteral("Ctrl++")), true},
        {f.Ui().ViewSmaller, QStringLiteral("Мельче"), QKeySequence(QStringLiteral("Ctrl+-")), false},
        {f.Ui().ViewNormal, QStringLiteral("Обычный размер"), QKeySequence(QStringLiteral("Ctrl+0")), false},
        {f.Ui().Help->menuAction(), QStringLiteral("Справка"), {}, true},
        {f.Ui().HelpCallHelp, QStringLiteral("Вызов справки"), QKeySequence(QStringLiteral("F1")), true},
        {f.Ui().HelpAbout, QStringLiteral("О программе"), {}, true},
    };
    for (const Item &i : items) {
        SCOPED_TRACE(i.caption.toStdString());
        // The captions as shown; "&" marks the mnemonic letter (Alt+letter, F10).
        EXPECT_EQ(QString(i.action->text()).remove(QLatin1Char('&')), i.caption);
        EXPECT_EQ(i.action->shortcut(), i.shortcut);
        EXPECT_EQ(i.action->isEnabled(), i.enabled);
    }
    // Menu order, separators included.
    const QList<QAction *> file = f.Ui().File->actions();
    ASSERT_EQ(file.size(), 13);
    EXPECT_EQ(file[2], f.Ui().FilePhoto);
    EXPECT_TRUE(file[5]->isSeparator());
    EXPECT_EQ(file[7], f.Ui().FileRezultat);
    EXPECT_EQ(file[9], f.Ui().FileOtchet);
    EXPECT_EQ(file[10], f.Ui().FileRecent->menuAction());
    EXPECT_TRUE(file[11]->isSeparator());
    EXPECT_EQ(file[12], f.Ui().FileExit);
    const QList<QAction *> regim = f.Ui().Regim->actions();
    ASSERT_EQ(regim.size(), 12);
    EXPECT_TRUE(regim[1]->isSeparator());
    EXPECT_TRUE(regim[4]->isSeparator());
    EXPECT_EQ(regim[7], f.Ui().RegimImitator);
    EXPECT_TRUE(regim[8]->isSeparator());
    EXPECT_EQ(f.menuBar()->actions().size(), 4);
    EXPECT_EQ(f.menuBar()->actions().at(2), f.Ui().View->menuAction());
}

TEST_F(StartUp, TheBoardShowsItsGridOnTheButtonFace)
{
    Start();
    const Surface &pole = *window->Ui().PolePic;
    const QColor black(Qt::black);
    // Grid lines: every 35 pixels across, every 34 down, the last ones closing the grid.
    for (QPoint p : {QPoint(0, 0), QPoint(35, 20), QPoint(315, 100), QPoint(100, 34), QPoint(200, 340),
                     QPoint(315, 340), QPoint(280, 306)})
        EXPECT_EQ(pole.Pixel(p.x(), p.y()), black) << p.x() << "," << p.y();
    // Inside the cells, clear of the numbers: button face.
    for (QPoint p : {QPoint(1, 1), QPoint(34, 33), QPoint(281, 307), QPoint(36, 35)})
        EXPECT_EQ(pole.Pixel(p.x(), p.y()), ButtonFace()) << p.x() << "," << p.y();
}

TEST_F(StartUp, EveryNumberIsWrittenWholeAndCentredInItsBoardCellAtEveryPrintSize)
{
    Start();
    const Surface &pole = *window->Ui().PolePic;
    for (int percent : kZoomSteps) {
        SCOPED_TRACE(percent);
        window->SetZoom(percent);
        const QImage image = pole.Image();
        // The cells as the picture shows them: 9 columns of 10, between the grid's lines.
        const std::vector<Span> columns = Between(GridLines(image, Qt::Vertical));
        const std::vector<Span> rows = Between(GridLines(image, Qt::Horizontal));
        ASSERT_EQ(columns.size(), 9u);
        ASSERT_EQ(rows.size(), 10u);
        std::vector<Glyph> looks;
        for (int n = 1; n <= 90; ++n)
            looks.push_back(Looks(pole, n));
        for (int n = 1; n <= 90; ++n) {
            SCOPED_TRACE(n);
            const Span across = columns[std::size_t((n - 1) / 10)], down = rows[std::size_t((n - 1) % 10)];
            const QRect cell(QPoint(across.from, down.from), QPoint(across.to, down.to));
            const std::optional<QRect> ink = TestSupport::InkIn(image, cell, image.pixel(cell.topLeft()));
            ASSERT_TRUE(ink);
            // Clear of the lines on every side...
            EXPECT_GT(ink->left(), cell.left());
            EXPECT_LT(ink->right(), cell.right());
            EXPECT_GT(ink->top(), cell.top());
            EXPECT_LT(ink->bottom(), cell.bottom());
            // ...about as far from the left line as from the right, and from the top as from the bottom...
            const int leftGap = ink->left() - cell.left(), rightGap = cell.right() - ink->right();
            const int topGap = ink->top() - cell.top(), bottomGap = cell.bottom() - ink->bottom();
            EXPECT_LE(std::abs(leftGap - rightGap), kOffCentre * percent / 100) << leftGap << " " << rightGap;
            EXPECT_LE(std::abs(topGap - bottomGap), kOffCentre * percent / 100) << topGap << " " << bottomGap;
            // ...and whole, reading as its own number and as no other.
            const Glyph seen = Glyph::Of(image, *ink, image.pixel(cell.topLeft()));
            const Glyph &own = looks[std::size_t(n - 1)];
            EXPECT_LE(std::abs(seen.size.width() - own.size.width()), 1);
            EXPECT_LE(std::abs(seen.size.height() - own.size.height()), 1);
            std::vector<int> distances;
            for (const Glyph &number : looks)
                distances.push_back(seen.Distance(number));
            const auto nearest = std::min_element(distances.begin(), distances.end()) - distances.begin();
            EXPECT_EQ(nearest + 1, n) << seen.Drawn() << "\nis nearer to\n"
                                      << looks[std::size_t(nearest)].Drawn() << "\nthan to\n"
                                      << own.Drawn();
        }
    }
    window->SetZoom(100);
}

TEST_F(StartUp, TheEmptyCardShowsTwoFieldsAndTheBandBetween)
{
    Start();
    const Surface &card = *window->Ui().BiletPic;
    const QColor black(Qt::black), white = VbColor::ToQColor(VbColor::HighlightText);
    for (QPoint p : {QPoint(0, 0), QPoint(288, 0), QPoint(32, 50), QPoint(100, 93), QPoint(0, 104),
                     QPoint(288, 197), QPoint(150, 135), QPoint(256, 150)})
        EXPECT_EQ(card.Pixel(p.x(), p.y()), black) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(1, 1), QPoint(31, 30), QPoint(200, 120), QPoint(287, 196)})
        EXPECT_EQ(card.Pixel(p.x(), p.y()), white) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(0, 94), QPoint(288, 103), QPoint(150, 98), QPoint(32, 100)})
        EXPECT_EQ(card.Pixel(p.x(), p.y()), ButtonFace()) << p.x() << "," << p.y();
}

TEST_F(StartUp, ClosingAndAnsweringNoChangesNothing)
{
    Start();
    window->show();
    state.RegimState = Rezhim::Zagruzka;
    state.settings.MaxHod = 88;
    const QImage pole = window->Ui().PolePic->Image();
    messenger.Script({MsgAnswer::No});
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, QStringLiteral("Закрыть программу?"));
    EXPECT_FALSE(QFile::exists(IniPath()));
    EXPECT_EQ(state.RegimState, Rezhim::Zagruzka);
    EXPECT_EQ(state.settings.MaxHod, 88);
    EXPECT_EQ(window->Ui().PolePic->Image(), pole);
}

TEST_F(StartUp, ExitMenuAsksAndYesWritesTheSettingsFile)
{
    Start();
    window->show();
    state.settings = Settings{3000, 81};
    messenger.Script({MsgAnswer::Yes});
    window->Ui().FileExit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(IniBytes(), QByteArray(" 3000 \r\n 81 \r\n"));
}

TEST_F(StartUp, TheWindowHasTheProgramsIcon)
{
    Start();
    const QIcon icon = window->windowIcon();
    ASSERT_FALSE(icon.isNull());
    if (QIcon::hasThemeIcon(QStringLiteral("zhrebikon")))
        return; // the installed icon
    // The drawn paper ticket: white inside, a tour colour along its top.
    const QImage image = icon.pixmap(64, 64).toImage();
    EXPECT_EQ(image.pixelColor(20, 42), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(17, 17), QColor(255, 149, 149));
}

TEST_F(StartUp, EntryBoxesAndListsAreNamedByTheirLabels)
{
    Start();
    const auto name = [](QWidget *w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    };
    window->FileNewBilet2(Loto::RusLoto(), QStringLiteral("1"));
    EXPECT_TRUE(name(window->Ui().VVOD1).startsWith(QStringLiteral("Введите номер")))
        << name(window->Ui().VVOD1).toStdString();
    EXPECT_TRUE(name(window->Ui().Nombilet).startsWith(QStringLiteral("Билет номер")));
    EXPECT_EQ(name(window->Ui().NIKA), QStringLiteral("Выигрывший билет"));
    EXPECT_EQ(name(window->Ui().ListBilet1), QStringLiteral("Номера билетов и статистика"));
}
