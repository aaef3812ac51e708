// The report dialog says what the report holds and gives the way to keep it the user chose.
#include "dialogs/frmOtchet.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

IgraReport Report()
{
    IgraReport r;
    r.lottery = QStringLiteral("Русское лото");
    r.tirag = QStringLiteral("Тираж1473");
    r.ended = true;
    r.hod = 75;
    r.tur = 3;
    r.wins = {{IgraWin{IgraWin::Kind::Nomer, 0, 1, 3, -1, 48, 65}, QStringLiteral("104549")},
              {IgraWin{IgraWin::Kind::Kubishka, 0, 3, -1, 1, 0, 75}, QStringLiteral("104549")}};
    r.bilety.resize(12);
    return r;
}

TEST(frmOtchet, SaysWhatTheReportHoldsAndEachButtonChoosesItsKind)
{
    const struct {
        QPushButton *frmOtchet::*button;
        frmOtchet::Choice choice;
    } cases[] = {
        {&frmOtchet::kPdf, frmOtchet::Choice::Pdf},
        {&frmOtchet::kCsv, frmOtchet::Choice::Csv},
        {&frmOtchet::kPrint, frmOtchet::Choice::Print},
        {&frmOtchet::kNO, frmOtchet::Choice::None},
    };
    for (const auto &c : cases) {
        frmOtchet dialog(Report());
        EXPECT_EQ(dialog.LblSummary->text().section(QLatin1Char('\n'), 0, 2),
                  QStringLiteral("Русское лото, тираж № 1473\nИгра окончена: ходов 75, тур 3.\n"
                                 "Выигрышей в турах: 1, призов и кубышек: 1. Билетов: 12."));
        (dialog.*c.button)->click();
        EXPECT_EQ(dialog.chosen(), c.choice);
        EXPECT_EQ(dialog.result(),
                  c.choice == frmOtchet::Choice::None ? QDialog::Rejected : QDialog::Accepted);
    }
    // Enter saves the PDF, the default; Esc keeps nothing.
    frmOtchet dialog(Report());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.chosen(), frmOtchet::Choice::Pdf);
    frmOtchet other(Report());
    other.show();
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_EQ(other.chosen(), frmOtchet::Choice::None);
    EXPECT_EQ(other.result(), QDialog::Rejected);
}

} // namespace
