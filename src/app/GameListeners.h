#pragma once
// The window's listeners of the game's facts: the information strip's record
// of the game, and the journal that is written after every change of a check
// game. The board, card and lists are painted by the view (IgraView).

#include "core/IgraFacts.h"

#include <QString>
#include <functional>
#include <vector>

class BiletStore;

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
