#pragma once
// The winners list: a view over the lines the game lists, which arrive a batch
// at a time. Late in a large game tens of thousands of tickets win on one
// number; they go in as one insertion, and each line is put together from its
// prefix and its ticket's number only when it is shown.

#include "core/BiletStore.h"

#include <QAbstractListModel>
#include <QListView>
#include <vector>

class NikaList : public QListView
{
    Q_OBJECT
public:
    // Lines show the numbers of the tickets in store.
    explicit NikaList(const BiletStore &store, QWidget *parent = nullptr);

    // Appends prefix + the number of each ticket, in one insertion.
    void AddLines(const QString &prefix, const std::vector<qint32> &tickets);
    void Clear();
    int count() const;
    // The text of line i 0..count()-1.
    QString Text(int i) const;
    // The selected line, -1 when none.
    int currentRow() const;
    void setCurrentRow(int row);

signals:
    // The user chose the selected line (double click).
    void LineChosen();

private:
    class Model : public QAbstractListModel
    {
    public:
        explicit Model(const BiletStore &store) : store_(store) {}
        int rowCount(const QModelIndex &parent = {}) const override
        {
            return parent.isValid() ? 0 : int(tickets_.size());
        }
        QVariant data(const QModelIndex &index, int role) const override;
        void Append(const QString &prefix, const std::vector<qint32> &tickets);
        void Clear();
        QString Line(int row) const;

    private:
        // Lines from firstRow on, up to the next run, start with prefix.
        struct Run {
            int firstRow;
            QString prefix;
        };
        const BiletStore &store_;
        std::vector<Run> runs_;
        std::vector<qint32> tickets_;
    };
    Model model_;
};
