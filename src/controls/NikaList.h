#pragma once
// The winners list: a view over the lines the game lists, which arrive a batch
// at a time. Late in a large game tens of thousands of tickets win on one
// number; they go in as one insertion, not one item each.

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

class NikaList : public QListView
{
    Q_OBJECT
public:
    explicit NikaList(QWidget *parent = nullptr);

    // Appends the lines in one insertion.
    void AddLines(const QStringList &lines);
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
        using QAbstractListModel::QAbstractListModel;
        int rowCount(const QModelIndex &parent = {}) const override
        {
            return parent.isValid() ? 0 : int(lines.size());
        }
        QVariant data(const QModelIndex &index, int role) const override;
        void Append(const QStringList &more);
        void Clear();
        QStringList lines;
    };
    Model model_;
};
