#pragma once
// What a screen reader should say at once, wherever the keyboard is: a
// sentence about the game. Screen readers see this widget as a notification;
// each sentence becomes its name and the notification shows anew, which they
// speak as they speak a desktop notification. The widget draws nothing and
// takes neither the keyboard nor the mouse.

#include <QString>
#include <QWidget>

class Announcer : public QWidget
{
    Q_OBJECT
public:
    explicit Announcer(QWidget *parent = nullptr);

    // Has screen readers say text.
    void Say(const QString &text);
    // The last sentence said.
    const QString &Text() const { return text_; }

private:
    QString text_;
};
