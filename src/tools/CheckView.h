#pragma once
// The game view of the headless checker. Nothing is drawn: it keeps only what
// the checker reports at the end of a replay, namely the ticket list's
// statistics columns (count, leader mark, awaited number per ticket), the
// winners list and the caption before the entry box. Every other call is
// accepted and forgotten.

#include "core/GameEngine.h"
#include "tools/Checker.h"

#include <QString>
#include <utility>
#include <vector>

class CheckView : public IgraView
{
public:
    // The winners list goes straight into nika, one entry a line with only the
    // line's text filled in: a large set can have hundreds of thousands.
    explicit CheckView(std::vector<Check::Winner> &nika) : nika_(nika) {}

    // The list holds one row per ticket of the set, rows 0..count-1.
    void SetRows(qint32 count);
    qint32 Rows() const { return static_cast<qint32>(counts_.size()); }

    // The count column of every row.
    const std::vector<qint32> &Counts() const { return counts_; }
    // Rows marked as leaders, in row order.
    std::vector<qint32> Leaders() const;
    // (row, awaited number) for every row that shows one, in row order.
    std::vector<std::pair<qint32, qint32>> Awaited() const;
    // The caption before the entry box (the undrawn numbers once a game ends).
    const QString &Vvednom() const { return vvednom_; }

    void PoleKletka(int, quint32) override {}
    void PoleUnhighlight(int) override {}
    void ClearPole() override {}
    void ShowBilet() override {}
    void CardKletka(int, int, quint32) override {}

    void ListStart() override;
    // The "+" of the last move is not reported, so a new move changes nothing here.
    void ListNewHod() override {}
    void ListSovpad(qint32 t, qint32 maxCount) override;
    void ListNewLider() override;
    void ListAddLider(qint32 t) override;
    void ListNomerV(qint32 t, qint32 n) override;
    void ListClearNomerV(qint32 t) override;
    void ListNewTur(const std::vector<SovpCls> &sovpBileta, qint32 count, qint32 liderMax) override;

    void NikaClear() override { nika_.clear(); }
    void NikaAdd(const QString &line) override { nika_.push_back(Check::Winner{line, -1, {}}); }

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

    // The checker drives the ticks itself; the timer is only remembered.
    void TimerStart() override { timer_ = true; }
    void TimerStop() override { timer_ = false; }
    bool TimerActive() const override { return timer_; }

    void RegimChanged() override {}
    // Questions are answered No, so neither of these is ever reached in a replay.
    void SaveTiragAs() override {}
    void ShowSettings() override {}

private:
    bool IsRow(qint32 t) const { return t >= 0 && t < Rows(); }

    // No awaited number in a row.
    static constexpr qint32 kNone = 0;

    std::vector<qint32> counts_;
    std::vector<qint32> awaited_;
    std::vector<char> lider_;
    // Rows whose leader mark is on, so that taking the marks away does not
    // walk the whole list on every new highest count.
    std::vector<qint32> liderRows_;
    std::vector<Check::Winner> &nika_;
    QString vvednom_;
    bool timer_ = false;
};
