#pragma once
// A label that acts as a button: the tour label and the end/pause label.

#include <QLabel>

class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
