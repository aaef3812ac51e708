// The window's side of the card (app/BiletCard) and of ticket entry: in ticket
// entry the card is filled row by row, top to bottom, by keys, clicks on the
// board and the card, and pasting; elsewhere it shows the chosen ticket.
#include "app/frmForma.h"

#include "app/PoleBoard.h"
#include "controls/ListBilet.h"
#include "controls/VbColor.h"
#include "core/LotoRules.h"
#include "io/Cp1251.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <utility>

void frmForma::BiletClear()
{
    card_->Clear();
}

void frmForma::Bilet()
{
    const BILETCls &bilet = state_.store.Bilet(state_.store.CurBilet());
    SetLabel(NOMBILETlbl, bilet.Nomer);
    // Before the first number of a game nothing on the card is drawn.
    const bool drawn = state_.TiragNomera.HodCount() > 0;
    card_->Show(bilet, [&](qint32 n) { return drawn ? state_.NomerColor[std::size_t(n)] : Kletka::Free; });
}

void frmForma::CardKletka(int stroka, int n, Kletka kletka)
{
    card_->Paint(stroka, n, IgraLook::ColorOf(kletka));
}

void frmForma::BiletNew()
{
    entry.Clear();
    ClearPole();
    BiletClear();
    state_.store.ShowNew();
    SetLabel(NOMBILETlbl, QString());
    photoOnCard_ = false;
    Nombilet->clear();
    kBiletGotov->setEnabled(false);
    card_->MarkStroka(entry, entry.CurStroka());
    Nombilet->setFocus();
    entryNote_.clear();
    UpdateUndo();
    UpdateStrip();
}

void frmForma::NomerToggle(int n, bool typed)
{
    const BiletEntry::Change change = entry.Toggle(n);
    const QString nomer = QString::number(change.nomer);
    if (change.kind == BiletEntry::Change::Kind::PutOn)
        entryNote_ = change.displaced != 0
                         ? QStringLiteral("%1 в строке %2 вместо %3")
                               .arg(nomer)
                               .arg(change.stroka + 1)
                               .arg(change.displaced)
                         : QStringLiteral("%1 в строке %2").arg(nomer).arg(change.stroka + 1);
    else if (change.kind == BiletEntry::Change::Kind::TakenOff && change.stroka >= 0)
        // Typing a number of a row filled before is most likely a slip: it is said loudly.
        entryNote_ = typed && change.stroka != change.strokaBefore
                         ? QStringLiteral("Внимание: %1 снят со строки %2, Ctrl+Z вернёт его")
                               .arg(nomer)
                               .arg(change.stroka + 1)
                         : QStringLiteral("%1 снят со строки %2").arg(nomer).arg(change.stroka + 1);
    PaintEntryChange(change);
    // A row of a ticket from a photo that waited for the user is complete:
    // the rows read below it come on.
    if (photoOnCard_ && photos_.Continue(entry))
        RepaintEntry();
    PaintDoubts();
    UpdateUndo();
    UpdateStrip();
}

void frmForma::RepaintEntry()
{
    board_->Clear();
    for (int n = 1; n <= Loto::kMaxNomer; ++n)
        if (entry.OnCard(n))
            board_->Paint(n, kUsedColor);
    card_->ShowEntry(entry);
    PaintDoubts();
    SetBiletGotovEnabled(entry.Ready(Nombilet->text()));
}

void frmForma::PaintEntryChange(const BiletEntry::Change &change)
{
    using Kind = BiletEntry::Change::Kind;
    switch (change.kind) {
    case Kind::None:
        return;
    case Kind::TakenOff:
        // The board shows the number free again.
        board_->Paint(change.nomer, VbColor::ButtonFace);
        SetBiletGotovEnabled(false);
        break;
    case Kind::PutOn:
        if (change.displaced != 0)
            board_->Paint(change.displaced, VbColor::ButtonFace);
        board_->Paint(change.nomer, kUsedColor);
        break;
    }
    card_->ShowChange(entry, change);
    if (change.kind == Kind::PutOn && change.strokaAfter == BiletEntry::kFull && change.rowCompleted)
        SetBiletGotovEnabled(entry.Ready(Nombilet->text()));
}

void frmForma::BiletPic_Click(int stroka, int column)
{
    if (const qint32 n = entry.Kletka(stroka, column); n != 0)
        NomerToggle(n);
}

void frmForma::Nombilet_Change()
{
    SetBiletGotovEnabled(entry.Ready(Nombilet->text()));
    if (photos_.Active()) {
        UpdateNombiletDoubt();
        UpdateStrip();
    }
}

void frmForma::SetBiletGotovEnabled(bool enabled)
{
    // Qt would move the keyboard on to the next control, the ticket number,
    // and the next number typed would overwrite it.
    if (!enabled && kBiletGotov->hasFocus() && VVOD1->isEnabled() && VVOD1->isVisible())
        VVOD1->setFocus();
    kBiletGotov->setEnabled(enabled);
}

bool frmForma::Nombilet_KeyPress(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!Nombilet->text().isEmpty()) {
            VVOD1->setFocus();
            // A number the set holds already is said now, not after thirty numbers.
            const qint32 twin = BiletEntry::Twin(state_.store, Nombilet->text());
            entryNote_ = twin >= 0 ? TwinNote(Nombilet->text(), twin) : QString();
            UpdateStrip();
        }
        return true;
    }
    if (event->key() == Qt::Key_Escape)
        return AbandonEdit();
    // Tickets are saved in Windows-1251: a character it cannot hold would be
    // lost on saving, so it is not let in.
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !Cp1251::CanEncode(typed))
        return true;
    return false;
}

bool frmForma::AbandonEdit()
{
    BiletStore &store = state_.store;
    if (state_.RegimState != Rezhim::Zagruzka || store.CurBilet() >= store.BiletCount())
        return false;
    const QString nomer = store.Bilet(store.CurBilet()).Nomer;
    BiletNew();
    // The ticket from a photo that the correction put aside comes back.
    if (photos_.Active())
        PhotoBilet();
    entryNote_ = QStringLiteral("Правка билета %1 отменена").arg(nomer);
    UpdateStrip();
    return true;
}

void frmForma::VvodNomer(int n, bool typed)
{
    if (state_.RegimState == Rezhim::Proverka)
        igra_->NomerEntered(n);
    else
        NomerToggle(n, typed);
}

bool frmForma::VVOD1_KeyPress(QKeyEvent *event)
{
    const bool zagruzka = state_.RegimState == Rezhim::Zagruzka;
    if (zagruzka && event->matches(QKeySequence::Paste)) {
        PasteNomera(QGuiApplication::clipboard()->text());
        return true;
    }
    if (event->key() == Qt::Key_Escape)
        return AbandonEdit();
    using Key = NomerTyping::Key;
    Key key = Key::Other;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        key = Key::Enter;
    else if (event->key() == Qt::Key_Space)
        key = Key::Space;
    else if (event->key() == Qt::Key_Backspace)
        key = Key::Backspace;
    NomerTyping::Box box{VVOD1->text(), VVOD1->cursorPosition()};
    if (VVOD1->hasSelectedText()) {
        box.selectionStart = VVOD1->selectionStart();
        box.selectionLength = VVOD1->selectedText().size();
    }
    const NomerTyping::Step step = typing_.Press(key, event->text(), box, zagruzka, kBiletGotov->isEnabled());
    if (step.undo) {
        if (const auto change = UndoEntry()) {
            RepaintEntry();
            entryNote_ = UndoneNote(*change);
            UpdateUndo();
            UpdateStrip();
        }
    }
    if (step.box) {
        if (step.box->isEmpty())
            VVOD1->clear();
        else
            VVOD1->setText(*step.box);
    }
    if (step.toGotov) {
        kBiletGotov->setFocus();
        return true;
    }
    if (step.entered) {
        const QString &typedText = step.typed;
        const int n = step.nomer;
        if (state_.RegimState == Rezhim::Proverka && !typedText.isEmpty()) {
            // A number that cannot count does not vanish without a word.
            QString refused;
            if (n == 0 || n > Loto::kMaxNomer)
                refused = QStringLiteral("Номера %1 нет: номера от 1 до 90").arg(typedText);
            else if (IsDrawn(state_.NomerColor[std::size_t(n)]))
                refused = QStringLiteral("Номер %1 уже выпал").arg(n);
            if (!refused.isEmpty()) {
                undoNote_ = refused;
                UpdateStrip();
                return true;
            }
        }
        if (n == 0 || n > Loto::kMaxNomer)
            return true;
        VvodNomer(n, true);
        return true;
    }
    if (step.ended != 0) {
        const std::size_t changes = entry.History().size();
        VvodNomer(step.ended, true);
        if (entry.History().size() != changes)
            typing_.EndedChangedCard();
    }
    return step.absorbed;
}

void frmForma::PasteNomera(const QString &text)
{
    VVOD1->clear();
    typing_.Reset();
    const QStringList pieces = text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        bool ok = false;
        const int n = piece.toInt(&ok);
        QString stop;
        if (!ok || n < 1 || n > Loto::kMaxNomer)
            stop = QStringLiteral("Вставка остановлена на «%1»: это не номер от 1 до 90").arg(piece.left(20));
        else if (entry.Complete() && !entry.OnCard(n))
            stop = QStringLiteral("Вставка остановлена на %1: билет заполнен").arg(n);
        if (!stop.isEmpty()) {
            entryNote_ = stop;
            UpdateStrip();
            return;
        }
        NomerToggle(n, true);
    }
}

void frmForma::kBiletGotov_Click()
{
    const QString nomer = Nombilet->text();
    // Only a complete card with a number is a ticket.
    const auto filed = entry.File(state_.store, nomer);
    if (!filed)
        return;
    const bool fromPhoto = photoOnCard_;
    if (filed->stored.added)
        ListBilet1->Add();
    else if (filed->stored.renamed)
        ListBilet1->NewNomer();
    BiletyChanged();
    BiletNew();
    ListBilet1->ShowRow(filed->stored.slot);
    Nombilet->setText(filed->next); // offered selected: typing replaces it
    Nombilet->selectAll();
    if (filed->twin >= 0) {
        entryNote_ = TwinNote(nomer, filed->twin);
        UpdateStrip();
    }
    // The next ticket from the photos, or the one a correction put aside.
    if (fromPhoto || photos_.Active()) {
        const QString note = entryNote_;
        if (fromPhoto)
            PhotoNext();
        else
            PhotoBilet();
        if (entryNote_.isEmpty())
            entryNote_ = note;
        UpdateStrip();
    }
}

QString frmForma::TwinNote(const QString &nomer, qint32 twin)
{
    return QStringLiteral("Номер %1 уже есть в наборе: билет %2 в списке").arg(nomer).arg(twin + 1);
}

QString frmForma::UndoneNote(const BiletEntry::Change &change)
{
    return QStringLiteral("Отменено: ") + Loto::NomerText(change.nomer).trimmed() +
           (change.kind == BiletEntry::Change::Kind::PutOn ? QStringLiteral(" снова снят")
                                                           : QStringLiteral(" снова на билете"));
}
