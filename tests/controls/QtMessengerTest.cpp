// Message boxes shown for real: a digit typed into an OK box goes where the
// user was typing.
#include "controls/QtMessenger.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

// Once the box is up, types the keys into it (the last one closes it when the digit did not).
void TypeIntoNextBox(const QString &keys)
{
    QTimer::singleShot(0, [keys] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_TRUE(qobject_cast<QMessageBox *>(box));
        QTest::keyClicks(box, keys);
        if (QApplication::activeModalWidget() == box)
            QTest::keyClick(box, Qt::Key_Escape);
    });
}

} // namespace

TEST(QtMessenger, ADigitClosesAnOkBoxAndArrivesWhereTheUserTypes)
{
    QWidget window;
    auto *entry = new QLineEdit(&window);
    window.show();
    QtMessenger messenger;
    messenger.SetParent(&window);
    QWidget *target = entry;
    messenger.SetTypeThrough([&target] { return target; });

    TypeIntoNextBox(QStringLiteral("7"));
    messenger.Tell(QStringLiteral("Количество выигравших билетов: 1"), MsgIcon::Exclamation);
    QApplication::processEvents();
    EXPECT_EQ(entry->text(), QStringLiteral("7"));
    EXPECT_TRUE(entry->hasFocus() || QApplication::focusWidget() == nullptr);

    // A question is answered only by its buttons; with no target a box keeps its digits.
    entry->clear();
    TypeIntoNextBox(QStringLiteral("8"));
    EXPECT_FALSE(messenger.Ask(QStringLiteral("Конец игры?")));
    target = nullptr;
    TypeIntoNextBox(QStringLiteral("9"));
    messenger.Tell(QStringLiteral("Файл не найден."), MsgIcon::Warning);
    QApplication::processEvents();
    EXPECT_EQ(entry->text(), QString());
}
