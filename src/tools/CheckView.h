#pragma once
// The game view of the headless checker. Nothing is drawn: it keeps only what
// the checker reports at the end of a replay besides the list's statistics
// (which the game keeps): the winners list and the caption before the entry
// box. The checker drives the replay's ticks itself.

#include "controls/IgraLook.h"
#include "core/GameEngine.h"
#include "tools/Checker.h"

#include <QString>
#include <vector>

class CheckView : public IgraView
{
public:
    // The winners list goes straight into nika, one entry a line: a large set
    // can have hundreds of thousands.
    CheckView(Check::Winners &nika, const BiletStore &store) : nika_(nika), store_(store) {}

    // The caption before the entry box (the undrawn numbers once a game ends).
    const QString &Vvednom() const { return vvednom_; }

    void NikaClear() override { nika_.clear(); }
    void NikaAdd(const NikaReason &reason, const std::vector<qint32> &tickets) override
    {
        const QString prefix = IgraLook::NikaPrefix(reason);
        for (qint32 t : tickets)
            nika_.Add(prefix, t, store_.Bilet(t).Nomer);
    }

    void SetVVEDNOM(EntryPrompt prompt) override { vvednom_ = IgraLook::PromptText(prompt); }
    void ShowUndrawn(const std::vector<qint32> &undrawn) override
    {
        vvednom_ = IgraLook::UndrawnText(undrawn);
    }

private:
    Check::Winners &nika_;
    const BiletStore &store_;
    QString vvednom_;
};
