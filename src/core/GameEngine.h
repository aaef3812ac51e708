#pragma once
// The game: a check typed by the user, the replay of a recorded draw and the
// random simulator. The engine keeps the rules and the state of one game; every
// place where the game paints, lists, asks or announces is a call on the view,
// made in the order the user sees it, and the list's statistics are the
// ListStats it keeps in the program state. The main window is one view; tests
// and the headless checker record instead. What happened is also told as facts
// (IgraFacts.h) to any number of listeners: the window's strip and journal
// listen, and so can anything that reports or announces the game. A check game
// is also the list of what the user did (Hody), so taking one back is a quiet
// rebuild from the others, told to listeners as one Rebuilt and an Undone, and
// the journal that survives a crash is that list on disk.

#include "core/IgraFacts.h"
#include "core/Messenger.h"
#include "core/ProgramState.h"
#include "core/SovpCls.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <random>
#include <vector>

// What a game shows, in the game's terms: cells of numbers (IgraShow.h),
// tours and the button under the board; how they look is the view's business
// (the window's colours and captions are controls/IgraLook.h). Every call does
// nothing unless a view overrides it, so a view implements only what it shows.
class IgraView
{
public:
    virtual ~IgraView() = default;

    // The board: repaints the cell of n as drawn in a tour or awaited, number on top.
    virtual void PoleKletka(int /*n*/, Kletka /*kletka*/) {}
    // The board: a cell whose awaited-number highlight is taken away at a tour
    // change goes back to showing a number on some ticket.
    virtual void PoleUnhighlight(int /*n*/) {}
    // The board: everything empty again.
    virtual void ClearPole() {}
    // The card shows ticket CurBilet (drawn numbers in their colours).
    virtual void ShowBilet() {}
    // The card of CurBilet: number n in row r drawn, in the tour kletka tells.
    virtual void CardKletka(int /*stroka*/, int /*n*/, Kletka /*kletka*/) {}

    // The winners list NIKA.
    virtual void NikaClear() {}
    // Lines appended, in order: one for each ticket, won for the same reason.
    // The winners of one number come in one batch.
    virtual void NikaAdd(const NikaReason & /*reason*/, const std::vector<qint32> & /*tickets*/) {}

    // Labels and boxes.
    // The tour label shows tour tur (3 stands for the third and any later).
    virtual void SetTur(qint32 /*tur*/) {}
    // The move label shows hod, the numbers drawn so far.
    virtual void SetNHOD(qint32 /*hod*/) {}
    // The entry box shows the number just drawn (replay, simulator); 0 empties it.
    virtual void SetVVOD1(qint32 /*nomer*/) {}
    // The caption before the entry box asks for what the game needs.
    virtual void SetVVEDNOM(EntryPrompt /*prompt*/) {}
    // The game ended: the caption before the entry box lists the numbers that
    // did not come, ascending (none when all 90 came).
    virtual void ShowUndrawn(const std::vector<qint32> & /*undrawn*/) {}
    // Knopka: hidden, or shown for what it does now.
    virtual void SetKnopka(Knopka /*knopka*/) {}
    virtual void SetCaption(const QString & /*caption*/) {} // the window's

    // What the user may do now.
    virtual void EnableVVOD1(bool /*enabled*/, bool /*visible*/) {}
    virtual void EnablePole(bool /*enabled*/) {}     // clicks on the board
    virtual void EnableBiletPic(bool /*enabled*/) {} // clicks on the card
    virtual void EnableSaveTirag(bool /*enabled*/) {}
    virtual void EnableAddBilety(bool /*enabled*/) {}
    virtual void EnablePrizPoNomeru(bool /*enabled*/) {}
    virtual void FocusVVOD1() {}

    // The pace of replay and simulator; only the game starts and stops it.
    virtual void TimerStart() {}
    virtual void TimerStop() {}

    // RegimState has just changed (the window's menus follow it).
    virtual void RegimChanged() {}
    // Runs the command that saves the draw (the file dialog).
    virtual void SaveTiragAs() {}
    // Opens the settings dialog (the simulator needs a valid maximum of moves).
    virtual void ShowSettings() {}
    // The game changed: a number, a tour change or a prize was added or taken
    // back, or the game began or ended.
    virtual void GameChanged() {}
};

class GameEngine
{
public:
    GameEngine(ProgramState &state, IgraView &view, Messenger &messenger);

    // Facts of the game go to every listener subscribed, in the order of
    // subscription, until it leaves; the view is told first.
    void Listen(IgraListener &listener);
    void Unlisten(IgraListener &listener);

    // Commands of the Mode menu and of the window's labels.
    void RegimProverka_Click();
    // A check game starts on the set in hand, with nothing asked.
    void StartProverka();
    void RegimPovtor_Click();
    void RegimImitator_Click();
    void Knopka_Click();
    void Tur_Click();
    // The Mode menu opened: whether "Повтор" is on offer.
    bool PovtorAvailable() const;
    // Before a game in hand is left for another mode: "Перейти в новый режим?",
    // No the default, since Yes throws the game away. True when nothing was
    // drawn yet, outside ticket entry, or the user agreed.
    bool AskNewRegim();
    // The replay, once the user agreed to leave the game: a draw already put
    // into PovtorNomera (RegimState Povtor) is replayed, else the game just played.
    void StartPovtor();
    // The winners list of a ticket set that is gone: emptied, with NikaBilet.
    void ClearNika();

    // The one way the mode changes: the window's menus follow, the timer stops
    // outside replay and simulator, and with recaption the caption shows the mode.
    void SetRegim(Rezhim regim, bool recaption = false);
    // A recorded draw and its title become the replay source, and its replay starts.
    void PovtorTiraga(const QString &regimTitle, const Tirag &tirag);
    // Runs a modal window with no tick under it. Afterwards replay and
    // simulator go on: always, or with asBefore only if they were running.
    void DuringModal(const std::function<void()> &modal, bool asBefore = false);
    // Whether the replay or simulator clock is running.
    bool TimerRunning() const { return timerOn_; }

    // A number typed or clicked in check mode: ignored unless 1..90 and undrawn.
    void NomerEntered(int n);
    // One tick of the timer (replay or simulator).
    void Timer1_Timer();

    void NewIgra();
    void AddTiragNomer(int n);
    void NextTur();
    void EndIgra();
    // A prize by ticket number for ticket index (the PrizNB dialog's OK): a
    // winners-list line, the prize recorded in the draw and the announcement.
    void PrizPoNomeru(qint32 index);

    // What the user did in a check game, in order: the game can be rebuilt from it.
    using Hod = IgraHod;
    const std::vector<Hod> &Hody() const { return hody_; }
    // The same as a draw: its numbers, its tour changes by hand and its prizes.
    Tirag HodyTirag() const;
    // Whether a check game has something to take back.
    bool CanUndo() const;
    // Takes back the last thing the user did in the check game: afterwards
    // everything is as if it had never happened. Returns what was taken back.
    std::optional<Hod> Undo();
    // Starts a check game on the set in hand and rebuilds it quietly from
    // hody (as HodyTirag gives them). Stops at the first step that cannot be
    // played and returns how many were.
    qsizetype RestoreProverka(const Tirag &hody);

    // Plays a published result as the user would have typed it into a new
    // check game on the set in hand: the numbers of each tour in order; where
    // the result starts tour 2 or 3 and the game has not moved on by itself,
    // the tour label's move (tours after the third go on with tour 3). The
    // numbers are played quietly (no box per win, as a take-back's rebuild),
    // then the finished game is shown and ends as " Конец" ends it. Returns
    // every line of the winners list and the text of every box the end would
    // have shown (the jackpot), for one summary; the draw is not offered for
    // saving here.
    struct ResultLine {
        NikaReason reason;
        qint32 bilet;
    };
    struct ResultWins {
        std::vector<ResultLine> lines;
        std::vector<QString> boxes;
    };
    ResultWins PlayResult(const std::vector<std::vector<qint32>> &tours);

    // What Knopka does, as last set by the game.
    Knopka KnopkaNow() const { return knopka_; }
    // Lines the game has put into the winners list since it was cleared.
    qint32 NikaCount() const { return nikaCount_; }
    // What won each of those lines, in the list's order (kept through a quiet rebuild).
    const std::vector<IgraWin> &Wins() const { return wins_; }
    // Whether the board cell of n shows the awaited-number highlight.
    bool Highlighted(int n) const;

    // Game state, by the names the rest of the program uses.
    qint32 TurNomer = 1;
    qint32 LiderMax = 0;
    qint32 TimerHod = 0;
    // The cell a number drawn now gets: its tour's.
    Kletka KletkaNow = Kletka::Tur1;
    std::vector<SovpCls> SovpBileta;
    std::vector<qint32> NomerVFlag;

    // The simulator's generator, seeded once; tests may seed it.
    std::mt19937 random;

private:
    // Sets busy_ for its lifetime and puts back what was there before, so
    // nested boxes (a tick's win message, then EndIgra's question) keep it set.
    class BusyScope
    {
    public:
        explicit BusyScope(bool &busy) : busy_(busy), before_(busy) { busy_ = true; }
        ~BusyScope() { busy_ = before_; }
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        bool &busy_;
        bool before_;
    };

    // Counts drawn number n on row r of ticket t: its counter, the list's
    // statistics, the leaders and the awaited number. True when t has won.
    bool CountEntry(int n, qint32 t, qint32 r);
    // Ticket t, one number short, shows the number it waits for, highlighted on the board.
    void ShowAwaited(qint32 t, qint32 r, const SovpCls &sovp);
    // Plays one recorded action of a check game.
    bool Apply(const Hod &hod);
    // Rebuilds the check game from these actions with nothing shown, then
    // shows the result at once.
    void Rebuild(std::vector<Hod> hody);
    // Shows the whole game as it stands: board, card, winners, tour, moves, list.
    void RepaintAll();
    // The board as the game paints it, remembered for RepaintAll.
    void PaintPole(int n, Kletka kletka);
    void UnhighlightPole(int n);
    void ClearPole();
    void ReplayTick();
    void ImitatorTick();
    // A winners-list line of the ticket win names, won for reason, listed at the next NikaFlush.
    void NikaLine(const IgraWin &win, const NikaReason &reason);
    // What ticket t won with number n on its row r in the tour in hand.
    IgraWin WonWith(qint32 t, qint32 r, qint32 n) const;
    // A jackpot or prize line of ticket t, at the moves so far.
    IgraWin WonWithout(IgraWin::Kind kind, qint32 t) const;
    // Hands the lines gathered since the last flush to the winners list.
    void NikaFlush();
    // Whether t is a ticket of the loaded set.
    bool IsBilet(qint32 t) const
    {
        return t >= 0 && t < state_.store.BiletCount() &&
               static_cast<std::size_t>(t) < state_.store.Bilety().size();
    }
    void SetKnopka(Knopka knopka);
    void TimerStart();
    void TimerStop();

    // What each board cell shows: empty, painted as poleKletka_ says, or back to the
    // colour of a number on some ticket.
    enum class PoleCell : quint8 { Empty, Painted, Opened };
    std::array<PoleCell, Loto::kMaxNomer + 1> poleCell_{};
    std::array<Kletka, Loto::kMaxNomer + 1> poleKletka_{};
    // The winners list's lines from first on were won for reason.
    struct NikaRun {
        qint32 first;
        NikaReason reason;
    };
    std::vector<NikaRun> nikaRuns_;
    std::vector<IgraWin> wins_;
    std::vector<Hod> hody_;
    // Tells a fact to every listener, unless the game is being rebuilt quietly.
    template <class F> void Tell(F fact)
    {
        if (view_ == &quietView_)
            return;
        for (std::size_t i = 0; i < listeners_.size(); ++i)
            fact(*listeners_[i]);
    }
    std::vector<IgraListener *> listeners_;
    // What the number being drawn does, gathered for its fact.
    std::vector<qint32> winners_;
    std::vector<IgraWin> numberWins_;
    std::vector<IgraAwaited> awaited_;
    // The last number drawn, and the ticket of a prize given after it (or -1).
    qint32 lastNomer_ = 0;
    qint32 lastPriz_ = -1;

    // A view and a messenger that show nothing, for a quiet rebuild.
    IgraView quietView_;
    class QuietMessenger : public Messenger
    {
    public:
        MsgAnswer Show(const MessageRequest &request) override
        {
            return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
        }
    } quietMessenger_;

    // What Knopka does now; Knopka_Click toggles on it.
    Knopka knopka_ = Knopka::Hidden;
    qint32 nikaCount_ = 0;
    NikaReason nikaReason_;
    std::vector<qint32> nikaPending_;
    // Board cells painted in the highlight and not painted since.
    std::array<bool, Loto::kMaxNomer + 1> highlighted_{};
    // A tick or command that shows a box lets the timer fire again inside the
    // box's own event loop; such a tick is dropped.
    bool busy_ = false;
    // A win during a replay changed the tour already: the recorded tour change
    // that follows it is passed over.
    bool skipNext91_ = false;
    bool timerOn_ = false;

    ProgramState &state_;
    IgraView &shownView_;
    Messenger &shownMessenger_;
    // What the game paints on and asks through: the shown ones, or the quiet
    // ones while a game is rebuilt.
    IgraView *view_;
    Messenger *messenger_;
};
