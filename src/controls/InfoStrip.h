#pragma once
// The strip along the top of the window: what a user watching the broadcast
// wants at a glance, the last number in large type and a line or two about the
// game or the ticket being keyed in. It never takes the keyboard.

#include <QWidget>

class QLabel;

class InfoStrip : public QWidget
{
    Q_OBJECT
public:
    explicit InfoStrip(QWidget *parent = nullptr);

    // big in large type at the left (may be empty), text beside it.
    void Show(const QString &big, const QString &text);
    QString Big() const;
    QString Text() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *big_;
    QLabel *text_;
};
