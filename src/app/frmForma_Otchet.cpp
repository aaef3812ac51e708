// The window's part of the report on a game: what it holds is built from the
// game in hand or just ended, and kept as a PDF, a CSV table or on paper.
#include "app/frmForma.h"

#include "core/IgraReport.h"
#include "dialogs/frmOtchet.h"
#include "report/ReportPaper.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

bool frmForma::OtchetAvailable() const
{
    // Ticket entry counts a move of its own; a set opened after the game is not the game's.
    return state_.RegimState != Rezhim::Zagruzka && state_.TiragNomera.HodCount() > 0 &&
           state_.store.BiletCount() > 0 &&
           igra_->SovpBileta.size() == std::size_t(state_.store.BiletCount()) + 1;
}

void frmForma::FileOtchet_Click()
{
    if (!OtchetAvailable())
        return;
    const IgraReport report = IgraReport::Of(state_, *igra_);
    // No replay step runs under the dialogs; a paused replay stays paused.
    igra_->DuringModal(
        [&] {
            const frmOtchet::Choice choice = frmOtchet::Ask(report, this);
            if (choice == frmOtchet::Choice::Print) {
                QPrinter printer(QPrinter::HighResolution);
                printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                  QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
                printer.setDocName(QStringLiteral("Отчёт ") + report.tirag);
                QPrintDialog dialog(&printer, this);
                dialog.setWindowTitle(QStringLiteral("Печать отчёта"));
                if (dialog.exec() == QDialog::Accepted)
                    ReportPaper::Print(report, printer);
                return;
            }
            if (choice != frmOtchet::Choice::Pdf && choice != frmOtchet::Choice::Csv)
                return;
            const QString extension =
                choice == frmOtchet::Choice::Pdf ? QStringLiteral(".pdf") : QStringLiteral(".csv");
            const QString filter = choice == frmOtchet::Choice::Pdf ? QStringLiteral("Отчёт PDF (*.pdf)")
                                                                    : QStringLiteral("Таблица CSV (*.csv)");
            QString path = frmOtchet::PickFile()(
                this, QStringLiteral("Сохранить отчёт"),
                QDir(files_.Folder()).filePath(QStringLiteral("Отчёт ") + report.tirag + extension), filter);
            if (path.isEmpty())
                return;
            // A name typed without its extension gets the kind chosen.
            if (ReportPaper::KindOf(path) == ReportPaper::Kind::None)
                path += extension;
            SaveOtchet(path);
        },
        true);
    RefocusVVOD1();
}

bool frmForma::SaveOtchet(const QString &path)
{
    if (!OtchetAvailable())
        return false;
    if (const std::optional<QString> failure = ReportPaper::Save(IgraReport::Of(state_, *igra_), path)) {
        messenger_.Tell(*failure, MsgIcon::Error, Titles::Files);
        return false;
    }
    winNote_ = QStringLiteral("Отчёт сохранён: ") + QDir::toNativeSeparators(path);
    UpdateStrip();
    return true;
}
