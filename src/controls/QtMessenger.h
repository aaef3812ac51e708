#pragma once
// Shows the program's messages and questions with QMessageBox.

#include "core/Messenger.h"

#include <QPointer>
#include <QWidget>

class QtMessenger : public Messenger
{
public:
    // Boxes open over this window (none: over the active one).
    void SetParent(QWidget *parent) { parent_ = parent; }
    MsgAnswer Show(const MessageRequest &request) override;

private:
    QPointer<QWidget> parent_;
};
