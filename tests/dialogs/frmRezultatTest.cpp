#include "dialogs/frmRezultat.h"
#include "io/Cp1251.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

TEST(frmRezultat, SaysWhatItUnderstoodMarksEachProblemAndConfirmsOnlyADraw)
{
    frmRezultat dialog(QStringLiteral("1473"));
    dialog.show();
    EXPECT_FALSE(dialog.kOK->isEnabled()) << "nothing pasted yet";
    EXPECT_TRUE(dialog.LblUnderstood->text().isEmpty());

    // Pasted as a whole, as Ctrl+V puts it.
    dialog.TxtText->setPlainText(QStringLiteral("Тираж № 1473 от 06.12.2026\n"
                                                "1 тур: 18, 45, 26, 71, 3\n"
                                                "2 тур: 7, 33, 45, 60\n"));
    EXPECT_FALSE(dialog.kOK->isEnabled());
    const QString said = dialog.LblUnderstood->text();
    EXPECT_TRUE(said.contains(QStringLiteral("Тираж 1473"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Тур 1 (5): 18 45 26 71 3\nТур 2 (3): 7 33 60\nВсего чисел: 8")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Строка 3: число 45 уже было в туре 1"))) << said.toStdString();
    // The repeated 45 of line 3 is the one marked.
    const QList<QTextEdit::ExtraSelection> marks = dialog.TxtText->extraSelections();
    ASSERT_EQ(marks.size(), 1);
    EXPECT_EQ(marks.front().cursor.selectedText(), QStringLiteral("45"));
    EXPECT_EQ(marks.front().cursor.block().blockNumber(), 2);

    // The user mends it by typing: the mark goes and "Проверить" is possible.
    QTextCursor at(dialog.TxtText->document());
    at.setPosition(marks.front().cursor.selectionStart());
    at.setPosition(marks.front().cursor.selectionEnd(), QTextCursor::KeepAnchor);
    dialog.TxtText->setTextCursor(at);
    QTest::keyClicks(dialog.TxtText, QStringLiteral("54"));
    EXPECT_TRUE(dialog.TxtText->extraSelections().isEmpty());
    ASSERT_TRUE(dialog.kOK->isEnabled());
    EXPECT_EQ(dialog.Result().Count(), 9);
    // Enter is a new line of the text; Ctrl+Enter checks.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.TxtText, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    // Another draw's result is marked on its number.
    frmRezultat other(QStringLiteral("1500"));
    other.TxtText->setPlainText(QStringLiteral("Тираж 1473\n1 тур 5 6"));
    EXPECT_FALSE(other.kOK->isEnabled());
    EXPECT_EQ(other.TxtText->extraSelections().front().cursor.selectedText(), QStringLiteral("1473"));
}

TEST(frmRezultat, ATextFileIsReadInItsOwnEncoding)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("итоги.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Cp1251::Encode(QStringLiteral("Тур 1: 5, 6\r\nТур 2: 7\r\n")));
    f.close();

    const frmRezultat::Picker before = frmRezultat::PickFile();
    frmRezultat::PickFile() = [&path](QWidget *, const QString &, const QString &) { return path; };
    frmRezultat dialog{QString()};
    QTest::mouseClick(dialog.kFile, Qt::LeftButton);
    EXPECT_EQ(
        dialog.TxtText->toPlainText(),
        QStringLiteral("Тур 1: 5, 6\r\nТур 2: 7\r\n").replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(dialog.kOK->isEnabled());

    // A file that cannot be read is said, and the text stays.
    frmRezultat::PickFile() = [&dir](QWidget *, const QString &, const QString &) {
        return dir.filePath(QStringLiteral("нет.txt"));
    };
    QTest::mouseClick(dialog.kFile, Qt::LeftButton);
    EXPECT_EQ(dialog.LblUnderstood->text(), QStringLiteral("Файл не найден."));
    EXPECT_TRUE(dialog.kOK->isEnabled());
    frmRezultat::PickFile() = before;
}
