// The window's side of the board (app/PoleBoard): what a game paints on it,
// and what a number chosen on it does.
#include "app/frmForma.h"

#include "app/PoleBoard.h"

void frmForma::ClearPole()
{
    board_->Clear();
}

void frmForma::PoleKletka(int n, Kletka kletka)
{
    board_->Paint(n, IgraLook::ColorOf(kletka));
}

void frmForma::PoleUnhighlight(int n)
{
    board_->Unhighlight(n);
}

void frmForma::PoleChosen(int n)
{
    if (state_.RegimState == Rezhim::Zagruzka)
        NomerToggle(n);
    else if (state_.RegimState == Rezhim::Proverka)
        igra_->NomerEntered(n);
}
