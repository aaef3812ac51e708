#pragma once
// A label that acts as a button: the tour label and the end/pause label. A
// screen reader sees a button named by its caption, which it can press.

#include <QLabel>

class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);
    explicit ClickLabel(QWidget *parent = nullptr) : ClickLabel(QString(), parent) {}

    // What a click does (a screen reader's press too).
    void Click() { emit Clicked(); }

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
