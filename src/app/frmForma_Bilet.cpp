// The ticket card: two fields of 3 rows by 9 columns, 32 by 31 pixels a cell,
// with a band of the window's colour between them. In ticket entry the card is
// filled row by row, top to bottom; elsewhere it shows the chosen ticket.
#include "app/frmForma.h"

#include "controls/ListBilet.h"
#include "controls/Surface.h"
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

namespace
{
constexpr int kCellW = 32;
constexpr int kCellH = 31;
constexpr int kSecondField = 104; // top of the lower field

// Top pixel of a card row; the lower field sits below the band.
int Top(int stroka)
{
    return kCellH * stroka + (stroka >= 3 ? 11 : 0);
}
int TextTop(int stroka)
{
    return Top(stroka) + 4;
}

QColor Color(quint32 vb)
{
    return VbColor::ToQColor(vb);
}

} // namespace

void frmForma::BiletClear()
{
    Surface &card = *BiletPic;
    const QColor black(Qt::black);
    card.Clear();
    for (int y0 : {0, kSecondField}) {
        for (int d = 0; d <= 3 * kCellH; d += kCellH)
            card.Line(0, y0 + d, 9 * kCellW, y0 + d, black);
        for (int x = 0; x <= 9 * kCellW; x += kCellW)
            card.Line(x, y0, x, y0 + 3 * kCellH, black);
    }
    card.FillRect(0, 3 * kCellH + 1, 9 * kCellW, kSecondField - 1, Color(VbColor::ButtonFace));
}

void frmForma::FillKletka(int stroka, int column, quint32 color)
{
    const int x = kCellW * column, y = Top(stroka);
    BiletPic->FillRect(x + 1, y + 1, x + 31, y + 30, Color(color));
}

void frmForma::WriteKletka(int stroka, int column, const QString &text)
{
    const int h = (kCellW - BiletPic->TextWidth(text)) / 2;
    BiletPic->Text(kCellW * column + h - 2, TextTop(stroka), text);
}

void frmForma::Bilet()
{
    const BILETCls &bilet = state_.store.Bilet(state_.store.CurBilet());
    SetLabel(NOMBILETlbl, bilet.Nomer);
    BiletClear();
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
        const qint32 n = bilet.NomeraList(k);
        if (n == 0)
            continue; // a position never filled has no cell
        const int r = Loto::StrokaOfPosition(k), c = Loto::ColumnOfNomer(n);
        if (state_.TiragNomera.HodCount() > 0 && IsDrawn(state_.NomerColor[n]))
            FillKletka(r, c, IgraLook::ColorOf(state_.NomerColor[n]));
        WriteKletka(r, c, Loto::NomerText(n));
    }
}

void frmForma::BiletMark(const IgraWin &win)
{
    // A frame three pixels thick, in a red no tour paints with.
    const QColor mark(220, 0, 0);
    const auto frame = [&](int top, int bottom) {
        for (int k = 0; k < 3; ++k)
            BiletPic->RectOutline(k, top + k, Loto::kColumns * kCellW - k, bottom - k, mark);
    };
    const auto field = [&](int pole) { frame(Top(3 * pole), Top(3 * pole + 2) + kCellH); };
    switch (win.kind) {
    case IgraWin::Kind::Nomer:
        if (win.tur == 1 && win.stroka >= 0 && win.stroka < Loto::kStroki) {
            frame(Top(win.stroka), Top(win.stroka) + kCellH);
        } else if (win.tur == 2 && (win.pole == 0 || win.pole == 1)) {
            field(win.pole);
        } else if (win.tur >= 3) {
            field(0);
            field(1);
        }
        return;
    case IgraWin::Kind::Kubishka:
        if (win.pole == 0 || win.pole == 1)
            field(win.pole);
        return;
    case IgraWin::Kind::Priz:
        return; // a prize by ticket number is won by the number printed on it, not by a row
    }
}

void frmForma::CardKletka(int stroka, int n, Kletka kletka)
{
    if (stroka < 0 || stroka >= Loto::kStroki || n < 1 || n > Loto::kMaxNomer)
        return;
    const int c = Loto::ColumnOfNomer(n);
    FillKletka(stroka, c, IgraLook::ColorOf(kletka));
    WriteKletka(stroka, c, Loto::NomerText(n));
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
    StrokaMark(entry.CurStroka());
    Nombilet->setFocus();
    entryNote_.clear();
    UpdateUndo();
    UpdateStrip();
}

void frmForma::StrokaMark(int r)
{
    if (r >= BiletEntry::kFull)
        return;
    for (int c = 0; c < Loto::kColumns; ++c) {
        const qint32 n = entry.Kletka(r, c);
        if (n != 0) {
            WriteKletka(r, c, Loto::NomerText(n));
        } else {
            FillKletka(r, c, kUsedColor);
            WriteKletka(r, c, QStringLiteral("?"));
        }
    }
}

void frmForma::StrokaUnmark(int r)
{
    if (r >= BiletEntry::kFull)
        return;
    for (int c = 0; c < Loto::kColumns; ++c)
        if (entry.Kletka(r, c) == 0)
            FillKletka(r, c, 0xFFFFFF);
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
    ClearPole();
    KletkaColor = kUsedColor;
    for (int n = 1; n <= Loto::kMaxNomer; ++n)
        if (entry.OnCard(n))
            PoleKletka(n);
    BiletClear();
    // The row being filled gets its numbers from StrokaMark: a number written
    // twice would look bolder than one typed.
    for (int r = 0; r < Loto::kStroki; ++r)
        for (int c = 0; c < Loto::kColumns; ++c)
            if (const qint32 n = entry.Kletka(r, c); n != 0 && r != entry.CurStroka())
                WriteKletka(r, c, Loto::NomerText(n));
    StrokaMark(entry.CurStroka());
    PaintDoubts();
    SetBiletGotovEnabled(entry.Ready(Nombilet->text()));
}

void frmForma::PaintEntryChange(const BiletEntry::Change &change)
{
    using Kind = BiletEntry::Change::Kind;
    const int r = change.stroka, c = change.column;
    switch (change.kind) {
    case Kind::None:
        return;
    case Kind::TakenOff:
        // The board shows the number free again.
        KletkaColor = VbColor::ButtonFace;
        PoleKletka(change.nomer);
        SetBiletGotovEnabled(false);
        if (r < 0)
            return;
        if (change.strokaAfter < change.strokaBefore) {
            StrokaUnmark(change.strokaBefore);
            StrokaMark(change.strokaAfter);
        } else {
            const bool current = r == change.strokaAfter;
            FillKletka(r, c, current ? kUsedColor : 0xFFFFFF);
            if (current)
                BiletPic->Text(kCellW * c + 8, TextTop(r), QStringLiteral("?"));
        }
        return;
    case Kind::PutOn:
        FillKletka(r, c, 0xFFFFFF);
        WriteKletka(r, c, Loto::NomerText(change.nomer));
        if (change.displaced != 0) {
            KletkaColor = VbColor::ButtonFace;
            PoleKletka(change.displaced);
        }
        KletkaColor = kUsedColor;
        PoleKletka(change.nomer);
        if (!change.rowCompleted)
            return;
        StrokaUnmark(r);
        if (change.strokaAfter == BiletEntry::kFull)
            SetBiletGotovEnabled(entry.Ready(Nombilet->text()));
        else
            StrokaMark(change.strokaAfter);
        return;
    }
}

void frmForma::BiletPic_MouseUp(QPointF pos)
{
    const int x = Surface::RoundPixel(pos.x());
    int y = Surface::RoundPixel(pos.y());
    if (x < 0 || y < 0)
        return;
    // Below the band the rows are 11 pixels lower.
    if (y > 96)
        y -= 11;
    const int c = x / kCellW, r = y / kCellH;
    if (c > 8 || r > 5)
        return;
    const qint32 n = entry.Kletka(r, c);
    if (n != 0)
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
