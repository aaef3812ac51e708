#include "core/ListStats.h"

void ListStats::Publish()
{
    if (all_ == Change::Rows && changed_.empty())
        return;
    const Change change = all_;
    all_ = Change::Rows;
    if (observer_)
        observer_(change, changed_);
    changed_.clear();
}

void ListStats::Clear()
{
    rows_.clear();
    awaitedCount_ = 0;
    plusRows_.clear();
    liderRows_.clear();
    ChangedAll(Change::All);
    Publish();
}

void ListStats::Start(qint32 rows)
{
    rows_.assign(static_cast<std::size_t>(std::max(rows, 0)), Row{0, 0, false, false});
    awaitedCount_ = 0;
    plusRows_.clear();
    liderRows_.clear();
    ChangedAll(Change::Start);
}

void ListStats::NewHod()
{
    for (qint32 t : plusRows_) {
        rows_[static_cast<std::size_t>(t)].plus = false;
        Changed(t);
    }
    plusRows_.clear();
}

void ListStats::NewLider()
{
    for (qint32 t : liderRows_) {
        rows_[static_cast<std::size_t>(t)].lider = false;
        Changed(t);
    }
    liderRows_.clear();
}

void ListStats::AddLider(qint32 t)
{
    if (!IsRow(t) || rows_[static_cast<std::size_t>(t)].lider)
        return;
    rows_[static_cast<std::size_t>(t)].lider = true;
    liderRows_.push_back(t);
    Changed(t);
}

void ListStats::NomerV(qint32 t, qint32 n)
{
    if (!IsRow(t))
        return;
    qint32 &awaited = rows_[static_cast<std::size_t>(t)].awaited;
    awaitedCount_ += (n != 0) - (awaited != 0);
    awaited = n;
    Changed(t);
}

void ListStats::NewTur(const std::vector<SovpCls> &sovpBileta, qint32 liderMax)
{
    plusRows_.clear();
    liderRows_.clear();
    awaitedCount_ = 0;
    // Counts never fall at a tour change, so the leaders are exactly the
    // tickets that reach the highest count.
    for (std::size_t t = 0; t < rows_.size(); ++t) {
        Row &row = rows_[t];
        row.count = t < sovpBileta.size() ? sovpBileta[t].MaxCount : 0;
        row.plus = false;
        row.awaited = 0;
        row.lider = row.count == liderMax;
        if (row.lider)
            liderRows_.push_back(static_cast<qint32>(t));
    }
    ChangedAll(Change::All);
}

const ListStats::Row &ListStats::At(qint32 t) const
{
    static const Row kNothing;
    return IsRow(t) ? rows_[static_cast<std::size_t>(t)] : kNothing;
}

std::vector<qint32> ListStats::Counts() const
{
    std::vector<qint32> counts;
    counts.reserve(rows_.size());
    for (const Row &row : rows_)
        counts.push_back(row.count);
    return counts;
}

std::vector<qint32> ListStats::Leaders() const
{
    std::vector<qint32> leaders;
    for (std::size_t t = 0; t < rows_.size(); ++t)
        if (rows_[t].lider)
            leaders.push_back(static_cast<qint32>(t));
    return leaders;
}

std::vector<std::pair<qint32, qint32>> ListStats::Awaited() const
{
    std::vector<std::pair<qint32, qint32>> awaited;
    for (std::size_t t = 0; t < rows_.size(); ++t)
        if (rows_[t].awaited != 0)
            awaited.emplace_back(static_cast<qint32>(t), rows_[t].awaited);
    return awaited;
}
