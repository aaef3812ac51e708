// Ticket entry: a new ticket set, adding tickets to the set, and editing a
// ticket chosen in the list.
#include "app/frmForma.h"

#include "controls/ListBilet.h"
#include "controls/Surface.h"
#include "core/LotoRules.h"
#include "dialogs/Zapros.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void frmForma::FileNewBilet_Click()
{
    if (const auto choice = Zapros::Ask(this))
        FileNewBilet2(choice->first, choice->second);
}

void frmForma::FileNewBilet2(bool isRusLoto, const QString &drawNumber)
{
    state_.TiragTitle = Loto::MakeTiragTitle(drawNumber);
    state_.IsRusLoto = isRusLoto;
    state_.GameTitle = Loto::MakeGameTitle(isRusLoto, state_.TiragTitle);
    igra_->SetRegim(Rezhim::Zagruzka, true);
    PSbros();
    // Tickets held before are let go without asking: the user asked for a new set.
    state_.store.NewSet();
    EnterZagruzka();
    state_.BiletFile.clear(); // the first save asks for a name
    biletFingerprint_.clear();
    igra_->ClearNika();
    state_.HodCount = 1; // so that leaving ticket entry asks first
    BiletNew();
}

void frmForma::RegimAddBliet_Click()
{
    if (!igra_->AskNewRegim())
        return;
    const qint32 n = state_.store.BiletCount;
    igra_->SetRegim(Rezhim::Zagruzka, true);
    PSbros();
    EnterZagruzka();
    for (qint32 i = 0; i < n; ++i)
        ListBilet1->Add();
    state_.HodCount = 1;
    BiletNew();
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
    if (chosen < 0 || chosen >= store.BiletCount)
        return;

    if (state_.RegimState != Rezhim::Zagruzka) {
        if (chosen != store.CurBilet) {
            store.CurBilet = chosen;
            Bilet();
        }
        RefocusVVOD1();
        return;
    }

    // Load the ticket onto the card for editing.
    BiletNew();
    BiletClear();
    store.CurBilet = chosen;
    const BILETCls &bilet = store.Bilet(chosen);
    Nombilet->setText(bilet.Nomer);
    entry.Load(bilet);
    KletkaColor = kUsedColor;
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
        const qint32 n = bilet.NomeraList(k);
        if (n == 0)
            continue;
        PoleKletka(n);
        WriteKletka(Loto::StrokaOfPosition(k), Loto::ColumnOfNomer(n), Loto::NomerText(n));
    }
    SetBiletGotovEnabled(true);
    Nombilet->setFocus();
}
