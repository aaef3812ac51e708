#pragma once
// The window's listeners of the game's facts: the information strip's record
// of the game, the journal that is written after every change of a check
// game, and what a screen reader says of it. The board, card and lists are
// painted by the view (IgraView).

#include "core/IgraFacts.h"

#include <QString>
#include <functional>
#include <vector>

class BiletStore;
class ListStats;

// What was taken back, as the strip and a screen reader say it.
QString UndoneText(const IgraHod &hod, const BiletStore &store);

// What the strip says of the game in hand: the last number, a prize given
// after it, and once the game is over the numbers that did not come.
class StripFacts : public IgraListener
{
public:
    explicit StripFacts(const BiletStore &store) : store_(store) {}

    // The last number drawn, as shown; empty before the first.
    const QString &LastNomer() const { return lastNomer_; }
    // "Приз по номеру: билет …" for a prize given after the last number; else empty.
    const QString &Priz() const { return priz_; }
    // The numbers of the ended game that did not come, ascending.
    const std::vector<qint32> &Undrawn() const { return undrawn_; }

    void NewGame() override;
    void NomerDrawn(const NomerFact &fact) override;
    void PrizAwarded(qint32 bilet) override;
    void GameEnded(const EndFact &fact) override;
    void Rebuilt(const IgraSummary &summary) override;

private:
    void SetPriz(qint32 bilet);

    const BiletStore &store_;
    QString lastNomer_;
    QString priz_;
    std::vector<qint32> undrawn_;
};

// Calls changed whenever the game in hand changes, so that its journal is written.
class ZhurnalFacts : public IgraListener
{
public:
    explicit ZhurnalFacts(std::function<void()> changed) : changed_(std::move(changed)) {}

    void NomerDrawn(const NomerFact &) override { changed_(); }
    void TurChanged(qint32) override { changed_(); }
    void PrizAwarded(qint32) override { changed_(); }
    void GameEnded(const EndFact &) override { changed_(); }
    void Rebuilt(const IgraSummary &) override { changed_(); }

private:
    std::function<void()> changed_;
};

// One short sentence for each thing that happens in a game, for a screen
// reader: the number and how many tickets carry it and wait for one number
// ("45: на 12 билетах, ждут один номер: 3"), a win as its message box says it,
// the tour, a prize, the end, a take-back.
class ReaderFacts : public IgraListener
{
public:
    ReaderFacts(const BiletStore &store, const ListStats &stats, std::function<void(const QString &)> say)
        : store_(store), stats_(stats), say_(std::move(say))
    {
    }

    void NomerDrawn(const NomerFact &fact) override;
    void TurChanged(qint32 tur) override;
    void PrizAwarded(qint32 bilet) override;
    void GameEnded(const EndFact &fact) override;
    void Undone(const IgraHod &hod) override;

private:
    QString Nomer(qint32 bilet) const;

    const BiletStore &store_;
    const ListStats &stats_;
    std::function<void(const QString &)> say_;
};
