#include "dialogs/frmOtchet.h"

#include "controls/Zoom.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmOtchet::frmOtchet(const IgraReport &report, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOtchet"));
    setWindowTitle(QStringLiteral("Отчёт"));

    qint32 tourWins = 0;
    for (const IgraReport::Win &w : report.wins)
        tourWins += w.win.kind == IgraWin::Kind::Nomer ? 1 : 0;
    const qint32 otherWins = static_cast<qint32>(report.wins.size()) - tourWins;
    QString summary = report.lottery + QStringLiteral(", тираж ") + report.TiragName() + QLatin1Char('\n') +
                      (report.ended ? QStringLiteral("Игра окончена: ходов %1, тур %2.")
                                    : QStringLiteral("Игра идёт: ходов %1, тур %2."))
                          .arg(report.hod)
                          .arg(report.tur) +
                      QLatin1Char('\n') + QStringLiteral("Выигрышей в турах: %1").arg(tourWins);
    if (otherWins > 0)
        summary += QStringLiteral(", призов и кубышек: %1").arg(otherWins);
    summary += QStringLiteral(". Билетов: %1.").arg(report.bilety.size());
    summary += QStringLiteral("\n\nОтчёт: выигрыши (тур, строка или поле, номер и ход), тираж по турам, "
                              "не выпавшие номера и строка на каждый билет.");

    LblSummary = new QLabel(summary, this);
    LblSummary->setObjectName(QStringLiteral("LblSummary"));
    LblSummary->setWordWrap(true);
    LblSummary->setTextFormat(Qt::PlainText);

    kPdf = new QPushButton(QStringLiteral("Сохранить &PDF…"), this);
    kPdf->setDefault(true);
    kCsv = new QPushButton(QStringLiteral("Сохранить &CSV…"), this);
    kCsv->setAutoDefault(false);
    kPrint = new QPushButton(QStringLiteral("&Печать…"), this);
    kPrint->setAutoDefault(false);
    kNO = new QPushButton(QStringLiteral("Отмена"), this);
    kNO->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(kPdf);
    buttons->addWidget(kCsv);
    buttons->addWidget(kPrint);
    buttons->addStretch(1);
    buttons->addWidget(kNO);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LblSummary);
    layout->addLayout(buttons);

    const auto choose = [this](Choice choice) {
        return [this, choice] {
            chosen_ = choice;
            accept();
        };
    };
    connect(kPdf, &QPushButton::clicked, this, choose(Choice::Pdf));
    connect(kCsv, &QPushButton::clicked, this, choose(Choice::Csv));
    connect(kPrint, &QPushButton::clicked, this, choose(Choice::Print));
    connect(kNO, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(520);
    Zoom::Dialog(this);
    kPdf->setFocus();
}

frmOtchet::Choice frmOtchet::Ask(const IgraReport &report, QWidget *parent)
{
    frmOtchet dialog(report, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : Choice::None;
}

frmOtchet::Picker &frmOtchet::PickFile()
{
    static Picker picker = [](QWidget *parent, const QString &caption, const QString &suggested,
                              const QString &filter) {
        return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    };
    return picker;
}
