#pragma once
// The game view of the headless checker. Nothing is drawn: it keeps only what
// the checker reports at the end of a replay besides the list's statistics
// (which the game keeps): the winners list and the caption before the entry
// box. Every other call is accepted and forgotten.

#include "core/GameEngine.h"
#include "tools/Checker.h"

#include <QString>
#include <vector>

class CheckView : public IgraView
{
public:
    // The winners list goes straight into nika, one entry a line with only the
    // line's text filled in: a large set can have hundreds of thousands.
    CheckView(std::vector<Check::Winner> &nika, const BiletStore &store) : nika_(nika), store_(store) {}

    // The caption before the entry box (the undrawn numbers once a game ends).
    const QString &Vvednom() const { return vvednom_; }

    void PoleKletka(int, quint32) override {}
    void PoleUnhighlight(int) override {}
    void ClearPole() override {}
    void ShowBilet() override {}
    void CardKletka(int, int, quint32) override {}

    void NikaClear() override { nika_.clear(); }
    void NikaAdd(const QString &prefix, const std::vector<qint32> &tickets) override
    {
        for (qint32 t : tickets)
            nika_.push_back(Check::Winner{prefix + store_.Bilet(t).Nomer, -1, {}});
    }

    void SetTur(const QString &, quint32) override {}
    void SetNHOD(const QString &) override {}
    void SetVVOD1(const QString &) override {}
    void SetVVEDNOM(const QString &text) override { vvednom_ = text; }
    void SetKnopka(const QString &) override {}
    void SetCaption(const QString &) override {}

    void EnableVVOD1(bool, bool) override {}
    void EnablePole(bool) override {}
    void EnableBiletPic(bool) override {}
    void EnableSaveTirag(bool) override {}
    void EnableAddBilety(bool) override {}
    void EnablePrizPoNomeru(bool) override {}
    void FocusVVOD1() override {}

    // The checker drives the ticks itself.
    void TimerStart() override {}
    void TimerStop() override {}

    void RegimChanged() override {}
    // Questions are answered No, so neither of these is ever reached in a replay.
    void SaveTiragAs() override {}
    void ShowSettings() override {}

private:
    std::vector<Check::Winner> &nika_;
    const BiletStore &store_;
    QString vvednom_;
};
