#include "controls/NikaList.h"

QVariant NikaList::Model::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= lines.size())
        return {};
    return lines.at(index.row());
}

void NikaList::Model::Append(const QStringList &more)
{
    if (more.isEmpty())
        return;
    beginInsertRows({}, int(lines.size()), int(lines.size() + more.size() - 1));
    lines += more;
    endInsertRows();
}

void NikaList::Model::Clear()
{
    beginResetModel();
    lines.clear();
    endResetModel();
}

NikaList::NikaList(QWidget *parent) : QListView(parent)
{
    setModel(&model_);
    // Lines of one height let a list of many thousand winners lay out at once.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListView::doubleClicked, this, [this] { emit LineChosen(); });
}

void NikaList::AddLines(const QStringList &lines)
{
    model_.Append(lines);
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
    return i >= 0 && i < model_.lines.size() ? model_.lines.at(i) : QString();
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
