// Ticket files and draw files: reading them into the window, writing them, and
// the File menu's commands. Every file is a bare name in the work folder.
#include "app/frmForma.h"

#include "controls/ClickLabel.h"
#include "controls/ListBilet.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/LotoRules.h"
#include "dialogs/OpenSave.h"
#include "io/BiletFile.h"
#include "io/FileRead.h"
#include "io/FileSave.h"
#include "io/TiragFile.h"
#include "io/WorkFolder.h"
#include "io/ZhurnalFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>

QString frmForma::PathOf(const QString &name) const
{
    return QDir(workFolder_).filePath(name);
}

void frmForma::UpdateFileMenu()
{
    const bool zagruzka = state_.RegimState == Rezhim::Zagruzka;
    FileSaveBilet->setEnabled(zagruzka);
    FileSaveBiletAs->setEnabled(zagruzka);
}

void frmForma::OpenBlt(const QString &name)
{
    auto bytes = FileRead::Whole(PathOf(name));
    if (const auto *failure = std::get_if<ReadFailure>(&bytes)) {
        messenger_.Tell(FileRead::Message(*failure), MsgIcon::Warning);
        return;
    }
    // The name tells the kind, as it does to the checker.
    const Loto::Kind &kind = Loto::KindOfBiletFile(name);
    BiletFileData kept;
    auto parsed = BiletFile::Parse(std::get<QByteArray>(bytes), &kept);
    const QByteArray fingerprint = std::holds_alternative<BiletFileData>(parsed)
                                       ? ZhurnalFile::Fingerprint(std::get<QByteArray>(bytes))
                                       : QByteArray();
    // The file's bytes are not needed while the set is built: a large file
    // would otherwise be held twice over.
    bytes = QByteArray();
    if (const auto *error = std::get_if<FileParseError>(&parsed)) {
        // Nothing of the set in hand is touched by a file that cannot be read.
        messenger_.Tell(DescribeParseError(name, *error), MsgIcon::Warning, Titles::Files);
        if (kept.Bilety.empty())
            return;
        // A file cut short still holds the tickets before the cut.
        MessageRequest q;
        q.title = Titles::Files;
        q.text = QStringLiteral("Открыть %1 целых билетов?").arg(kept.Bilety.size());
        q.buttons = MsgButtons::YesNo;
        q.defaultButton = MsgAnswer::No;
        if (messenger_.Show(q) != MsgAnswer::Yes)
            return;
        ApplyBilety(name, kind, kept);
        RememberFile(name);
        // The damaged file is never replaced unasked: the next save asks for a name.
        state_.store.SetFile(QString());
        biletFingerprint_.clear();
        return;
    }
    ApplyBilety(name, kind, std::get<BiletFileData>(parsed));
    biletFingerprint_ = fingerprint;
    RememberFile(name);
}

void frmForma::ApplyBilety(const QString &name, const Loto::Kind &kind, BiletFileData &data, bool unsaved)
{
    savedNote_.clear();
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

bool frmForma::MayReplace(const QString &name, const QString &currentName)
{
    if (name == currentName || !QFileInfo(PathOf(name)).isFile())
        return true;
    MessageRequest q;
    q.title = Titles::Files;
    q.text = QStringLiteral("Файл уже существует.\nЗаменить его?");
    q.icon = MsgIcon::Warning;
    q.buttons = MsgButtons::YesNo;
    q.defaultButton = MsgAnswer::No;
    return messenger_.Show(q) == MsgAnswer::Yes;
}

bool frmForma::WriteFile(const QString &name, const QByteArray &bytes)
{
    switch (FileSave::WriteAtomically(PathOf(name), bytes)) {
    case SaveStatus::Saved:
        return true;
    case SaveStatus::Protected:
        messenger_.Tell(QStringLiteral("Файл защищён от записи."), MsgIcon::Error, Titles::Files);
        return false;
    case SaveStatus::Failed:
        break;
    }
    messenger_.Tell(QStringLiteral("Файл сохранить не возможно."), MsgIcon::Error, Titles::Files);
    return false;
}

void frmForma::SaveBlt(const QString &name)
{
    if (!MayReplace(name, state_.store.File()))
        return;
    const BiletStore &store = state_.store;
    const QByteArray bytes = BiletFile::Encode(state_.TiragTitle, store.Bilety(), store.BiletCount());
    if (!WriteFile(name, bytes))
        return;
    state_.store.Saved(name);
    RememberFile(name);
    biletFingerprint_ = ZhurnalFile::Fingerprint(bytes);
    savedNote_ =
        QStringLiteral("Сохранено: ") + QDir::toNativeSeparators(QFileInfo(PathOf(name)).absoluteFilePath());
    // Nothing unsaved is left to keep in the journal.
    if (state_.RegimState == Rezhim::Zagruzka)
        WriteZhurnal();
    UpdateStrip();
}

bool frmForma::MaySaveBilety()
{
    // A set of no tickets cannot be saved, nor lost.
    if (!state_.store.Unsaved() || state_.store.BiletCount() <= 0)
        return true;
    MessageRequest q;
    q.text = QStringLiteral("Изменения в билетах не сохранены.\nСохранить их?");
    q.buttons = MsgButtons::SaveDiscardCancel;
    q.defaultButton = MsgAnswer::Save;
    switch (messenger_.Show(q)) {
    case MsgAnswer::Save:
        // The ordinary save, with its file dialog when the set has no file yet.
        FileSaveBilet_Click();
        return !state_.store.Unsaved();
    case MsgAnswer::Discard:
        return true;
    default:
        return false;
    }
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
    const QByteArray fingerprint = biletFingerprint_;
    const QString note = savedNote_;
    ApplyBilety(store.File(), *state_.kind, set, store.Unsaved());
    biletFingerprint_ = fingerprint;
    savedNote_ = note;
    UpdateStrip();
    return true;
}

void frmForma::OpenTrg(const QString &name)
{
    auto bytes = FileRead::Whole(PathOf(name));
    if (const auto *failure = std::get_if<ReadFailure>(&bytes)) {
        messenger_.Tell(FileRead::Message(*failure), MsgIcon::Error, Titles::Files);
        return;
    }
    auto parsed = TiragFile::Parse(std::get<QByteArray>(bytes));
    if (const auto *error = std::get_if<FileParseError>(&parsed)) {
        messenger_.Tell(DescribeParseError(name, *error), MsgIcon::Error, Titles::Files);
        return;
    }
    const TiragFileData &data = std::get<TiragFileData>(parsed);
    // Another draw than the tickets' is most likely the wrong file, but may be checked.
    if (Loto::OtherTirag(state_.TiragTitle, data.RegimTitle) &&
        !messenger_.Ask(Loto::OtherTiragText(state_.TiragTitle, data.RegimTitle) +
                        QStringLiteral(" Проверить всё равно?")))
        return;
    // The game in hand is given up only when the user says so, and before
    // anything of it changes. Tickets being keyed in were asked about already.
    if (state_.RegimState == Rezhim::Zagruzka) {
        LeaveZagruzka(false);
    } else if (!igra_->AskNewRegim()) {
        return;
    }
    state_.TiragFile = name;
    RememberFile(name);
    igra_->PovtorTiraga(data.RegimTitle, data.tirag);
}

void frmForma::SaveTrg(const QString &name)
{
    if (!MayReplace(name, state_.TiragFile))
        return;
    if (!WriteFile(name, TiragFile::Encode(state_.RegimTitle, state_.TiragNomera)))
        return;
    state_.TiragFile = name;
    RememberFile(name);
}

void frmForma::OpenPath(const QString &path, bool askedAlready)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        messenger_.Tell(file.exists() ? QStringLiteral("Файл открыть не возможно.")
                                      : QStringLiteral("Файл не найден."),
                        MsgIcon::Warning);
        return;
    }
    const Loto::FileKind kind = Loto::KindOfFile(file.fileName());
    if (!kind.Opens()) {
        messenger_.Tell(QStringLiteral("Файл открыть не возможно."), MsgIcon::Warning);
        return;
    }
    if (!askedAlready && !MaySaveBilety())
        return;
    const QString folder = file.absolutePath();
    QString name = file.fileName();
    const bool elsewhere = QDir(folder) != QDir(workFolder_);
    if (elsewhere && QFileInfo(folder).isWritable() && !WorkFolder::OthersMayWrite(folder)) {
        workFolder_ = folder;
        folderNote_ = QStringLiteral("Папка: ") + QDir::toNativeSeparators(folder);
    } else if (elsewhere) {
        // A folder the user may not write to (the installed examples), or one
        // everybody may write to (/tmp), is only read from: saves, settings and
        // the journal stay in the work folder.
        name = file.absoluteFilePath();
        folderNote_ = QStringLiteral("Открыт из папки ") + QDir::toNativeSeparators(folder);
    }
    if (kind.bilety)
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
        OpenSave::OpenBilety, workFolder_, *state_.kind, QString(),
        [this](const QString &name) { OpenBlt(name); }, this,
        [this](const QString &path) { OpenPath(path, true); });
}

void frmForma::FileSaveBilet_Click()
{
    if (state_.store.BiletCount() == 0) {
        messenger_.Tell(QStringLiteral("Ни одного загруженного билета."), MsgIcon::Warning);
        return;
    }
    // A set read from another folder (given by its whole path) is saved into
    // the work folder under a name the user gives, never back where it came from.
    if (!state_.store.File().isEmpty() && !QDir::isAbsolutePath(state_.store.File())) {
        SaveBlt(state_.store.File());
        return;
    }
    OpenSave::Run(
        OpenSave::SaveBilety, workFolder_, *state_.kind, state_.TiragTitle,
        [this](const QString &name) { SaveBlt(name); }, this);
}

void frmForma::FileSaveBiletAs_Click()
{
    if (state_.store.BiletCount() == 0) {
        messenger_.Tell(QStringLiteral("Ни одного загруженного билета."), MsgIcon::Warning);
        return;
    }
    OpenSave::Run(
        OpenSave::SaveBiletyAs, workFolder_, *state_.kind, state_.TiragTitle,
        [this](const QString &name) { SaveBlt(name); }, this);
}

void frmForma::FileOpenTirag_Click()
{
    if (!MaySaveBilety())
        return;
    OpenSave::Run(
        OpenSave::OpenTirag, workFolder_, *state_.kind, QString(),
        [this](const QString &name) { OpenTrg(name); }, this,
        [this](const QString &path) { OpenPath(path, true); });
}

void frmForma::FileSaveTiragAs_Click()
{
    OpenSave::Run(
        OpenSave::SaveTiragAs, workFolder_, *state_.kind, state_.RegimTitle,
        [this](const QString &name) { SaveTrg(name); }, this);
}
