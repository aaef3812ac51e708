#pragma once
// Shows the program's messages and questions with QMessageBox.

#include "core/Messenger.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QtMessenger : public Messenger
{
public:
    // Boxes open over this window (none: over the active one).
    void SetParent(QWidget *parent) { parent_ = parent; }
    // Asked when an OK box opens: the control that takes what is typed while it
    // is open, or nothing. A digit typed into such a box closes it as OK and
    // arrives in that control, so a number called while the user reads the box
    // is not lost.
    void SetTypeThrough(std::function<QWidget *()> target) { typeThrough_ = std::move(target); }
    MsgAnswer Show(const MessageRequest &request) override;

private:
    QPointer<QWidget> parent_;
    std::function<QWidget *()> typeThrough_;
};
