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
    // Its print zoom times as large (1 to 2); the owner sizes the strip to match.
    void SetZoom(qreal zoom);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The text's size follows its length.
    void SetTextFont();

    QLabel *big_;
    qreal zoom_ = 1;
    QLabel *text_;
};
