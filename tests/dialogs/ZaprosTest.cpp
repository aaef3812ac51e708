#include "dialogs/Zapros.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace
{

class ZaprosTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog = std::make_unique<Zapros>();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Sends one key carrying a character that keyClicks cannot send (anything beyond Latin-1).
    void TypeChar(QChar c)
    {
        QTest::sendKeyEvent(QTest::Click, dialog->TxtTIRAG, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    void Type(const char *text) { QTest::keyClicks(dialog->TxtTIRAG, QString::fromLatin1(text)); }

    void Press(Qt::Key key) { QTest::keyClick(dialog->TxtTIRAG, key); }

    std::unique_ptr<Zapros> dialog;
};

TEST_F(ZaprosTest, OpensWithRusLotoSelectedAnEmptyNumberAndFocusInTheNumberBox)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Запрос"));
    EXPECT_TRUE(dialog->Option1[0]->isChecked());
    EXPECT_FALSE(dialog->Option1[1]->isChecked());
    EXPECT_TRUE(dialog->IsRusLoto());
    EXPECT_TRUE(dialog->DrawNumber().isEmpty());
    EXPECT_FALSE(dialog->OK->isEnabled());
    EXPECT_TRUE(dialog->OK->isDefault());
    EXPECT_EQ(QApplication::focusWidget(), dialog->TxtTIRAG);

    // The user cannot resize it, and it offers no context help button.
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST_F(ZaprosTest, ControlsLieInsideTheDialogUnderTheirOwnNames)
{
    const QRect client = dialog->rect();
    // The window and its tests find the controls by these names.
    for (const char *name : {"Option1_0", "Option1_1", "Label2", "TxtTIRAG", "OK", "kNO"}) {
        const QWidget *control = dialog->findChild<QWidget *>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(control->isVisible()) << name;
        EXPECT_TRUE(client.contains(control->geometry())) << name;
    }
}

TEST_F(ZaprosTest, NumberBoxTakesDigitsAndBackspaceAndRefusesEverythingElse)
{
    Type("12a3");
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("123"));

    Type(" -+.,Z");
    TypeChar(QChar(0x0416)); // Cyrillic capital Zhe
    TypeChar(QChar(0x0663)); // Arabic-Indic three: a digit, but not one of 0 to 9
    TypeChar(QChar(0x00BD)); // one half
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("123"));

    Press(Qt::Key_Backspace);
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("12"));

    // Moving the cursor types nothing; the next digit goes where the cursor is.
    Press(Qt::Key_Home);
    Type("9");
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("912"));
}

TEST_F(ZaprosTest, NumberIsAtMostSixDigits)
{
    Type("1234567");
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("123456"));

    Press(Qt::Key_Backspace);
    Type("8");
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("123458"));
}

TEST_F(ZaprosTest, PastingBringsInDigitsOnly)
{
    QClipboard *clipboard = QApplication::clipboard();

    clipboard->setText(QStringLiteral("12ab"));
    QTest::keyClick(dialog->TxtTIRAG, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(dialog->DrawNumber().isEmpty());
    EXPECT_FALSE(dialog->OK->isEnabled());

    clipboard->setText(QStringLiteral("Ж"));
    QTest::keyClick(dialog->TxtTIRAG, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(dialog->DrawNumber().isEmpty());

    clipboard->setText(QStringLiteral("4321"));
    QTest::keyClick(dialog->TxtTIRAG, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("4321"));
    EXPECT_TRUE(dialog->OK->isEnabled());
}

TEST_F(ZaprosTest, OkIsEnabledExactlyWhileTheNumberIsNotEmpty)
{
    Type("5");
    EXPECT_TRUE(dialog->OK->isEnabled());

    Press(Qt::Key_Backspace);
    EXPECT_FALSE(dialog->OK->isEnabled());

    // A refused key leaves it as it was.
    Type("x");
    EXPECT_FALSE(dialog->OK->isEnabled());

    Type("42");
    EXPECT_TRUE(dialog->OK->isEnabled());
    dialog->TxtTIRAG->selectAll();
    Press(Qt::Key_Delete);
    EXPECT_TRUE(dialog->DrawNumber().isEmpty());
    EXPECT_FALSE(dialog->OK->isEnabled());

    // Every change counts, not only typing.
    dialog->TxtTIRAG->setText(QStringLiteral("3"));
    EXPECT_TRUE(dialog->OK->isEnabled());
    dialog->TxtTIRAG->clear();
    EXPECT_FALSE(dialog->OK->isEnabled());
}

TEST_F(ZaprosTest, EscapeInTheNumberBoxClosesWithoutAnAnswer)
{
    QSignalSpy accepted(dialog.get(), &QDialog::accepted);
    Type("12");

    Press(Qt::Key_Escape);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_FALSE(dialog->Choice().has_value());
}

TEST_F(ZaprosTest, EnterAcceptsAndReportsTheKindAndNumber)
{
    QTest::mouseClick(dialog->Option1[1], Qt::LeftButton);
    ASSERT_TRUE(dialog->Option1[1]->isChecked());
    EXPECT_FALSE(dialog->Option1[0]->isChecked());
    Type("1234");

    Press(Qt::Key_Return);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->IsRusLoto());
    EXPECT_EQ(dialog->DrawNumber(), QStringLiteral("1234"));
    EXPECT_EQ(dialog->Choice(),
              std::make_optional(std::make_pair(&Loto::ZolotoyKlyuch(), QStringLiteral("1234"))));
}

TEST_F(ZaprosTest, OkAcceptsAndKeepsLeadingZeros)
{
    Type("007");

    QTest::mouseClick(dialog->OK, Qt::LeftButton);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Choice(), std::make_optional(std::make_pair(&Loto::RusLoto(), QStringLiteral("007"))));
}

TEST_F(ZaprosTest, EnterWithAnEmptyNumberLeavesTheDialogOpen)
{
    QSignalSpy finished(dialog.get(), &QDialog::finished);

    Press(Qt::Key_Return);
    Press(Qt::Key_Enter);
    Type("q");
    Press(Qt::Key_Return);

    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(finished.count(), 0);

    // Once a digit is there, the same key does accept.
    Type("1");
    Press(Qt::Key_Enter);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ZaprosTest, CancelClosesWithoutAnAnswer)
{
    QSignalSpy accepted(dialog.get(), &QDialog::accepted);
    QTest::mouseClick(dialog->Option1[1], Qt::LeftButton);
    Type("55");

    QTest::mouseClick(dialog->kNO, Qt::LeftButton);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_FALSE(dialog->Choice().has_value());
}

TEST_F(ZaprosTest, ADrawNumberReadWithDoubtIsMarkedUntilTheUserTypesHisOwn)
{
    const QColor plain = dialog->TxtTIRAG->palette().color(QPalette::Base);
    dialog->TxtTIRAG->setText(QStringLiteral("1518"));
    dialog->TxtTIRAG->selectAll();
    dialog->MarkDrawNumberDoubtful();
    EXPECT_EQ(dialog->TxtTIRAG->palette().color(QPalette::Base), QColor(0xFF, 0xD7, 0x00));
    EXPECT_FALSE(dialog->TxtTIRAG->accessibleDescription().isEmpty());

    // Typed over, the number is the user's: the mark goes, and the answer is his.
    Type("1516");
    EXPECT_EQ(dialog->TxtTIRAG->palette().color(QPalette::Base), plain);
    EXPECT_TRUE(dialog->TxtTIRAG->accessibleDescription().isEmpty());
    Press(Qt::Key_Return);
    ASSERT_TRUE(dialog->Choice().has_value());
    EXPECT_EQ(dialog->Choice()->second, QStringLiteral("1516"));
}

} // namespace
