#include "controls/MenuKeys.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(MenuKeys, TheKeyOfACyrillicLetterOpensItsMenuWhateverTheLayout)
{
    // Each key of the US layout and the letter it carries on the Russian one.
    const std::pair<int, const char *> keys[] = {
        {Qt::Key_A, "Ф"}, {Qt::Key_H, "Р"},           {Qt::Key_Q, "Й"},      {Qt::Key_Z, "Я"},
        {Qt::Key_M, "Ь"}, {Qt::Key_BracketLeft, "Х"}, {Qt::Key_Period, "Ю"}, {Qt::Key_QuoteLeft, "Ё"}};
    for (const auto &[key, letter] : keys)
        EXPECT_EQ(MenuKeys::RussianLetterOf(key), QString::fromUtf8(letter).at(0)) << letter;
    EXPECT_TRUE(MenuKeys::RussianLetterOf(Qt::Key_1).isNull());

    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&Файл"));
    file->addAction(QStringLiteral("&Создать"));
    QAction *save = file->addAction(QStringLiteral("Со&хранить"));
    QMenu *regim = window.menuBar()->addMenu(QStringLiteral("&Режим"));
    regim->menuAction()->setEnabled(false);
    auto *box = new QLineEdit(&window);
    window.setCentralWidget(box);
    new MenuKeys(window.menuBar());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();

    // Alt and the key of "Р" of a menu that is off: nothing opens, nothing is typed.
    QTest::keyClick(box, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(window.menuBar()->activeAction(), nullptr);
    EXPECT_TRUE(box->text().isEmpty());

    // Alt and the key of "Ф": the File menu, and nothing typed into the box.
    QTest::keyClick(box, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(window.menuBar()->activeAction(), file->menuAction());
    EXPECT_TRUE(box->text().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == file; }, 2000));

    // In the open menu the key of "Х" chooses "Со&хранить".
    QSignalSpy chosen(save, &QAction::triggered);
    QTest::keyClick(file, Qt::Key_BracketLeft);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_FALSE(file->isVisible());

    // F10 opens the first menu.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F10);
    EXPECT_EQ(window.menuBar()->activeAction(), file->menuAction());
    QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : box,
                    Qt::Key_Escape);
}
