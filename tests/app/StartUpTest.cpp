#include "app/MainM.h"
#include "controls/ClickLabel.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "io/SaveINIM.h"
#include "support/FileBytes.h"
#include "support/RecordingMessenger.h"

#include <QAccessible>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

class StartUp : public ::testing::Test
{
protected:
    void Start()
    {
        window = MainM(state, messenger, dir.path());
        ASSERT_TRUE(window);
    }
    QString IniPath() const { return dir.filePath(SettingsFile::FileName); }
    QByteArray IniBytes() const { return TestSupport::ReadBytes(IniPath()); }

    QTemporaryDir dir;
    ProgramState state;
    RecordingMessenger messenger;
    std::unique_ptr<frmForma> window;
};

QColor ButtonFace()
{
    return VbColor::ToQColor(VbColor::ButtonFace);
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

TEST_F(StartUp, EveryNumberIsWrittenInItsBoardCell)
{
    Start();
    const Surface &pole = *window->Ui().PolePic;
    // Each cell, away from its edges, looks exactly like its own number alone
    // on the button face, centred on the cell three pixels to the left.
    for (int n = 1; n <= 90; ++n) {
        const int x = 35 * ((n - 1) / 10), y = 34 * ((n - 1) % 10);
        const QString text = QStringLiteral(" %1").arg(n);
        QImage alone(35, 34, QImage::Format_RGB32);
        alone.fill(ButtonFace());
        QPainter p(&alone);
        p.setFont(pole.font());
        p.setPen(VbColor::ToQColor(VbColor::ButtonText));
        p.drawText(QPoint((35 - pole.TextWidth(text)) / 2 - 3, 3 + QFontMetrics(pole.font()).ascent()), text);
        p.end();
        int differing = 0;
        for (int dy = 3; dy <= 31; ++dy)
            for (int dx = 3; dx <= 32; ++dx)
                differing += pole.Pixel(x + dx, y + dy) != alone.pixelColor(dx, dy);
        EXPECT_EQ(differing, 0) << "number " << n;
    }
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
