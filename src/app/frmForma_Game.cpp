// Modes of the window: the layout each mode shows and the reset between them.
#include "app/frmForma.h"

#include "controls/ClickLabel.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/NikaList.h"
#include "controls/OpURL.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/PrizMatch.h"
#include "dialogs/PrizNB.h"
#include "dialogs/frmOprog.h"
#include "dialogs/frmTIMER.h"
#include "io/FileRead.h"
#include "io/FileSave.h"
#include "io/ZhurnalFile.h"

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
    // Its key does what a click does, and says so in the menu.
    RegimKnopka->setEnabled(!caption.isEmpty());
    if (caption == QLatin1String("  Стоп"))
        RegimKnopka->setText(QStringLiteral("&Пауза"));
    else if (caption == QLatin1String(" Далее"))
        RegimKnopka->setText(QStringLiteral("Продол&жить"));
    else
        RegimKnopka->setText(QStringLiteral("&Конец игры"));
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
    // The journal lives only as long as the check game.
    if (state_.RegimState != Rezhim::Proverka)
        RemoveZhurnal();
    undoNote_.clear();
    UpdateUndo();
    UpdateStrip();
    // The mode's game is set up after the change: the strip shows it once the command is done.
    QTimer::singleShot(0, this, [this] { UpdateStrip(); });
}

void frmForma::GameChanged()
{
    // What a take-back took back is news until the next change.
    undoNote_.clear();
    // Written as soon as the keystroke is handled and the window repainted,
    // also under an announcement that stays open.
    zhurnalTimer_->start();
    UpdateUndo();
    UpdateStrip();
}

void frmForma::UpdateUndo()
{
    const Rezhim regim = state_.RegimState;
    RegimUndo->setEnabled(regim == Rezhim::Zagruzka ? !entry.History().empty() : igra_->CanUndo());
    RegimNextTur->setEnabled(regim == Rezhim::Proverka);
    RegimPovtor->setEnabled(igra_->PovtorAvailable());
}

void frmForma::RegimUndo_Click()
{
    if (state_.RegimState == Rezhim::Zagruzka) {
        if (const auto change = entry.Undo()) {
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
    switch (hod->kind) {
    case GameEngine::Hod::Kind::Nomer:
        undoNote_ = QStringLiteral("Отменён номер %1").arg(hod->value);
        break;
    case GameEngine::Hod::Kind::Tur:
        undoNote_ = QStringLiteral("Отменён переход в следующий тур");
        break;
    case GameEngine::Hod::Kind::Priz:
        undoNote_ = QStringLiteral("Отменён приз билета ") + state_.store.Bilet(hod->value).Nomer;
        break;
    }
    UpdateStrip();
    FocusVVOD1();
}

void frmForma::UpdateStrip()
{
    const Rezhim regim = state_.RegimState;
    // The last number called, and the ticket of a prize given after it: the
    // entry after a prize's 94 is a ticket's place in the list, not a number.
    QString lastNomer, priz;
    const qint32 end = std::min<qint32>(state_.TiragEnd(), qint32(state_.TiragNomera.size()) - 1);
    for (qint32 k = 1; k <= end; ++k) {
        const qint32 v = state_.TiragNomera[std::size_t(k)];
        if (v == 94 && k < end) {
            const qint32 t = state_.TiragNomera[std::size_t(++k)];
            if (t >= 0 && t < state_.store.BiletCount)
                priz = QStringLiteral("Приз по номеру: билет ") + state_.store.Bilet(t).Nomer;
        } else if (v >= 1 && v <= Loto::kMaxNomer) {
            lastNomer = QString::number(v);
            priz.clear();
        }
    }
    const auto withNotes = [&](QString text) {
        for (const QString &note : {priz, undoNote_})
            if (!note.isEmpty())
                text += QLatin1Char('\n') + note;
        return text;
    };
    const QString moves = QStringLiteral("Ход %1").arg(state_.HodCount);
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
        QString text = QStringLiteral("Билетов в наборе: %1").arg(state_.store.BiletCount);
        if (!entryNote_.isEmpty())
            text += QLatin1Char('\n') + entryNote_;
        usrReklamaX1->Show(QString(), text);
        return;
    }
    case Rezhim::None:
        break;
    }
    if (igra_->PovtorAvailable()) {
        // The game is over: every number that did not come, in full.
        QStringList undrawn;
        for (int n = 1; n <= Loto::kMaxNomer; ++n)
            if (state_.NomerColor[std::size_t(n)] == 0)
                undrawn << QString::number(n);
        usrReklamaX1->Show(
            QString(), QStringLiteral("Игра окончена, %1. Не выпали: ").arg(moves.toLower()) +
                           (undrawn.isEmpty() ? QStringLiteral("—") : undrawn.join(QStringLiteral(", "))));
        return;
    }
    QString text = state_.store.BiletCount > 0
                       ? QStringLiteral("Билетов в наборе: %1").arg(state_.store.BiletCount)
                       : QString();
    if (!folderNote_.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + folderNote_;
    usrReklamaX1->Show(QString(), text);
}

void frmForma::WriteZhurnal()
{
    // A set with no file behind it (the whole tickets of a damaged one) cannot be reopened.
    if (state_.RegimState != Rezhim::Proverka || state_.BiletFile.isEmpty() || biletFingerprint_.isEmpty())
        return;
    ZhurnalData data{state_.BiletFile, biletFingerprint_, state_.RegimTitle, igra_->HodyEntries()};
    // A journal that cannot be written costs the user nothing now; the game goes on.
    FileSave::WriteAtomically(PathOf(ZhurnalFile::FileName), ZhurnalFile::Encode(data));
}

void frmForma::RemoveZhurnal()
{
    zhurnalTimer_->stop();
    QFile::remove(PathOf(ZhurnalFile::FileName));
}

void frmForma::OfferZhurnal()
{
    const QString path = PathOf(ZhurnalFile::FileName);
    if (!QFileInfo::exists(path))
        return;
    auto bytes = FileRead::Whole(path);
    if (const auto *failure = std::get_if<ReadFailure>(&bytes)) {
        messenger_.Tell(FileRead::Message(*failure), MsgIcon::Warning, Titles::Files);
        RemoveZhurnal();
        return;
    }
    auto parsed = ZhurnalFile::Parse(std::get<QByteArray>(bytes));
    if (const auto *error = std::get_if<FileParseError>(&parsed)) {
        messenger_.Tell(DescribeParseError(ZhurnalFile::FileName, *error), MsgIcon::Warning, Titles::Files);
        RemoveZhurnal();
        return;
    }
    const ZhurnalData data = std::get<ZhurnalData>(std::move(parsed));
    if (!messenger_.Ask(QStringLiteral("Продолжить незавершённую проверку?"))) {
        RemoveZhurnal();
        return;
    }
    const auto bilet = FileRead::Whole(PathOf(data.BiletFile));
    QString problem;
    if (const auto *failure = std::get_if<ReadFailure>(&bilet))
        problem = FileRead::Message(*failure);
    else if (ZhurnalFile::Fingerprint(std::get<QByteArray>(bilet)) != data.fingerprint)
        problem = QStringLiteral("Файл «%1» изменён после начала проверки.").arg(data.BiletFile);
    if (!problem.isEmpty()) {
        messenger_.Tell(problem + QStringLiteral("\nПроверку продолжить не возможно."), MsgIcon::Warning,
                        Titles::Files);
        RemoveZhurnal();
        return;
    }
    OpenBlt(data.BiletFile);
    if (state_.BiletFile != data.BiletFile || biletFingerprint_ != data.fingerprint) {
        RemoveZhurnal();
        return;
    }
    igra_->RestoreProverka(data.entries);
    FocusVVOD1();
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
                bool opened = false;
                if (!SaveFileUrl(workFolder_, address, &opened))
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
    if (t < 0 || t >= state_.store.BiletCount || t == state_.store.CurBilet)
        return;
    state_.store.CurBilet = t;
    Bilet();
}
