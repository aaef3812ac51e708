// Modes of the window: the layout each mode shows and the reset between them.
#include "app/frmForma.h"

#include "controls/ClickLabel.h"
#include "controls/ListBilet.h"
#include "controls/Surface.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
    const bool zagruzka = state_.RegimState >= Rezhim::Zagruzka;
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

    Timer1->stop();
    SetCaption(VVEDNOM, QString());
    VVOD1->clear();
    VVOD1->hide();
    Knopka->hide();
    state_.store.CurBilet = 0;
    BiletClear();
}
