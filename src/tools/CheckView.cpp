#include "tools/CheckView.h"

#include <algorithm>

void CheckView::SetRows(qint32 count)
{
    const std::size_t rows = static_cast<std::size_t>(std::max(count, 0));
    counts_.assign(rows, 0);
    awaited_.assign(rows, kNone);
    lider_.assign(rows, 0);
    liderRows_.clear();
}

std::vector<qint32> CheckView::Leaders() const
{
    std::vector<qint32> rows;
    for (std::size_t t = 0; t < lider_.size(); ++t)
        if (lider_[t])
            rows.push_back(static_cast<qint32>(t));
    return rows;
}

std::vector<std::pair<qint32, qint32>> CheckView::Awaited() const
{
    std::vector<std::pair<qint32, qint32>> rows;
    for (std::size_t t = 0; t < awaited_.size(); ++t)
        if (awaited_[t] != kNone)
            rows.emplace_back(static_cast<qint32>(t), awaited_[t]);
    return rows;
}

void CheckView::ListStart()
{
    std::fill(counts_.begin(), counts_.end(), 0);
    std::fill(awaited_.begin(), awaited_.end(), kNone);
    std::fill(lider_.begin(), lider_.end(), 0);
    liderRows_.clear();
}

void CheckView::ListSovpad(qint32 t, qint32 maxCount)
{
    if (IsRow(t))
        counts_[static_cast<std::size_t>(t)] = maxCount;
}

void CheckView::ListNewLider()
{
    for (qint32 t : liderRows_)
        lider_[static_cast<std::size_t>(t)] = 0;
    liderRows_.clear();
}

void CheckView::ListAddLider(qint32 t)
{
    if (!IsRow(t) || lider_[static_cast<std::size_t>(t)])
        return;
    lider_[static_cast<std::size_t>(t)] = 1;
    liderRows_.push_back(t);
}

void CheckView::ListNomerV(qint32 t, qint32 n)
{
    if (IsRow(t))
        awaited_[static_cast<std::size_t>(t)] = n;
}

void CheckView::ListClearNomerV(qint32 t)
{
    if (IsRow(t))
        awaited_[static_cast<std::size_t>(t)] = kNone;
}

void CheckView::ListNewTur(const std::vector<SovpCls> &sovpBileta, qint32, qint32 liderMax)
{
    // Like the list, every row is redone from the counters; a row without a
    // counter shows 0.
    liderRows_.clear();
    for (std::size_t t = 0; t < counts_.size(); ++t) {
        const qint32 count = t < sovpBileta.size() ? sovpBileta[t].MaxCount : 0;
        counts_[t] = count;
        awaited_[t] = kNone;
        lider_[t] = count == liderMax ? 1 : 0;
        if (lider_[t])
            liderRows_.push_back(static_cast<qint32>(t));
    }
}
