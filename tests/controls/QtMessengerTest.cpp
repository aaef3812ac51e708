// A digit typed into a real OK box closes it and goes where the user types; a
// question is answered only by its buttons.
#include "controls/QtMessenger.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

TEST(QtMessenger, ADigitClosesOnlyAnOkBoxThatHasATarget)
{
    QLineEdit entry;
    entry.show();
    QtMessenger messenger;
    QWidget *target = &entry;
    messenger.SetTypeThrough([&target] { return target; });
    // Types the digit into the next box; Esc closes it when the digit did not.
    const auto typeIntoNextBox = [] {
        QTimer::singleShot(0, [] {
            QWidget *box = QApplication::activeModalWidget();
            QTest::keyClicks(box, QStringLiteral("7"));
            if (QApplication::activeModalWidget() == box)
                QTest::keyClick(box, Qt::Key_Escape);
        });
    };
    typeIntoNextBox();
    EXPECT_FALSE(messenger.Ask(QStringLiteral("Конец игры?")));
    target = nullptr;
    typeIntoNextBox();
    messenger.Tell(QStringLiteral("Файл не найден."), MsgIcon::Warning);
    target = &entry;
    typeIntoNextBox();
    messenger.Tell(QStringLiteral("Количество выигравших билетов: 1"), MsgIcon::Exclamation);
    QApplication::processEvents();
    EXPECT_EQ(entry.text(), QStringLiteral("7"));
}

TEST(QtMessenger, TheSaveQuestionSavesOnEnterAndCancelsOnEsc)
{
    QtMessenger messenger;
    MessageRequest q;
    q.text = QStringLiteral("Изменения в билетах не сохранены.\nСохранить их?");
    q.buttons = MsgButtons::SaveDiscardCancel;
    q.defaultButton = MsgAnswer::Save;
    // Keys, or a click on a button by its caption.
    const auto answerWith = [](std::function<void(QWidget *)> act) {
        QTimer::singleShot(0, [act] { act(QApplication::activeModalWidget()); });
    };
    answerWith([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(messenger.Show(q), MsgAnswer::Save);
    answerWith([](QWidget *box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(messenger.Show(q), MsgAnswer::Cancel);
    answerWith([](QWidget *box) {
        for (QPushButton *b : box->findChildren<QPushButton *>())
            if (b->text() == QStringLiteral("Не сохранять"))
                b->click();
    });
    EXPECT_EQ(messenger.Show(q), MsgAnswer::Discard);
}
