#pragma once
// The ticket list: one row per ticket of the set, with a selection bar and,
// during a draw, the statistics of each ticket beside its number.

#include "core/BiletStore.h"

#include <QScrollBar>
#include <QWidget>

class ListBilet : public QWidget
{
    Q_OBJECT
public:
    // The list shares the ticket count with the store it shows.
    ListBilet(BiletStore &store, QWidget *parent = nullptr);

    // Empties the list; no key or mouse input reaches it until a row is added.
    void Clear();

    qint32 ListIndex() const { return listIndex_; }
    qint32 LineWidth() const { return lineWidth_; }
    void SetLineWidth(qint32 width) { lineWidth_ = width; }

    QScrollBar *VScroll1() const { return vscroll_; }

signals:
    // The user chose the selected row (double click or Enter).
    void DblClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    BiletStore &store_;
    QScrollBar *vscroll_;
    qint32 listIndex_ = 0;
    qint32 lineWidth_ = 69;
};
