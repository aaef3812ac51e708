// Files and the journal in the window: the File menu's commands, a set read
// from a file put in place, a journal taken up at start-up. The files
// themselves are FormaFiles', the journal is ZhurnalKeeper's.
#include "app/frmForma.h"

#include "app/ZhurnalKeeper.h"
#include "controls/ClickLabel.h"
#include "controls/ListBilet.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/LotoRules.h"
#include "dialogs/OpenSave.h"
#include "io/BiletFile.h"
#include "io/TiragFile.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

void frmForma::UpdateFileMenu()
{
    const bool zagruzka = state_.RegimState == Rezhim::Zagruzka;
    FileSaveBilet->setEnabled(zagruzka);
    FileSaveBiletAs->setEnabled(zagruzka);
}

void frmForma::OpenBlt(const QString &name)
{
    std::optional<FormaFiles::Bilety> read = files_.ReadBilety(name);
    if (!read)
        return;
    files_.ClearSavedNote();
    ApplyBilety(name, *read->kind, read->data);
    files_.BiletyOpened(name, *read);
}

void frmForma::ApplyBilety(const QString &name, const Loto::Kind &kind, BiletFileData &data, bool unsaved)
{
    gameView_->SetTur(1);
    gameView_->SetNHOD(0);
    igra_->SetRegim(Rezhim::None);
    PSbros();
    Regim->menuAction()->setEnabled(true);
    RegimAddBliet->setEnabled(true);
    RegimPrizPoNomeru->setEnabled(false);
    // A new set has no game yet: nothing to lose when checking starts, and the
    // winners of the last set are not this set's.
    state_.TiragNomera.Clear();
    igra_->ClearNika();
    FileOtchet->setEnabled(false); // the game reported on was the last set's

    state_.OpenBilety(name, kind, data.TiragTitle, std::move(data.Bilety), unsaved);
    gameView_->SetCaption(RegimCaption(Rezhim::None, state_.GameTitle, state_.RegimTitle));

    const BiletStore &store = state_.store;
    for (qint32 t = 0; t < store.BiletCount(); ++t)
        ListBilet1->Add();
    // The board shows every number that is on some ticket.
    for (int n = 1; n <= Loto::kMaxNomer; ++n)
        if (store.PoNomeru(n).ListCount() > 0)
            PoleUnhighlight(n);

    Bilet();
    Regim->menuAction()->setEnabled(true);
    FileOpenTirag->setEnabled(true);
    ListBilet1->setFocus();
    UpdateStrip();
}

void frmForma::SaveBlt(const QString &name)
{
    if (!files_.SaveBilety(name))
        return;
    // Nothing unsaved is left to keep in the journal.
    if (state_.RegimState == Rezhim::Zagruzka)
        zhurnal_->Write();
    UpdateStrip();
}

bool frmForma::MaySaveBilety()
{
    return files_.MaySave([this] { FileSaveBilet_Click(); });
}

bool frmForma::LeaveZagruzka(bool ask)
{
    if (ask && !MaySaveBilety())
        return false;
    const BiletStore &store = state_.store;
    BiletFileData set;
    set.TiragTitle = state_.TiragTitle;
    set.Bilety.assign(store.Bilety().begin(), store.Bilety().begin() + std::max(store.BiletCount(), 0));
    // The set is readied as an opened file is, and stays as saved (or not) as it was.
    ApplyBilety(store.File(), *state_.kind, set, store.Unsaved());
    UpdateStrip();
    return true;
}

void frmForma::OpenTrg(const QString &name)
{
    const std::optional<TiragFileData> data = files_.ReadTirag(name);
    if (!data)
        return;
    // The game in hand is given up only when the user says so, and before
    // anything of it changes. Tickets being keyed in were asked about already.
    if (state_.RegimState == Rezhim::Zagruzka) {
        LeaveZagruzka(false);
    } else if (!igra_->AskNewRegim()) {
        return;
    }
    files_.TiragOpened(name);
    igra_->PovtorTiraga(data->RegimTitle, data->tirag);
}

void frmForma::SaveTrg(const QString &name)
{
    files_.SaveTirag(name);
}

void frmForma::OpenPath(const QString &path, bool askedAlready)
{
    const std::optional<Loto::FileKind> kind = files_.KindOfPath(path);
    if (!kind || (!askedAlready && !MaySaveBilety()))
        return;
    const QString name = files_.EnterFolderOf(path);
    if (kind->bilety)
        OpenBlt(name);
    else
        OpenTrg(name);
    UpdateStrip();
}

void frmForma::FileOpen_Click()
{
    if (!MaySaveBilety())
        return;
    OpenSave::Run(
        OpenSave::OpenBilety, files_.Folder(), *state_.kind, QString(),
        [this](const QString &name) { OpenBlt(name); }, this,
        [this](const QString &path) { OpenPath(path, true); });
}

void frmForma::FileSaveBilet_Click()
{
    if (!files_.AnyToSave())
        return;
    if (const QString name = files_.SaveName(); !name.isEmpty()) {
        SaveBlt(name);
        return;
    }
    OpenSave::Run(
        OpenSave::SaveBilety, files_.Folder(), *state_.kind, state_.TiragTitle,
        [this](const QString &name) { SaveBlt(name); }, this);
}

void frmForma::FileSaveBiletAs_Click()
{
    if (!files_.AnyToSave())
        return;
    OpenSave::Run(
        OpenSave::SaveBiletyAs, files_.Folder(), *state_.kind, state_.TiragTitle,
        [this](const QString &name) { SaveBlt(name); }, this);
}

void frmForma::FileOpenTirag_Click()
{
    if (!MaySaveBilety())
        return;
    OpenSave::Run(
        OpenSave::OpenTirag, files_.Folder(), *state_.kind, QString(),
        [this](const QString &name) { OpenTrg(name); }, this,
        [this](const QString &path) { OpenPath(path, true); });
}

void frmForma::FileSaveTiragAs_Click()
{
    OpenSave::Run(
        OpenSave::SaveTiragAs, files_.Folder(), *state_.kind, state_.RegimTitle,
        [this](const QString &name) { SaveTrg(name); }, this);
}

QString frmForma::FileNotes() const
{
    return files_.Notes() + zhurnal_->Note();
}

void frmForma::OfferZhurnal()
{
    std::optional<ZhurnalData> found = zhurnal_->Offer();
    if (!found)
        return;
    if (found->zagruzka) {
        RestoreZagruzka(*found);
        return;
    }
    if (!RestoreBilety(*found)) {
        zhurnal_->Remove();
        return;
    }
    igra_->RestoreProverka(found->tirag);
    gameView_->FocusVVOD1();
}

bool frmForma::RestoreBilety(const ZhurnalData &data)
{
    ZhurnalKeeper::GameBilety found = zhurnal_->FindBilety(data);
    if (found.inFile) {
        OpenBlt(data.BiletFile);
        return state_.store.File() == data.BiletFile && files_.Fingerprint() == data.fingerprint;
    }
    if (!found.copy)
        return false;
    // No file holds these tickets as they are: a save asks for a name.
    files_.ClearSavedNote();
    ApplyBilety(QString(), *found.copy->kind, found.copy->bilety, true);
    files_.ClearFingerprint();
    UpdateStrip();
    return true;
}

void frmForma::RestoreZagruzka(ZhurnalData &data)
{
    BiletStore &store = state_.store;
    state_.SetKind(*data.kind, data.bilety.TiragTitle);
    igra_->SetRegim(Rezhim::Zagruzka, true);
    PSbros();
    // The set's file stays its file: only the user's save writes it.
    store.Load(std::move(data.bilety.Bilety), data.BiletFile, true);
    EnterZagruzka();
    files_.ClearFingerprint();
    igra_->ClearNika();
    for (qint32 i = 0; i < store.BiletCount(); ++i)
        ListBilet1->Add();
    BiletNew();
    UpdateRegimMenu();
    zhurnal_->Write();
}
