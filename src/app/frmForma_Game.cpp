// Modes of the window: the layout each mode shows and the reset between them.
#include "app/frmForma.h"

#include "app/ZhurnalKeeper.h"
#include "controls/ClickLabel.h"
#include "controls/Contrast.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "controls/OpURL.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/IgraReport.h"
#include "core/PrizMatch.h"
#include "dialogs/PrizNB.h"
#include "dialogs/frmOprog.h"
#include "dialogs/frmTIMER.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

void frmForma::PSbros()
{
    PolePic->setEnabled(false);
    state_.NomerColor.fill(Kletka::Free);
    state_.NikaBilet.assign(1, 0);

    ClearPole();
    ListBilet1->Clear();
    const bool zagruzka = state_.RegimState == Rezhim::Zagruzka;
    // Ticket entry shows whole ticket numbers; a check keeps room for the statistics.
    ListBilet1->SetLineWidth(zagruzka ? 164 : 69);

    for (QWidget *w : {static_cast<QWidget *>(Tur), static_cast<QWidget *>(Label3),
                       static_cast<QWidget *>(NIKA), static_cast<QWidget *>(NOMBILETlbl),
                       static_cast<QWidget *>(Label2_1), static_cast<QWidget *>(NHOD)})
        w->setVisible(!zagruzka);
    Regim->menuAction()->setEnabled(!zagruzka);

    kBiletGotov->setVisible(zagruzka);
    Nombilet->setVisible(zagruzka);
    BiletPic->setEnabled(zagruzka);

    SetLabel(VVEDNOM, QString());
    VVOD1->clear();
    VVOD1->hide();
    Knopka->hide();
    state_.store.Show(0);
    BiletClear();
    // Ctrl+S must work whenever saving would show enabled, menu opened or not.
    UpdateFileMenu();
}

// ---- What a game shows ----

void frmForma::ShowBilet()
{
    Bilet();
}

void frmForma::RegimChanged()
{
    UpdateFileMenu();
    // The journal lives as long as the check game, or the ticket entry, it keeps.
    if (state_.RegimState == Rezhim::Proverka)
        zhurnal_->Start();
    else if (state_.RegimState != Rezhim::Zagruzka)
        zhurnal_->Remove();
    // Tickets from photos go only into ticket entry.
    if (state_.RegimState != Rezhim::Zagruzka)
        PhotoStop();
    undoNote_.clear();
    UpdateUndo();
    UpdateStrip();
    // The mode's game is set up after the change: the strip shows it once the command is done.
    QTimer::singleShot(0, this, [this] { UpdateStrip(); });
}

void frmForma::GameChanged()
{
    // What a take-back took back, or what won a chosen line, is news until the next change.
    undoNote_.clear();
    winNote_.clear();
    UpdateUndo();
    UpdateStrip();
}

void frmForma::UpdateUndo()
{
    const Rezhim regim = state_.RegimState;
    RegimUndo->setEnabled(regim == Rezhim::Zagruzka ? !entry.History().empty() : igra_->CanUndo());
    RegimNextTur->setEnabled(regim == Rezhim::Proverka);
    RegimPovtor->setEnabled(igra_->PovtorAvailable());
    FileOtchet->setEnabled(OtchetAvailable());
}

void frmForma::RegimUndo_Click()
{
    if (state_.RegimState == Rezhim::Zagruzka) {
        if (const auto change = UndoEntry()) {
            RepaintEntry();
            entryNote_ = UndoneNote(*change);
            UpdateUndo();
            UpdateStrip();
        }
        return;
    }
    const std::optional<GameEngine::Hod> hod = igra_->Undo();
    if (!hod)
        return;
    undoNote_ = UndoneText(*hod, state_.store);
    UpdateStrip();
    gameView_->FocusVVOD1();
}

void frmForma::UpdateStrip()
{
    const Rezhim regim = state_.RegimState;
    // The last number called, and the ticket of a prize given after it, as the game told them.
    const QString &lastNomer = stripFacts_->LastNomer();
    const QString &priz = stripFacts_->Priz();
    const auto withNotes = [&](QString text) {
        for (const QString &note : {priz, undoNote_, winNote_})
            if (!note.isEmpty())
                text += QLatin1Char('\n') + note;
        return text + FileNotes();
    };
    const QString moves = QStringLiteral("Ход %1").arg(state_.TiragNomera.HodCount());
    const QString tur = QStringLiteral("тур %1").arg(igra_->TurNomer);
    switch (regim) {
    case Rezhim::Proverka: {
        usrReklamaX1->Show(
            lastNomer,
            withNotes(moves + QStringLiteral(", ") + tur +
                      QStringLiteral(". Ждут один номер: %1 бил.").arg(state_.stats.AwaitedCount())));
        return;
    }
    case Rezhim::Povtor:
    case Rezhim::Imitator:
        usrReklamaX1->Show(lastNomer, withNotes(moves + QStringLiteral(", ") + tur));
        return;
    case Rezhim::Zagruzka: {
        QString text = QStringLiteral("Билетов в наборе: %1").arg(state_.store.BiletCount());
        if (const QString photo = PhotoNote(); !photo.isEmpty())
            text += QLatin1Char('\n') + photo;
        if (!entryNote_.isEmpty())
            text += QLatin1Char('\n') + entryNote_;
        text += FileNotes();
        usrReklamaX1->Show(QString(), text);
        return;
    }
    case Rezhim::None:
        break;
    }
    if (igra_->PovtorAvailable()) {
        // The game is over: every number that did not come, in full.
        QStringList undrawn;
        for (qint32 n : stripFacts_->Undrawn())
            undrawn << QString::number(n);
        usrReklamaX1->Show(
            QString(), QStringLiteral("Игра окончена, %1. Не выпали: ").arg(moves.toLower()) +
                           (undrawn.isEmpty() ? QStringLiteral("—") : undrawn.join(QStringLiteral(", "))) +
                           (winNote_.isEmpty() ? QString() : QLatin1Char('\n') + winNote_));
        return;
    }
    QString text = state_.store.BiletCount() > 0
                       ? QStringLiteral("Билетов в наборе: %1").arg(state_.store.BiletCount())
                       : QString();
    if (const QString &folderNote = files_.FolderNote(); !folderNote.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + folderNote;
    text += FileNotes();
    if (text.startsWith(QLatin1Char('\n')))
        text.remove(0, 1);
    usrReklamaX1->Show(QString(), text);
}

void frmForma::SaveTiragAs()
{
    FileSaveTiragAs_Click();
}

void frmForma::ShowSettings()
{
    frmTIMER::Run(state_.settings, messenger_, this);
    ApplySettings();
}

// ---- Commands ----

void frmForma::RegimProverka_Click()
{
    if (state_.RegimState == Rezhim::Zagruzka && !LeaveZagruzka())
        return;
    igra_->RegimProverka_Click();
}

void frmForma::RegimPovtor_Click()
{
    if (state_.RegimState == Rezhim::Zagruzka && !LeaveZagruzka())
        return;
    igra_->RegimPovtor_Click();
}

void frmForma::RegimImitator_Click()
{
    if (state_.RegimState == Rezhim::Zagruzka && !LeaveZagruzka())
        return;
    igra_->RegimImitator_Click();
}

void frmForma::RegimTimer_Click()
{
    // Replay and simulator go on afterwards, even if the user had paused them.
    igra_->DuringModal([this] { ShowSettings(); });
}

void frmForma::HelpAbout_Click()
{
    igra_->DuringModal([this] {
        frmOprog::Run(
            [this](const QString &address) {
                // A full disk must not look like a link that does nothing.
                bool opened = false;
                if (!SaveFileUrl(address, &opened))
                    messenger_.Tell(QStringLiteral("Файл сохранить не возможно."), MsgIcon::Error,
                                    Titles::Files);
                else if (!opened)
                    messenger_.Tell(QStringLiteral("Страницу %1 открыть не возможно: нет программы для "
                                                   "просмотра страниц.\nСправка лежит в файле %2")
                                        .arg(address, QDir::toNativeSeparators(HelpPagePath())),
                                    MsgIcon::Warning);
            },
            this);
    });
}

void frmForma::HelpCallHelp_Click()
{
    // Without a viewer (or the page) the user is told where the help lies.
    const QString page = HelpPagePath();
    if (OpenUrl(page))
        return;
    const QString where = QDir::toNativeSeparators(page);
    messenger_.Tell(QFileInfo(page).isFile()
                        ? QStringLiteral("Справку открыть не возможно: нет программы для просмотра "
                                         "страниц.\nСправка лежит в файле %1")
                              .arg(where)
                        : QStringLiteral("Справку открыть не возможно: файла %1 нет.").arg(where),
                    MsgIcon::Warning);
}

void frmForma::RegimPrizPoNomeru_Click()
{
    // No replay step may run under the dialog or the prize's message; a
    // paused replay stays paused.
    igra_->DuringModal(
        [this] {
            const QString pattern = PrizNB::Ask(this);
            const qint32 t = pattern.isEmpty() ? -1 : PrizMatch::FindBilet(state_.store, pattern);
            if (t >= 0) {
                igra_->PrizPoNomeru(t);
            } else if (!pattern.isEmpty()) {
                undoNote_ = QStringLiteral("Приз по номеру %1: ни один билет не подходит").arg(pattern);
                UpdateStrip();
            }
        },
        true);
}

void frmForma::NIKA_DblClick()
{
    NIKA_Show();
    RefocusVVOD1();
}

void frmForma::NIKA_Show()
{
    const int line = NIKA->currentRow();
    if (line < 0 || std::size_t(line) >= state_.NikaBilet.size())
        return;
    const qint32 t = state_.NikaBilet[std::size_t(line)];
    if (t < 0 || t >= state_.store.BiletCount())
        return;
    const std::vector<IgraWin> &wins = igra_->Wins();
    const bool explained = std::size_t(line) < wins.size() && wins[std::size_t(line)].bilet == t;
    // The card is drawn afresh for a line that marks it, so a mark chosen before goes.
    if (t == state_.store.CurBilet() && !explained)
        return;
    state_.store.Show(t);
    Bilet();
    if (explained) {
        card_->FrameWin(wins[std::size_t(line)]);
        winNote_ = IgraReport::WinLine(state_.store.Bilet(t).Nomer, wins[std::size_t(line)]);
        UpdateStrip();
    }
}
