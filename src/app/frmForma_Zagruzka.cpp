// Ticket entry: a new ticket set, adding tickets to the set, and editing a
// ticket chosen in the list.
#include "app/frmForma.h"

#include "app/PoleBoard.h"
#include "app/ZhurnalKeeper.h"
#include "controls/ListBilet.h"
#include "controls/Surface.h"
#include "core/LotoRules.h"
#include "dialogs/Zapros.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

void frmForma::FileNewBilet_Click()
{
    if (!MaySaveBilety())
        return;
    if (const auto choice = Zapros::Ask(this))
        FileNewBilet2(*choice->first, choice->second);
}

void frmForma::FileNewBilet2(const Loto::Kind &kind, const QString &drawNumber)
{
    PhotoStop();
    state_.SetKind(kind, Loto::MakeTiragTitle(drawNumber));
    igra_->SetRegim(Rezhim::Zagruzka, true);
    PSbros();
    // Tickets held before are let go: the user asked for a new set (and the
    // command asked about tickets not saved).
    state_.store.NewSet(); // from no file: the first save asks for a name
    files_.ClearSavedNote();
    EnterZagruzka();
    files_.ClearFingerprint();
    igra_->ClearNika();
    BiletNew();
    UpdateRegimMenu();
    zhurnal_->Write();
}

void frmForma::RegimAddBliet_Click()
{
    if (!igra_->AskNewRegim())
        return;
    const qint32 n = state_.store.BiletCount();
    igra_->SetRegim(Rezhim::Zagruzka, true);
    PSbros();
    EnterZagruzka();
    for (qint32 i = 0; i < n; ++i)
        ListBilet1->Add();
    BiletNew();
    UpdateRegimMenu();
    zhurnal_->Write();
}

void frmForma::UpdateRegimMenu()
{
    if (state_.RegimState != Rezhim::Zagruzka)
        return;
    // The set in hand is checked as it is, once it has a ticket; a draw file
    // can be replayed against it. The commands of a set that is checked wait.
    const bool any = state_.store.BiletCount() > 0;
    Regim->menuAction()->setEnabled(any);
    RegimAddBliet->setEnabled(false);
    RegimPrizPoNomeru->setEnabled(false);
    FileOpenTirag->setEnabled(any);
}

void frmForma::BiletyChanged()
{
    files_.ClearSavedNote();
    UpdateRegimMenu();
    zhurnal_->Write();
    UpdateStrip();
}

bool frmForma::DeleteBilet()
{
    BiletStore &store = state_.store;
    const qint32 t = ListBilet1->ListIndex();
    if (state_.RegimState != Rezhim::Zagruzka || t < 0 || t >= store.BiletCount())
        return false;
    MessageRequest q;
    q.text = QStringLiteral("Удалить билет номер ") + store.Bilet(t).Nomer + QLatin1Char('?');
    q.buttons = MsgButtons::YesNo;
    q.defaultButton = MsgAnswer::No;
    if (messenger_.Show(q) != MsgAnswer::Yes)
        return true;
    const bool wasOnCard = store.CurBilet() == t;
    store.Delete(t);
    // The rows after it move up.
    ListBilet1->Clear();
    for (qint32 i = 0; i < store.BiletCount(); ++i)
        ListBilet1->Add();
    ListBilet1->SetListIndex(std::min(t, store.BiletCount() - 1));
    if (wasOnCard) {
        BiletNew(); // the ticket being edited is gone
        if (photos_.Active())
            PhotoBilet();
    }
    entryNote_ = QStringLiteral("Билет удалён из набора");
    BiletyChanged();
    return true;
}

void frmForma::EnterZagruzka()
{
    entry.Clear();
    SetLabel(VVEDNOM, QStringLiteral("Введите номер:"));
    VVOD1->clear();
    VVOD1->setEnabled(true);
    VVOD1->show();
    kBiletGotov->setEnabled(false);
    kBiletGotov->show();
    Nombilet->show();
    FileOpenTirag->setEnabled(false);
    PolePic->setEnabled(true);
}

void frmForma::ListBilet1_DblClick()
{
    BiletStore &store = state_.store;
    const qint32 chosen = ListBilet1->ListIndex();
    if (chosen < 0 || chosen >= store.BiletCount())
        return;

    if (state_.RegimState != Rezhim::Zagruzka) {
        if (chosen != store.CurBilet()) {
            store.Show(chosen);
            Bilet();
        }
        RefocusVVOD1();
        return;
    }

    // Load the ticket onto the card for editing.
    BiletNew();
    store.Show(chosen);
    const BILETCls &bilet = store.Bilet(chosen);
    Nombilet->setText(bilet.Nomer);
    entry.Load(bilet);
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
        board_->Paint(bilet.NomeraList(k), kUsedColor);
    // A stored ticket is complete: no row of it is being filled.
    card_->Show(bilet, [](qint32) { return Kletka::Free; });
    SetBiletGotovEnabled(true);
    Nombilet->setFocus();
}
