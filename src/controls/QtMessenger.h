#pragma once
// Shows the program's messages and questions with QMessageBox.

#include "core/Messenger.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class TypeAhead;

class QtMessenger : public Messenger
{
public:
    QtMessenger();
    ~QtMessenger() override;

    // Boxes open over this window (none: over the active one).
    void SetParent(QWidget *parent) { parent_ = parent; }
    // Asked when an OK box opens: the control that takes what is typed while it
    // is open, or nothing. A digit typed into such a box closes it as OK, and
    // it and every key typed after it, however fast, arrive in that control in
    // order, so a number called while the user reads the box is not lost.
    void SetTypeThrough(std::function<QWidget *()> target);
    MsgAnswer Show(const MessageRequest &request) override;

private:
    QPointer<QWidget> parent_;
    std::function<QWidget *()> typeThrough_;
    std::unique_ptr<TypeAhead> typeAhead_;
};
