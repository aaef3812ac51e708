#include "core/Messenger.h"

bool Messenger::Ask(const QString &text, MsgAnswer defaultButton)
{
    MessageRequest q;
    q.text = text;
    q.buttons = MsgButtons::YesNo;
    q.defaultButton = defaultButton;
    return Show(q) == MsgAnswer::Yes;
}

void Messenger::Tell(const QString &text, MsgIcon icon, const QString &title)
{
    MessageRequest m;
    m.title = title;
    m.text = text;
    m.icon = icon;
    Show(m);
}
