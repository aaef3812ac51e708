#include "controls/QtMessenger.h"

#include <QMessageBox>
#include <QPushButton>

MsgAnswer QtMessenger::Show(const MessageRequest &request)
{
    QMessageBox box(parent_);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Exclamation:
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (request.buttons == MsgButtons::YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(request.defaultButton == MsgAnswer::No ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}
