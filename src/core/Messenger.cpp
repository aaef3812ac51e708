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

MsgAnswer RecordingMessenger::Show(const MessageRequest &request)
{
    shown.push_back(request);
    if (request.buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (script_.empty())
        return fallbackAnswer;
    MsgAnswer a = script_.front();
    script_.pop_front();
    return a;
}

void RecordingMessenger::Script(std::initializer_list<MsgAnswer> answers)
{
    script_.insert(script_.end(), answers.begin(), answers.end());
}
