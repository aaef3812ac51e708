#pragma once
// A started main window in a fresh work folder, and ways to key tickets in.

#include "app/MainM.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "io/BiletFile.h"
#include "support/RecordingMessenger.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace TestSupport
{

using Rows = std::array<std::array<int, 5>, 6>;

// A valid ticket, row by row.
inline const Rows kRows = {{
    {5, 15, 25, 35, 45},
    {6, 16, 26, 36, 46},
    {7, 17, 27, 37, 47},
    {1, 51, 61, 71, 90},
    {2, 52, 62, 72, 82},
    {3, 53, 63, 73, 83},
}};

// Another valid ticket, sharing no row with the first.
inline const Rows kRows2 = {{
    {4, 14, 24, 34, 44},
    {8, 18, 28, 38, 48},
    {9, 19, 29, 39, 49},
    {10, 50, 60, 70, 80},
    {20, 30, 40, 54, 64},
    {11, 21, 31, 41, 85},
}};

// The ticket of these rows, numbered nomer.
inline BILETCls MakeBilet(const Rows &rows, const QString &nomer)
{
    BILETCls b;
    b.Nomer = nomer;
    for (int k = 0; k < 30; ++k)
        b.NomeraAdd(k, rows[k / 5][k % 5]);
    return b;
}

class WindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = MainM(state, messenger, dir.path());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Types a number into the entry box and presses Enter.
    void Vvod(int n)
    {
        QTest::keyClicks(window->Ui().VVOD1, QString::number(n));
        QTest::keyClick(window->Ui().VVOD1, Qt::Key_Return);
    }
    void VvodRows(const Rows &rows, int count = 6)
    {
        for (int r = 0; r < count; ++r)
            for (int n : rows[r])
                Vvod(n);
    }
    // Keys a whole ticket in and stores it with "Билет готов".
    void StoreKeyed(const QString &nomer, const Rows &rows = kRows)
    {
        window->Ui().Nombilet->setText(nomer);
        VvodRows(rows);
        ASSERT_TRUE(window->Ui().kBiletGotov->isEnabled());
        window->Ui().kBiletGotov->click();
    }

    static QPoint PoleCenter(int n) { return QPoint(35 * ((n - 1) / 10) + 17, 34 * ((n - 1) % 10) + 17); }
    // Inside a board cell, clear of its number.
    QColor PoleCell(int n) const
    {
        return window->Ui().PolePic->Pixel(35 * ((n - 1) / 10) + 5, 34 * ((n - 1) % 10) + 31);
    }
    QString Path(const QString &name) const { return dir.filePath(name); }
    // Opens "t.rlb" of draw 77: kRows numbered first, kRows2 numbered second.
    void OpenTwoTickets(const QString &first, const QString &second)
    {
        QFile f(Path(QStringLiteral("t.rlb")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(BiletFile::Encode(QStringLiteral("Тираж77"),
                                  {MakeBilet(kRows, first), MakeBilet(kRows2, second)}, 2));
        f.close();
        window->OpenBlt(QStringLiteral("t.rlb"));
        ASSERT_EQ(state.store.BiletCount(), 2);
    }

    QTemporaryDir dir;
    ProgramState state;
    RecordingMessenger messenger;
    std::unique_ptr<frmForma> window;
};

} // namespace TestSupport
