// Modes of the window: the layout each mode shows and the reset between them.
#include "app/frmForma.h"

#include "controls/ClickLabel.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "controls/OpURL.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/PrizMatch.h"
#include "dialogs/PrizNB.h"
#include "dialogs/frmOprog.h"
#include "dialogs/frmTIMER.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

void frmForma::PSbros()
{
    PolePic->setEnabled(false);
    state_.store.ClearIndex();
    state_.NomerColor.fill(0);
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
    state_.store.CurBilet = 0;
    BiletClear();
    // Ctrl+S must work whenever saving would show enabled, menu opened or not.
    UpdateFileMenu();
}

// ---- What a game shows ----

void frmForma::ShowBilet()
{
    Bilet();
}

void frmForma::NikaClear()
{
    NIKA->Clear();
}

void frmForma::NikaAdd(const QString &prefix, const std::vector<qint32> &tickets)
{
    NIKA->AddLines(prefix, tickets);
}

void frmForma::SetTur(const QString &caption, quint32 color)
{
    Tur->setText(caption);
    QPalette pal = Tur->palette();
    pal.setColor(QPalette::Window, VbColor::ToQColor(color));
    Tur->setPalette(pal);
}

void frmForma::SetNHOD(const QString &text)
{
    NHOD->setText(text);
}

void frmForma::SetVVOD1(const QString &text)
{
    VVOD1->setText(text);
}

void frmForma::SetVVEDNOM(const QString &text)
{
    SetLabel(VVEDNOM, text);
    VVEDNOM->setToolTip(VVEDNOM->x() + VVEDNOM->width() > BiletPic->x() ? text : QString());
}

void frmForma::SetKnopka(const QString &caption)
{
    Knopka->setText(caption);
    Knopka->setVisible(!caption.isEmpty());
}

void frmForma::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void frmForma::EnableVVOD1(bool enabled, bool visible)
{
    VVOD1->setEnabled(enabled);
    VVOD1->setVisible(visible);
}

void frmForma::EnablePole(bool enabled)
{
    PolePic->setEnabled(enabled);
}

void frmForma::EnableBiletPic(bool enabled)
{
    BiletPic->setEnabled(enabled);
}

void frmForma::EnableSaveTirag(bool enabled)
{
    FileSaveTiragAs->setEnabled(enabled);
}

void frmForma::EnableAddBilety(bool enabled)
{
    RegimAddBliet->setEnabled(enabled);
}

void frmForma::EnablePrizPoNomeru(bool enabled)
{
    RegimPrizPoNomeru->setEnabled(enabled);
}

void frmForma::FocusVVOD1()
{
    VVOD1->setFocus();
}

void frmForma::TimerStart()
{
    Timer1->start();
}

void frmForma::TimerStop()
{
    Timer1->stop();
}

void frmForma::RegimChanged()
{
    UpdateFileMenu();
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
    igra_->RegimProverka_Click();
}

void frmForma::RegimPovtor_Click()
{
    igra_->RegimPovtor_Click();
}

void frmForma::RegimImitator_Click()
{
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
                if (!SaveFileUrl(workFolder_, address))
                    messenger_.Tell(QStringLiteral("Файл сохранить не возможно."), MsgIcon::Error,
                                    Titles::Files);
            },
            this);
    });
}

void frmForma::HelpCallHelp_Click()
{
    // A missing page or viewer is not the user's problem to be told about.
    OpenUrl(HelpPagePath());
}

void frmForma::RegimPrizPoNomeru_Click()
{
    // No replay step may run under the dialog or the prize's message; a
    // paused replay stays paused.
    igra_->DuringModal(
        [this] {
            const QString pattern = PrizNB::Ask(this);
            const qint32 t = pattern.isEmpty() ? -1 : PrizMatch::FindBilet(state_.store, pattern);
            if (t >= 0)
                igra_->PrizPoNomeru(t);
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
    if (t < 0 || t >= state_.store.BiletCount || t == state_.store.CurBilet)
        return;
    state_.store.CurBilet = t;
    Bilet();
}
