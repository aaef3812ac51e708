#include "core/Tirag.h"

Tirag::Tirag(std::vector<qint32> entries) : entries_(std::move(entries))
{
    for (qint32 pos = 0; pos < Size();) {
        const Step step = At(pos);
        if (step.kind == Kind::Nomer)
            ++hodCount_;
        ended_ = step.kind == Kind::End;
        pos += step.size;
    }
}

Tirag::Step Tirag::At(qint32 pos) const
{
    const qint32 v = entries_[static_cast<std::size_t>(pos)];
    if (v >= 1 && v <= Loto::kMaxNomer)
        return {Kind::Nomer, v, 1};
    switch (v) {
    case Loto::kMarkerTur:
        return {Kind::Tur, 0, 1};
    case Loto::kMarkerEnd:
        return {Kind::End, 0, 1};
    case Loto::kMarkerPriz:
        // The entry after the marker is the ticket's index, whatever its value.
        if (pos + 1 < Size())
            return {Kind::Priz, entries_[static_cast<std::size_t>(pos) + 1], 2};
        break;
    default:
        break;
    }
    return {Kind::Unknown, v, 1};
}

void Tirag::AddNomer(qint32 n)
{
    if (n < 1 || n > Loto::kMaxNomer)
        return;
    entries_.push_back(n);
    ++hodCount_;
    ended_ = false;
}

void Tirag::AddTur()
{
    entries_.push_back(Loto::kMarkerTur);
    ended_ = false;
}

void Tirag::AddPriz(qint32 bilet)
{
    if (ended_)
        entries_.back() = Loto::kMarkerPriz;
    else
        entries_.push_back(Loto::kMarkerPriz);
    entries_.push_back(bilet);
    ended_ = false;
}

void Tirag::AddEnd()
{
    entries_.push_back(Loto::kMarkerEnd);
    ended_ = true;
}

void Tirag::Clear()
{
    entries_.clear();
    hodCount_ = 0;
    ended_ = false;
}
