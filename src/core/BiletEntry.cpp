#include "core/BiletEntry.h"

#include <utility>

void BiletEntry::Clear()
{
    nomerColor_.fill(::Kletka::Free);
    kletki_.fill(0);
    strokaCount_.fill(0);
    curStroka_ = 0;
    history_.clear();
}

void BiletEntry::Load(const BILETCls &bilet)
{
    Clear();
    for (int k = 0; k < Loto::kNomeraPerBilet; ++k) {
        const int r = Loto::StrokaOfPosition(k);
        strokaCount_[static_cast<std::size_t>(r)] = Loto::kNomeraPerStroka;
        const qint32 n = bilet.NomeraList(k);
        if (n == 0)
            continue;
        nomerColor_[static_cast<std::size_t>(n)] = ::Kletka::OnCard;
        kletki_[static_cast<std::size_t>(Loto::KletkaIndex(r, Loto::ColumnOfNomer(n)))] = n;
    }
    curStroka_ = kFull;
}

BiletEntry::Change BiletEntry::Toggle(int n)
{
    if (n < 1 || n > Loto::kMaxNomer)
        return {};
    const Change change = OnCard(n) ? TakeOff(n) : PutOn(n);
    if (change.kind != Change::Kind::None)
        history_.push_back(change);
    return change;
}

BiletEntry::Change BiletEntry::TakeOff(int n)
{
    Change change{Change::Kind::TakenOff, n};
    change.strokaBefore = curStroka_;
    nomerColor_[static_cast<std::size_t>(n)] = ::Kletka::Free;
    const int c = Loto::ColumnOfNomer(n);
    int r = 0;
    while (r < Loto::kStroki && Kletka(r, c) != n)
        ++r;
    if (r < Loto::kStroki) {
        change.stroka = r;
        change.column = c;
        kletki_[static_cast<std::size_t>(Loto::KletkaIndex(r, c))] = 0;
        --strokaCount_[static_cast<std::size_t>(r)];
        // Filling goes back to the row that lost a number.
        if (r < curStroka_)
            curStroka_ = r;
    }
    change.strokaAfter = curStroka_;
    return change;
}

BiletEntry::Change BiletEntry::PutOn(int n)
{
    const int r = curStroka_;
    if (r >= kFull)
        return {};
    Change change{Change::Kind::PutOn, n, r, Loto::ColumnOfNomer(n)};
    change.strokaBefore = r;
    nomerColor_[static_cast<std::size_t>(n)] = ::Kletka::OnCard;
    qint32 &cell = kletki_[static_cast<std::size_t>(Loto::KletkaIndex(r, change.column))];
    if (cell != 0) {
        // A row holds one number a column: the earlier one makes way.
        change.displaced = cell;
        nomerColor_[static_cast<std::size_t>(cell)] = ::Kletka::Free;
    } else {
        ++strokaCount_[static_cast<std::size_t>(r)];
    }
    cell = n;
    if (strokaCount_[static_cast<std::size_t>(r)] == Loto::kNomeraPerStroka) {
        // The row is complete: filling moves on past the rows completed earlier.
        change.rowCompleted = true;
        do
            ++curStroka_;
        while (strokaCount_[static_cast<std::size_t>(curStroka_)] == Loto::kNomeraPerStroka);
    }
    change.strokaAfter = curStroka_;
    return change;
}

std::optional<BiletEntry::Change> BiletEntry::Undo()
{
    if (history_.empty())
        return std::nullopt;
    const Change change = history_.back();
    history_.pop_back();
    const auto cell = [this](int r, int c) -> qint32 & {
        return kletki_[static_cast<std::size_t>(Loto::KletkaIndex(r, c))];
    };
    const std::size_t n = static_cast<std::size_t>(change.nomer);
    if (change.kind == Change::Kind::PutOn) {
        nomerColor_[n] = ::Kletka::Free;
        cell(change.stroka, change.column) = change.displaced;
        if (change.displaced != 0)
            nomerColor_[static_cast<std::size_t>(change.displaced)] = ::Kletka::OnCard;
        else
            --strokaCount_[static_cast<std::size_t>(change.stroka)];
    } else {
        nomerColor_[n] = ::Kletka::OnCard;
        if (change.stroka >= 0) {
            cell(change.stroka, change.column) = change.nomer;
            ++strokaCount_[static_cast<std::size_t>(change.stroka)];
        }
    }
    curStroka_ = change.strokaBefore;
    return change;
}

QString BiletEntry::NextNomer(const QString &nomer)
{
    const auto digit = Loto::IsLatinDigit;
    qsizetype i = nomer.size() - 1;
    while (i >= 0 && !digit(nomer.at(i)))
        --i;
    if (i < 0)
        return {};
    QString next = nomer;
    // Add one from the last digit, carrying over the nines.
    while (i >= 0 && next.at(i) == QLatin1Char('9')) {
        next[i] = QLatin1Char('0');
        --i;
    }
    if (i >= 0 && digit(next.at(i)))
        next[i] = QChar(next.at(i).unicode() + 1);
    else
        next.insert(i + 1, QLatin1Char('1')); // 099 → 100 keeps its width, 99 → 100 grows
    return next;
}

QString BiletEntry::NextFreeNomer(const QString &nomer, const BiletStore &store)
{
    QString next = NextNomer(nomer);
    // Each held number is passed over once at most.
    for (qint32 tries = 0; !next.isEmpty() && store.FindNomer(next) >= 0 && tries <= store.BiletCount();
         ++tries)
        next = NextNomer(next);
    return next;
}

std::optional<BiletEntry::Filed> BiletEntry::File(BiletStore &store, const QString &nomer) const
{
    if (!Ready(nomer))
        return std::nullopt;
    Filed filed;
    filed.twin = Twin(store, nomer);
    BILETCls bilet;
    bilet.Nomer = nomer;
    Store(bilet);
    filed.stored = store.Store(bilet);
    filed.next = NextFreeNomer(nomer, store);
    return filed;
}

void BiletEntry::Store(BILETCls &bilet) const
{
    int k = 0;
    for (qint32 n : kletki_)
        if (n != 0 && k < Loto::kNomeraPerBilet)
            bilet.NomeraAdd(k++, n);
}

NomerTyping::Step NomerTyping::Press(Key key, const QString &text, const Box &box, bool zagruzka, bool gotov)
{
    Step step;
    const bool ended = std::exchange(numberEnded_, false);
    if (key == Key::Backspace && ended && box.text.isEmpty()) {
        // The first digit is back in the box; the card as before the number.
        step.undo = endedChangedCard_;
        step.box = endedNumber_.left(1);
        return step;
    }
    if (key == Key::Enter || key == Key::Space) {
        // Its number ended with its second digit already.
        if (ended && !(key == Key::Enter && zagruzka && gotov))
            return step;
        step.typed = box.text;
        step.nomer = box.text.toInt(); // empty gives 0
        step.box = QString();
        if (zagruzka && gotov && step.nomer == 0) {
            // A second Enter then stores the ticket.
            step.toGotov = true;
            return step;
        }
        step.entered = true;
        return step;
    }
    if (text.isEmpty() || !text.at(0).isPrint()) {
        step.absorbed = false; // editing and moving keys type nothing
        return step;
    }
    // What the box would hold with the digit typed in over the selection.
    QString kept = box.text;
    qsizetype at = box.cursor;
    if (box.selectionStart >= 0) {
        at = box.selectionStart;
        kept.remove(at, box.selectionLength);
    }
    if (!Loto::IsDigitKey(text) || kept.size() >= 2)
        return step;
    if (zagruzka && kept.size() == 1) {
        endedNumber_ = kept.insert(at, text);
        step.box = QString();
        step.nomer = endedNumber_.toInt();
        if (step.nomer >= 1 && step.nomer <= Loto::kMaxNomer)
            step.ended = step.nomer;
        endedChangedCard_ = false;
        numberEnded_ = true;
        return step;
    }
    step.absorbed = false;
    return step;
}
