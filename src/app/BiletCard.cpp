#include "app/BiletCard.h"

#include "controls/IgraLook.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/BILETCls.h"
#include "core/IgraFacts.h"
#include "core/LotoRules.h"

#include <optional>

namespace
{
constexpr int kCellW = BiletCard::kCellW;
constexpr int kCellH = BiletCard::kCellH;
constexpr int kSecondField = 3 * kCellH + BiletCard::kBand; // top of the lower field
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kUsedColor = IgraLook::ColorOf(Kletka::OnCard);

// Top pixel of a card row; the lower field sits below the band.
int Top(int stroka)
{
    return kCellH * stroka + (stroka >= 3 ? BiletCard::kBand : 0);
}
int TextTop(int stroka)
{
    return Top(stroka) + 4;
}

QColor Color(quint32 vb)
{
    return VbColor::ToQColor(vb);
}

// The cell a point of the card falls in.
std::optional<BiletCard::Place> PlaceAt(QPointF pos)
{
    const int x = Surface::RoundPixel(pos.x());
    int y = Surface::RoundPixel(pos.y());
    if (x < 0 || y < 0)
        return std::nullopt;
    // Below the band the rows are 11 pixels lower.
    if (y > 96)
        y -= BiletCard::kBand;
    const int c = x / kCellW, r = y / kCellH;
    if (c > 8 || r > 5)
        return std::nullopt;
    return BiletCard::Place{r, c};
}

} // namespace

BiletCard::BiletCard(Surface &surface, QObject *parent) : QObject(parent), surface_(surface)
{
    connect(&surface_, &Surface::MouseReleased, this, [this](QPointF pos) {
        if (const std::optional<Place> place = PlaceAt(pos))
            emit Clicked(place->stroka, place->column);
    });
}

void BiletCard::Clear()
{
    Surface &card = surface_;
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

void BiletCard::Fill(int stroka, int column, quint32 color)
{
    const int x = kCellW * column, y = Top(stroka);
    surface_.FillRect(x + 1, y + 1, x + 31, y + 30, Color(color));
}

void BiletCard::Write(int stroka, int column, const QString &text)
{
    const int h = (kCellW - surface_.TextWidth(text)) / 2;
    surface_.Text(kCellW * column + h - 2, TextTop(stroka), text);
}

void BiletCard::Show(const BILETCls &bilet, const std::function<Kletka(qint32)> &kletkaOf)
{
    Clear();
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
        const qint32 n = bilet.NomeraList(k);
        if (n == 0)
            continue; // a position never filled has no cell
        const int r = Loto::StrokaOfPosition(k), c = Loto::ColumnOfNomer(n);
        if (const Kletka kletka = kletkaOf(n); IsDrawn(kletka))
            Fill(r, c, IgraLook::ColorOf(kletka));
        Write(r, c, Loto::NomerText(n));
    }
}

void BiletCard::Paint(int stroka, int n, quint32 color)
{
    if (stroka < 0 || stroka >= Loto::kStroki || n < 1 || n > Loto::kMaxNomer)
        return;
    const int c = Loto::ColumnOfNomer(n);
    Fill(stroka, c, color);
    Write(stroka, c, Loto::NomerText(n));
}

void BiletCard::FrameWin(const IgraWin &win)
{
    // A frame three pixels thick, in a red no tour paints with.
    const QColor mark(220, 0, 0);
    const auto frame = [&](int top, int bottom) {
        for (int k = 0; k < 3; ++k)
            surface_.RectOutline(k, top + k, Loto::kColumns * kCellW - k, bottom - k, mark);
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

void BiletCard::MarkStroka(const BiletEntry &entry, int r)
{
    if (r >= BiletEntry::kFull)
        return;
    for (int c = 0; c < Loto::kColumns; ++c) {
        const qint32 n = entry.Kletka(r, c);
        if (n != 0) {
            Write(r, c, Loto::NomerText(n));
        } else {
            Fill(r, c, kUsedColor);
            Write(r, c, QStringLiteral("?"));
        }
    }
}

void BiletCard::UnmarkStroka(const BiletEntry &entry, int r)
{
    if (r >= BiletEntry::kFull)
        return;
    for (int c = 0; c < Loto::kColumns; ++c)
        if (entry.Kletka(r, c) == 0)
            Fill(r, c, kWhite);
}

void BiletCard::ShowEntry(const BiletEntry &entry)
{
    Clear();
    // The row being filled gets its numbers from MarkStroka: a number written
    // twice would look bolder than one typed.
    for (int r = 0; r < Loto::kStroki; ++r)
        for (int c = 0; c < Loto::kColumns; ++c)
            if (const qint32 n = entry.Kletka(r, c); n != 0 && r != entry.CurStroka())
                Write(r, c, Loto::NomerText(n));
    MarkStroka(entry, entry.CurStroka());
}

void BiletCard::ShowChange(const BiletEntry &entry, const BiletEntry::Change &change)
{
    using Kind = BiletEntry::Change::Kind;
    const int r = change.stroka, c = change.column;
    switch (change.kind) {
    case Kind::None:
        return;
    case Kind::TakenOff:
        if (r < 0)
            return;
        if (change.strokaAfter < change.strokaBefore) {
            UnmarkStroka(entry, change.strokaBefore);
            MarkStroka(entry, change.strokaAfter);
        } else {
            const bool current = r == change.strokaAfter;
            Fill(r, c, current ? kUsedColor : kWhite);
            if (current)
                surface_.Text(kCellW * c + 8, TextTop(r), QStringLiteral("?"));
        }
        return;
    case Kind::PutOn:
        Fill(r, c, kWhite);
        Write(r, c, Loto::NomerText(change.nomer));
        if (!change.rowCompleted)
            return;
        UnmarkStroka(entry, r);
        if (change.strokaAfter != BiletEntry::kFull)
            MarkStroka(entry, change.strokaAfter);
        return;
    }
}

void BiletCard::MarkDoubts(const BiletEntry &entry, const std::vector<Place> &doubts)
{
    for (const Place &cell : doubts) {
        const qint32 n = entry.Kletka(cell.stroka, cell.column);
        // An empty cell of a row being filled shows its "?".
        if (n == 0 && cell.stroka >= entry.CurStroka())
            continue;
        Fill(cell.stroka, cell.column, kDoubtColor);
        if (n != 0)
            Write(cell.stroka, cell.column, Loto::NomerText(n));
    }
}
