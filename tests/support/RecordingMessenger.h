#pragma once
// Answers questions from a queue of scripted answers (then a default one) and
// keeps every request, so a test can check what the user would have seen.

#include "core/Messenger.h"

#include <deque>
#include <initializer_list>
#include <vector>

class RecordingMessenger : public Messenger
{
public:
    MsgAnswer Show(const MessageRequest &request) override
    {
        shown.push_back(request);
        if (request.buttons == MsgButtons::Ok)
            return MsgAnswer::Ok;
        if (script_.empty())
            return fallbackAnswer;
        const MsgAnswer a = script_.front();
        script_.pop_front();
        return a;
    }

    // Answers the next Yes/No questions with these, in order.
    void Script(std::initializer_list<MsgAnswer> answers)
    {
        script_.insert(script_.end(), answers.begin(), answers.end());
    }
    // The answer to questions once the script is used up.
    MsgAnswer fallbackAnswer = MsgAnswer::No;

    std::vector<MessageRequest> shown;

private:
    std::deque<MsgAnswer> script_;
};
