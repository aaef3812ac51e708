#include "dialogs/PrizNB.h"
#include "support/Ink.h"

#include "controls/Fonts.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

namespace
{

using namespace TestSupport;

constexpr int X = 10;
constexpr int Back = 11;

class PrizNBTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog = std::make_unique<PrizNB>();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Presses keypad keys in order: 0..9 the digits, X and Back.
    void Keys(std::initializer_list<int> keys)
    {
        for (int k : keys)
            QTest::mouseClick(dialog->Knopka[static_cast<std::size_t>(k)], Qt::LeftButton);
    }

    void ChooseRight()
    {
        QTest::mouseClick(dialog->Storona[1], Qt::LeftButton);
        ASSERT_TRUE(dialog->Storona[1]->isChecked());
    }

    void Type(const char *text) { QTest::keyClicks(dialog->TxtNB, QString::fromLatin1(text)); }

    // Sends one key carrying a character that keyClicks cannot send (anything beyond Latin-1).
    void TypeChar(const QString &ch)
    {
        QTest::sendKeyEvent(QTest::Click, dialog->TxtNB, Qt::Key_unknown, ch, Qt::NoModifier);
    }

    void Press(Qt::Key key) { QTest::keyClick(dialog->TxtNB, key); }

    QString Shown() const { return dialog->TxtNB->text(); }

    std::unique_ptr<PrizNB> dialog;
};

TEST_F(PrizNBTest, OpensEmptyKeyingFromTheLeftWithTheFocusInTheBox)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Приз по номеру билета"));
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(dialog->Storona[0]->isChecked());
    EXPECT_FALSE(dialog->Storona[1]->isChecked());
    EXPECT_TRUE(dialog->Storona[0]->isEnabled());
    EXPECT_TRUE(dialog->Storona[1]->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), dialog->TxtNB);
    EXPECT_TRUE(dialog->OK->isDefault());
    EXPECT_FALSE(dialog->kNo->isDefault());

    const char *captions[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "X", "<"};
    for (int i = 0; i < 12; ++i) {
        QPushButton *key = dialog->Knopka[static_cast<std::size_t>(i)];
        EXPECT_EQ(key->text(), QString::fromLatin1(captions[i])) << i;
        EXPECT_EQ(key->isEnabled(), i != Back) << i;
        EXPECT_EQ(key->focusPolicy(), Qt::NoFocus) << i;
    }
    EXPECT_EQ(dialog->Storona[0]->text(), QStringLiteral("Проверка слева"));
    EXPECT_EQ(dialog->Storona[1]->text(), QStringLiteral("Проверка справа"));
    EXPECT_EQ(dialog->OK->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->kNo->text(), QStringLiteral("Отмена"));

    // The user cannot resize it, and it offers no context help button.
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST_F(PrizNBTest, ControlsSitOnTheirPlacesUnderTheirNamesAndTheirTextsFit)
{
    struct Place {
        const char *name;
        QRect rect;
    };
    const Place places[] = {
        {"Knopka_10", {8, 32, 33, 33}},   {"Knopka_11", {48, 32, 33, 33}},  {"Knopka_0", {88, 32, 33, 33}},
        {"Knopka_1", {128, 32, 33, 33}},  {"Knopka_2", {168, 32, 33, 33}},  {"Knopka_3", {208, 32, 33, 33}},
        {"Knopka_4", {8, 72, 33, 33}},    {"Knopka_5", {48, 72, 33, 33}},   {"Knopka_6", {88, 72, 33, 33}},
        {"Knopka_7", {128, 72, 33, 33}},  {"Knopka_8", {168, 72, 33, 33}},  {"Knopka_9", {208, 72, 33, 33}},
        {"Storona_0", {8, 112, 161, 20}}, {"Storona_1", {8, 136, 169, 20}}, {"TxtNB", {8, 192, 233, 28}},
        {"OK", {88, 232, 73, 33}},        {"kNo", {168, 232, 73, 33}}};
    // Everything keeps a margin of at least 8 px from the dialog's edges.
    const QRect inner = dialog->rect().adjusted(8, 8, -8, -8);
    for (const Place &p : places) {
        const QWidget *control = dialog->findChild<QWidget *>(QLatin1String(p.name));
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_TRUE(control->isVisible()) << p.name;
        EXPECT_EQ(control->geometry(), p.rect) << p.name;
        EXPECT_TRUE(inner.contains(control->geometry())) << p.name;
    }

    // Captions are not cut off in the fonts chosen for them.
    for (const QRadioButton *side : dialog->Storona) {
        EXPECT_LE(side->sizeHint().width(), side->width()) << side->text().toStdString();
        EXPECT_LE(QFontMetrics(side->font()).height(), side->height()) << side->text().toStdString();
    }
    for (const QPushButton *button : {dialog->Knopka[8], dialog->Knopka[X], dialog->OK, dialog->kNo}) {
        const QFontMetrics metrics(button->font());
        EXPECT_LT(metrics.horizontalAdvance(button->text()) + 8, button->width())
            << button->text().toStdString();
        EXPECT_LT(metrics.height() + 8, button->height()) << button->text().toStdString();
    }
    EXPECT_LT(QFontMetrics(dialog->TxtNB->font()).height() + 4, dialog->TxtNB->height());
}

TEST_F(PrizNBTest, TitlesAreDrawnAtTheirPointsClearOfTheControls)
{
    const QImage surface = SurfaceOf(*dialog);
    const QRgb background = surface.pixel(dialog->width() - 1, dialog->height() - 1);
    const QFontMetrics metrics(Fonts::Make(12));

    struct Title {
        QString text;
        QPoint topLeft;
    };
    const Title titles[] = {{QStringLiteral("Набор номера"), QPoint(8, 8)},
                            {QStringLiteral("Выигрышный номер"), QPoint(8, 168)}};
    for (const Title &t : titles) {
        // Where the glyphs of the text lie when its top-left corner is at the point.
        const QRect expected =
            metrics.tightBoundingRect(t.text).translated(t.topLeft + QPoint(0, metrics.ascent()));
        const QRect band(0, t.topLeft.y() - 6, dialog->width(), 26);
        const std::optional<QRect> ink = InkIn(surface, band, background);
        ASSERT_TRUE(ink.has_value()) << t.text.toStdString();
        EXPECT_NEAR(ink->left(), expected.left(), 2) << t.text.toStdString();
        EXPECT_NEAR(ink->top(), expected.top(), 2) << t.text.toStdString();
        EXPECT_NEAR(ink->bottom(), expected.bottom(), 2) << t.text.toStdString();
        EXPECT_NEAR(ink->width(), expected.width(), 3) << t.text.toStdString();

        // No control covers any part of the text.
        const QRect textBox(t.topLeft, QSize(metrics.horizontalAdvance(t.text), metrics.height()));
        EXPECT_TRUE(dialog->rect().contains(textBox)) << t.text.toStdString();
        for (const QWidget *control : dialog->findChildren<QWidget *>())
            EXPECT_FALSE(control->geometry().intersects(textBox))
                << t.text.toStdString() << " under " << control->objectName().toStdString();
    }
}

TEST_F(PrizNBTest, KeysAddTheirCharacterOnTheChosenSide)
{
    Keys({1, 2, X, 0});
    EXPECT_EQ(Shown(), QStringLiteral("12X0"));
}

TEST_F(PrizNBTest, KeyingFromTheRightBuildsTheNumberBackwards)
{
    ChooseRight();
    Keys({5, 4, X, X, X});
    EXPECT_EQ(Shown(), QStringLiteral("XXX45"));

    // The keypad writes in front of whatever the box holds, typed text included.
    Type("7");
    Keys({9});
    EXPECT_EQ(Shown(), QStringLiteral("9XXX457"));
}

TEST_F(PrizNBTest, FirstKeyFixesTheDirectionAndEnablesBackspace)
{
    // Typing straight into the box leaves the direction open.
    Type("3");
    EXPECT_TRUE(dialog->Storona[0]->isEnabled());
    EXPECT_TRUE(dialog->Storona[1]->isEnabled());
    EXPECT_FALSE(dialog->Knopka[Back]->isEnabled());
    ChooseRight();

    Keys({6});
    EXPECT_FALSE(dialog->Storona[0]->isEnabled());
    EXPECT_FALSE(dialog->Storona[1]->isEnabled());
    EXPECT_TRUE(dialog->Storona[1]->isChecked());
    EXPECT_TRUE(dialog->Knopka[Back]->isEnabled());
    EXPECT_EQ(Shown(), QStringLiteral("63"));

    // Emptying the box again does not reopen the choice.
    Keys({Back, Back, Back});
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_FALSE(dialog->Storona[0]->isEnabled());
    EXPECT_FALSE(dialog->Storona[1]->isEnabled());
    EXPECT_TRUE(dialog->Knopka[Back]->isEnabled());
}

TEST_F(PrizNBTest, BackspaceKeyRemovesFromTheSideBeingKeyed)
{
    Keys({1, 2, 3, Back});
    EXPECT_EQ(Shown(), QStringLiteral("12"));
    Keys({Back, Back, Back});
    EXPECT_TRUE(Shown().isEmpty());

    // A character typed outside Latin-1 that takes two code units goes as a whole.
    TypeChar(QString::fromUtf16(u"1\U0001F340"));
    Keys({Back});
    EXPECT_EQ(Shown(), QStringLiteral("1"));

    dialog = std::make_unique<PrizNB>();
    dialog->show();
    ChooseRight();
    Keys({1, 2, 3});
    ASSERT_EQ(Shown(), QStringLiteral("321"));
    Keys({Back});
    EXPECT_EQ(Shown(), QStringLiteral("21"));
    dialog->TxtNB->setText(QString::fromUtf16(u"\U0001F3405"));
    Keys({Back});
    EXPECT_EQ(Shown(), QStringLiteral("5"));
}

TEST_F(PrizNBTest, KeypadLeavesTheFocusInTheBoxSoEnterConfirms)
{
    Keys({1, 2});
    ASSERT_EQ(QApplication::focusWidget(), dialog->TxtNB);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Pattern(), QStringLiteral("12"));
}

TEST_F(PrizNBTest, TypedNumberIsUpperCasedOnConfirming)
{
    Type("xx12");
    EXPECT_EQ(dialog->Pattern(), QString()) << "nothing is confirmed yet";

    Press(Qt::Key_Enter);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Shown(), QStringLiteral("XX12"));
    EXPECT_EQ(dialog->Pattern(), QStringLiteral("XX12"));
}

TEST_F(PrizNBTest, TypedCyrillicIsUpperCasedOnOk)
{
    for (QChar c : QStringLiteral("аб-7"))
        TypeChar(QString(c));
    ASSERT_EQ(Shown(), QStringLiteral("аб-7"));

    QTest::mouseClick(dialog->OK, Qt::LeftButton);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Pattern(), QStringLiteral("АБ-7"));
}

TEST_F(PrizNBTest, EscapeInTheBoxOrOnAKeyClosesWithoutANumber)
{
    const std::function<void(PrizNB &)> escapes[] = {
        [](PrizNB &d) { QTest::keyClick(d.TxtNB, Qt::Key_Escape); },
        [](PrizNB &d) { QTest::keyClick(d.Knopka[7], Qt::Key_Escape); },
        [](PrizNB &d) { QTest::keyClick(d.Knopka[X], Qt::Key_Escape); },
    };
    for (std::size_t i = 0; i < std::size(escapes); ++i) {
        dialog = std::make_unique<PrizNB>();
        dialog->show();
        QSignalSpy accepted(dialog.get(), &QDialog::accepted);
        QSignalSpy finished(dialog.get(), &QDialog::finished);
        Keys({4, X});

        escapes[i](*dialog);

        EXPECT_FALSE(dialog->isVisible()) << i;
        EXPECT_EQ(finished.count(), 1) << i;
        EXPECT_EQ(accepted.count(), 0) << i;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << i;
        EXPECT_TRUE(dialog->Pattern().isEmpty()) << i;
    }
}

TEST_F(PrizNBTest, ConfirmingAnEmptyBoxClosesWithoutANumber)
{
    QSignalSpy accepted(dialog.get(), &QDialog::accepted);
    QSignalSpy finished(dialog.get(), &QDialog::finished);

    QTest::mouseClick(dialog->OK, Qt::LeftButton);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_TRUE(dialog->Pattern().isEmpty());

    // Keyed in and taken away again is just as empty, and Enter is the same as "OK".
    dialog = std::make_unique<PrizNB>();
    dialog->show();
    QSignalSpy acceptedAgain(dialog.get(), &QDialog::accepted);
    Keys({3, Back});
    Press(Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(acceptedAgain.count(), 0);
    EXPECT_TRUE(dialog->Pattern().isEmpty());
}

TEST_F(PrizNBTest, CancelDropsWhatWasKeyed)
{
    Keys({1, X});

    QTest::mouseClick(dialog->kNo, Qt::LeftButton);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->Pattern().isEmpty());
}

// Runs PrizNB::Ask while answer works the modal dialog it opens.
QString AskAnswering(const std::function<void(PrizNB &)> &answer)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *open = qobject_cast<PrizNB *>(QApplication::activeModalWidget())) {
            poll.stop();
            answer(*open);
        }
    });
    poll.start();
    return PrizNB::Ask(nullptr);
}

TEST(PrizNBAsk, ReturnsTheUpperCasedNumberOrNothing)
{
    EXPECT_EQ(AskAnswering([](PrizNB &d) {
                  QTest::keyClicks(d.TxtNB, QStringLiteral("x4"));
                  QTest::mouseClick(d.Knopka[5], Qt::LeftButton);
                  QTest::keyClick(d.TxtNB, Qt::Key_Return);
              }),
              QStringLiteral("X45"));

    EXPECT_TRUE(AskAnswering([](PrizNB &d) {
                    QTest::keyClicks(d.TxtNB, QStringLiteral("12"));
                    QTest::mouseClick(d.kNo, Qt::LeftButton);
                }).isEmpty());

    EXPECT_TRUE(AskAnswering([](PrizNB &d) { QTest::mouseClick(d.OK, Qt::LeftButton); }).isEmpty());
}

} // namespace
