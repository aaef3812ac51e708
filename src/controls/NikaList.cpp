#include "controls/NikaList.h"

#include <algorithm>

QString NikaList::Model::Line(int row) const
{
    if (row < 0 || std::size_t(row) >= tickets_.size())
        return {};
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), row,
                                      [](int r, const Run &later) { return r < later.firstRow; });
    const qint32 t = tickets_[std::size_t(row)];
    const QString nomer =
        t >= 0 && std::size_t(t) < store_.Bilety().size() ? store_.Bilet(t).Nomer : QString();
    return std::prev(run)->prefix + nomer;
}

QVariant NikaList::Model::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return Line(index.row());
}

void NikaList::Model::Append(const QString &prefix, const std::vector<qint32> &tickets)
{
    if (tickets.empty())
        return;
    const int first = int(tickets_.size());
    beginInsertRows({}, first, first + int(tickets.size()) - 1);
    if (runs_.empty() || runs_.back().prefix != prefix)
        runs_.push_back(Run{first, prefix});
    tickets_.insert(tickets_.end(), tickets.begin(), tickets.end());
    endInsertRows();
}

void NikaList::Model::Clear()
{
    beginResetModel();
    runs_.clear();
    tickets_.clear();
    endResetModel();
}

NikaList::NikaList(const BiletStore &store, QWidget *parent) : QListView(parent), model_(store)
{
    setModel(&model_);
    // Lines of one height let a list of many thousand winners lay out at once.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The list with the keyboard says so, in the light yellow of the ticket
    // list's focus frame; the frame keeps its width either way.
    setStyleSheet(QStringLiteral("QListView { border: 2px solid palette(mid); }"
                                 "QListView:focus { border: 2px solid rgb(230, 200, 0); }"));
    connect(this, &QListView::doubleClicked, this, [this] { emit LineChosen(); });
}

void NikaList::AddLines(const QString &prefix, const std::vector<qint32> &tickets)
{
    model_.Append(prefix, tickets);
}

void NikaList::Clear()
{
    model_.Clear();
}

int NikaList::count() const
{
    return model_.rowCount();
}

QString NikaList::Text(int i) const
{
    return model_.Line(i);
}

int NikaList::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void NikaList::setCurrentRow(int row)
{
    setCurrentIndex(model_.index(row));
}
