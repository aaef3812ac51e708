#include "dialogs/frmTIMER.h"
#include "support/Ink.h"

#include "controls/Fonts.h"
#include "core/Messenger.h"
#include "support/RecordingMessenger.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <optional>

namespace
{

using namespace TestSupport;

const QString RefusalText = QStringLiteral("Максимум ходов должно быть\nболее 80, но менее 90");

class frmTIMERTest : public ::testing::Test
{
protected:
    // Builds a fresh dialog for the current settings and shows it the way the
    // window does, only without blocking.
    void Open()
    {
        dialog = std::make_unique<frmTIMER>(settings, messenger);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    void Open(qint32 maxHod, qint32 interval)
    {
        settings.MaxHod = maxHod;
        settings.interval = interval;
        Open();
    }

    void Type(const char *text) { QTest::keyClicks(dialog->Text1, QString::fromLatin1(text)); }

    // Sends one key carrying a character keyClicks cannot send (anything beyond Latin-1).
    void TypeChar(QChar c)
    {
        QTest::sendKeyEvent(QTest::Click, dialog->Text1, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    void Press(Qt::Key key) { QTest::keyClick(dialog->Text1, key); }

    void Paste(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(dialog->Text1, Qt::Key_V, Qt::ControlModifier);
    }

    // Replaces the maximum by typing over the whole box.
    void Retype(const char *text)
    {
        dialog->Text1->selectAll();
        Type(text);
    }

    QString Shown() const { return dialog->Text1->text(); }

    Settings settings;
    RecordingMessenger messenger;
    std::unique_ptr<frmTIMER> dialog;
};

TEST_F(frmTIMERTest, OpensWithTheDefaultsShownAndTheFocusInTheMaximumBox)
{
    Open();

    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Настройка"));
    EXPECT_EQ(Shown(), QStringLiteral("84"));
    EXPECT_EQ(dialog->Combo1->currentText(), QStringLiteral("0,1 секунды"));
    EXPECT_EQ(QApplication::focusWidget(), dialog->Text1);
    EXPECT_TRUE(dialog->OK->isDefault());
    EXPECT_FALSE(dialog->No->isDefault());
    EXPECT_TRUE(messenger.shown.empty());

    // The user cannot resize it, and it offers no context help button.
    EXPECT_EQ(dialog->size(), QSize(219, 137));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST_F(frmTIMERTest, ControlsSitWhereTheyBelongWithTheirTextsAndFonts)
{
    Open();

    struct Expected {
        const char *name;
        QWidget *control;
        QRect geometry;
        double pointSize;
    };
    const Expected controls[] = {
        {"Text1", dialog->Text1, QRect(160, 14, 49, 28), 12},
        {"Combo1", dialog->Combo1, QRect(80, 53, 129, 28), 12},
        {"OK", dialog->OK, QRect(40, 96, 81, 33), 9.75},
        {"No", dialog->No, QRect(128, 96, 81, 33), 9.75},
    };
    for (const Expected &e : controls) {
        EXPECT_EQ(dialog->findChild<QWidget *>(QLatin1String(e.name)), e.control) << e.name;
        EXPECT_TRUE(e.control->isVisible()) << e.name;
        EXPECT_EQ(e.control->geometry(), e.geometry) << e.name;
        EXPECT_EQ(e.control->font().family(), Fonts::Family) << e.name;
        EXPECT_DOUBLE_EQ(e.control->font().pointSizeF(), e.pointSize) << e.name;
        EXPECT_TRUE(e.control->font().bold()) << e.name;
    }

    EXPECT_EQ(dialog->OK->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->No->text(), QStringLiteral("Отмена"));

    // A drop-down list: only its five entries can be chosen.
    EXPECT_FALSE(dialog->Combo1->isEditable());
    const QStringList entries{QStringLiteral("0,1 секунды"), QStringLiteral("0,5 секунды"),
                              QStringLiteral("1 секунда"), QStringLiteral("2 секунды"),
                              QStringLiteral("3 секунды")};
    ASSERT_EQ(dialog->Combo1->count(), entries.size());
    for (int i = 0; i < entries.size(); ++i)
        EXPECT_EQ(dialog->Combo1->itemText(i), entries[i]) << i;
}

TEST_F(frmTIMERTest, TabVisitsTheBoxTheListAndTheButtonsInTurn)
{
    Open();
    QWidget *const order[] = {dialog->Combo1, dialog->OK, dialog->No, dialog->Text1};

    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(frmTIMERTest, CaptionsAreDrawnWithTheirTopLeftAtTheGivenPoints)
{
    Open();
    const QImage surface = SurfaceOf(*dialog);
    const QRgb background = surface.pixel(dialog->width() - 1, dialog->height() - 1);
    const QFontMetrics metrics(Fonts::Make(12));

    struct Caption {
        QString text;
        QPoint topLeft;
    };
    const Caption captions[] = {{QStringLiteral("Максимум ходов:"), QPoint(8, 16)},
                                {QStringLiteral("Таймер:"), QPoint(8, 56)}};
    for (const Caption &c : captions) {
        // Where the glyphs of the text lie when its top-left corner is at the point.
        const QRect expected =
            metrics.tightBoundingRect(c.text).translated(c.topLeft + QPoint(0, metrics.ascent()));
        // Search a generous band around it, clear of the other caption.
        const QRect band(0, c.topLeft.y() - 14, dialog->width(), 36);
        const std::optional<QRect> ink = InkIn(surface, band, background);
        ASSERT_TRUE(ink.has_value()) << c.text.toStdString();
        EXPECT_NEAR(ink->left(), expected.left(), 2) << c.text.toStdString();
        EXPECT_NEAR(ink->top(), expected.top(), 2) << c.text.toStdString();
        EXPECT_NEAR(ink->bottom(), expected.bottom(), 2) << c.text.toStdString();
        EXPECT_NEAR(ink->width(), expected.width(), 3) << c.text.toStdString();
    }
}

TEST_F(frmTIMERTest, MaximumShowsItsLastTwoCharactersWithTheSignSpace)
{
    struct Case {
        qint32 maxHod;
        const char *shown;
    };
    // Values other than 81 to 89 come only from an edited settings file.
    const Case cases[] = {{84, "84"}, {7, " 7"}, {0, " 0"}, {123, "23"}, {-5, "-5"}, {-45, "45"}};
    for (const Case &c : cases) {
        Open(c.maxHod, 100);
        EXPECT_EQ(Shown(), QString::fromLatin1(c.shown)) << c.maxHod;
    }
}

TEST_F(frmTIMERTest, IntervalsMapToTheirEntriesAndBack)
{
    struct Case {
        qint32 interval;
        int index;
    };
    const Case exact[] = {{100, 0}, {500, 1}, {1000, 2}, {2000, 3}, {3000, 4}};
    for (const Case &c : exact) {
        EXPECT_EQ(frmTIMER::IndexOfInterval(c.interval), c.index) << c.interval;
        EXPECT_EQ(frmTIMER::IntervalOfIndex(c.index), c.interval) << c.index;
    }

    // Intervals of no entry: whole seconds decide, truncated, and the ends of
    // the list take whatever lies beyond them.
    const Case between[] = {{0, 0},    {99, 0},   {700, 0},   {999, 0},   {1500, 2},
                            {2999, 3}, {3999, 4}, {4000, 4},  {60000, 4}, {INT_MAX, 4},
                            {-1, 0},   {-500, 0}, {-1000, 0}, {-5000, 0}, {INT_MIN, 0}};
    for (const Case &c : between)
        EXPECT_EQ(frmTIMER::IndexOfInterval(c.interval), c.index) << c.interval;

    // An index the list does not have stands for the nearest entry.
    EXPECT_EQ(frmTIMER::IntervalOfIndex(-1), 100);
    EXPECT_EQ(frmTIMER::IntervalOfIndex(5), 3000);
}

TEST_F(frmTIMERTest, OpeningSelectsTheEntryOfTheCurrentInterval)
{
    struct Case {
        qint32 interval;
        const char *entry;
    };
    const Case cases[] = {{500, "0,5 секунды"}, {1000, "1 секунда"}, {3000, "3 секунды"},
                          {700, "0,1 секунды"}, {4000, "3 секунды"}, {-200, "0,1 секунды"}};
    for (const Case &c : cases) {
        Open(84, c.interval);
        EXPECT_EQ(dialog->Combo1->currentText(), QString::fromUtf8(c.entry)) << c.interval;
    }
}

TEST_F(frmTIMERTest, MaximumOutsideEightyOneToEightyNineIsRefusedAndTheDialogStays)
{
    for (const char *typed : {"80", "90", "8", "", "09", "99"}) {
        Open(84, 100);
        dialog->Combo1->setCurrentIndex(3);
        Retype(typed);
        if (QString::fromLatin1(typed).isEmpty())
            Press(Qt::Key_Backspace);
        messenger.shown.clear();

        QTest::mouseClick(dialog->OK, Qt::LeftButton);

        ASSERT_EQ(messenger.shown.size(), 1u) << typed;
        EXPECT_EQ(messenger.shown[0].text, RefusalText) << typed;
        EXPECT_EQ(messenger.shown[0].icon, MsgIcon::Error) << typed;
        EXPECT_EQ(messenger.shown[0].title, Titles::App) << typed;
        EXPECT_EQ(messenger.shown[0].buttons, MsgButtons::Ok) << typed;
        EXPECT_TRUE(dialog->isVisible()) << typed;
        EXPECT_EQ(settings, Settings{}) << typed;
    }
}

TEST_F(frmTIMERTest, MaximumOfEightyOneAndEightyNineIsTakenWithTheChosenInterval)
{
    struct Case {
        const char *typed;
        int entry;
        qint32 maxHod;
        qint32 interval;
    };
    const Case cases[] = {{"81", 1, 81, 500}, {"89", 4, 89, 3000}, {"85", 0, 85, 100}};
    for (const Case &c : cases) {
        Open(84, 1000);
        QSignalSpy accepted(dialog.get(), &QDialog::accepted);
        Retype(c.typed);
        dialog->Combo1->setCurrentIndex(c.entry);

        QTest::mouseClick(dialog->OK, Qt::LeftButton);

        EXPECT_TRUE(messenger.shown.empty()) << c.typed;
        EXPECT_FALSE(dialog->isVisible()) << c.typed;
        EXPECT_EQ(accepted.count(), 1) << c.typed;
        EXPECT_EQ(settings.MaxHod, c.maxHod) << c.typed;
        EXPECT_EQ(settings.interval, c.interval) << c.typed;
    }
}

TEST_F(frmTIMERTest, ChosenIntervalIsShownAgainOnReopening)
{
    Open();
    QTest::keyClick(dialog->Combo1, Qt::Key_Down);
    QTest::keyClick(dialog->Combo1, Qt::Key_Down);
    QTest::keyClick(dialog->Combo1, Qt::Key_Down);
    ASSERT_EQ(dialog->Combo1->currentText(), QStringLiteral("2 секунды"));

    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    EXPECT_EQ(settings.interval, 2000);
    EXPECT_EQ(settings.MaxHod, 84);

    Open();
    EXPECT_EQ(dialog->Combo1->currentText(), QStringLiteral("2 секунды"));
    EXPECT_EQ(Shown(), QStringLiteral("84"));
}

TEST_F(frmTIMERTest, EnterInTheMaximumBoxWorksAsOk)
{
    Open();
    Retype("80");
    Press(Qt::Key_Return);
    EXPECT_EQ(messenger.shown.size(), 1u);
    EXPECT_TRUE(dialog->isVisible());

    Retype("88");
    Press(Qt::Key_Enter);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.MaxHod, 88);
}

TEST_F(frmTIMERTest, EveryOtherWayOutLeavesTheSettingsAlone)
{
    // Each way out is taken after the user has changed both controls.
    struct Way {
        const char *name;
        std::function<void(frmTIMER &)> leave;
    };
    const Way ways[] = {
        {"Отмена", [](frmTIMER &d) { QTest::mouseClick(d.No, Qt::LeftButton); }},
        {"Esc in the box", [](frmTIMER &d) { QTest::keyClick(d.Text1, Qt::Key_Escape); }},
        {"Esc in the list",
         [](frmTIMER &d) {
             d.Combo1->setFocus();
             QTest::keyClick(d.Combo1, Qt::Key_Escape);
         }},
    };
    for (const Way &way : ways) {
        Open(84, 100);
        QSignalSpy accepted(dialog.get(), &QDialog::accepted);
        Retype("87");
        dialog->Combo1->setCurrentIndex(2);

        way.leave(*dialog);

        EXPECT_FALSE(dialog->isVisible()) << way.name;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << way.name;
        EXPECT_EQ(accepted.count(), 0) << way.name;
        EXPECT_EQ(settings, Settings{}) << way.name;
        EXPECT_TRUE(messenger.shown.empty()) << way.name;
    }
}

TEST_F(frmTIMERTest, MaximumBoxTakesOnlyDigitsAndAtMostTwo)
{
    Open(84, 100);
    // The maximum is selected at opening, so typing replaces it at once.
    EXPECT_EQ(dialog->Text1->selectedText(), QStringLiteral("84"));
    Type("85");
    EXPECT_EQ(Shown(), QStringLiteral("85"));
    Retype("84");

    // A full box refuses another digit until it is shortened.
    Type("5");
    EXPECT_EQ(Shown(), QStringLiteral("84"));
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), QStringLiteral("8"));

    Type("a -+.,Z");
    TypeChar(QChar(0x0416)); // Cyrillic capital Zhe
    TypeChar(QChar(0x0663)); // Arabic-Indic three: a digit, but not one of 0 to 9
    TypeChar(QChar(0x00BD)); // one half
    EXPECT_EQ(Shown(), QStringLiteral("8"));

    Type("67");
    EXPECT_EQ(Shown(), QStringLiteral("86"));

    // What is selected makes room for what is typed over it.
    Retype("83");
    EXPECT_EQ(Shown(), QStringLiteral("83"));
    dialog->Text1->setSelection(1, 1);
    Type("2");
    EXPECT_EQ(Shown(), QStringLiteral("82"));

    // Backspace empties the box; Delete shortens it too.
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), QString());
    Type("81");
    Press(Qt::Key_Home);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Shown(), QStringLiteral("1"));
}

TEST_F(frmTIMERTest, OneDigitMaximumKeepsItsSignSpaceUntilRemoved)
{
    Open(7, 100);
    ASSERT_EQ(Shown(), QStringLiteral(" 7"));
    Press(Qt::Key_End);

    // Two characters already: no digit fits.
    Type("8");
    EXPECT_EQ(Shown(), QStringLiteral(" 7"));
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    EXPECT_EQ(messenger.shown.size(), 1u);

    // Replacing the digit keeps the space in front and counts only the digit.
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), QStringLiteral(" "));
    Type("8");
    EXPECT_EQ(Shown(), QStringLiteral(" 8"));

    // Without the space there is room for a second digit.
    Press(Qt::Key_Home);
    Press(Qt::Key_Delete);
    Press(Qt::Key_End);
    Type("3");
    EXPECT_EQ(Shown(), QStringLiteral("83"));
    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    EXPECT_EQ(settings.MaxHod, 83);
}

TEST_F(frmTIMERTest, PastingBringsInNoOtherCharactersAndNoThird)
{
    Open(84, 100);
    Press(Qt::Key_End);
    Paste(QStringLiteral("1"));
    EXPECT_EQ(Shown(), QStringLiteral("84"));

    dialog->Text1->clear();
    Paste(QStringLiteral("Ж a"));
    EXPECT_EQ(Shown(), QString());

    Paste(QStringLiteral("8x"));
    EXPECT_EQ(Shown(), QStringLiteral("8"));

    Paste(QStringLiteral("-+ 6,5"));
    EXPECT_EQ(Shown(), QStringLiteral("86"));

    dialog->Text1->clear();
    Paste(QStringLiteral("123"));
    EXPECT_EQ(Shown(), QStringLiteral("12"));

    // A third digit pasted in front or in the middle does not push one out.
    Press(Qt::Key_Home);
    Paste(QStringLiteral("9"));
    dialog->Text1->setCursorPosition(1);
    Paste(QStringLiteral("9"));
    EXPECT_EQ(Shown(), QStringLiteral("12"));

    // A number copied with its sign space comes in whole.
    dialog->Text1->clear();
    Paste(QStringLiteral(" 85 "));
    EXPECT_EQ(Shown(), QStringLiteral("85"));

    // Pasting over a selection replaces it.
    dialog->Text1->selectAll();
    Paste(QStringLiteral("8 7"));
    EXPECT_EQ(Shown(), QStringLiteral("87"));

    // The sign space of a one-digit maximum cannot be pasted back once removed.
    Open(7, 100);
    Press(Qt::Key_Home);
    Press(Qt::Key_Delete);
    ASSERT_EQ(Shown(), QStringLiteral("7"));
    Paste(QStringLiteral(" "));
    EXPECT_EQ(Shown(), QStringLiteral("7"));
}

} // namespace
