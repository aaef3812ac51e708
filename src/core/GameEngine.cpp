#include "core/GameEngine.h"

#include "core/LotoRules.h"

#include <algorithm>
#include <chrono>

namespace
{

// Tours 1 and 2 end on a complete row or field; tour 3 needs the whole ticket.
// A ticket this many matches in is one number short.
constexpr qint32 OneShort(qint32 turNomer)
{
    switch (turNomer) {
    case 1:
        return Loto::kNomeraPerStroka - 1;
    case 2:
        return Loto::kNomeraPerBilet / 2 - 1;
    default:
        return Loto::kNomeraPerBilet - 1;
    }
}

// The simulator's range for a scheduled tour change, inclusive.
constexpr qint32 kTur1EndFrom = 5;
constexpr qint32 kTur1EndTo = 10;
constexpr qint32 kTur2EndFrom = 15;
constexpr qint32 kTur2EndTo = 25;
// Moves after which the simulator picks the end of tour 1 and of tour 2.
// It does so once a win of the tour is one number away.
constexpr qint32 kTur1Schedule = OneShort(1);
constexpr qint32 kTur2Schedule = OneShort(2);

} // namespace

GameEngine::GameEngine(ProgramState &state, IgraView &view, Messenger &messenger)
    : state_(state), shownView_(view), shownMessenger_(messenger), view_(&view), messenger_(&messenger)
{
    random.seed(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void GameEngine::Listen(IgraListener &listener)
{
    if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end())
        listeners_.push_back(&listener);
}

void GameEngine::Unlisten(IgraListener &listener)
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

bool GameEngine::Highlighted(int n) const
{
    return n >= 1 && n <= Loto::kMaxNomer && highlighted_[static_cast<std::size_t>(n)];
}

void GameEngine::SetKnopka(Knopka knopka)
{
    knopka_ = knopka;
    view_->SetKnopka(knopka);
}

void GameEngine::TimerStart()
{
    timerOn_ = true;
    view_->TimerStart();
}

void GameEngine::TimerStop()
{
    timerOn_ = false;
    view_->TimerStop();
}

void GameEngine::SetRegim(Rezhim regim, bool recaption)
{
    state_.RegimState = regim;
    if (!IsAutomatic(regim) && timerOn_)
        TimerStop();
    view_->RegimChanged();
    Tell([regim](IgraListener &l) { l.RegimChanged(regim); });
    if (recaption)
        view_->SetCaption(RegimCaption(regim, state_.GameTitle, state_.RegimTitle));
}

void GameEngine::PovtorTiraga(const QString &regimTitle, const Tirag &tirag)
{
    state_.PovtorNomera = tirag;
    state_.RegimTitle = regimTitle;
    // The replay starts at once, on the draw just read.
    SetRegim(Rezhim::Povtor, true);
    StartPovtor();
}

void GameEngine::DuringModal(const std::function<void()> &modal, bool asBefore)
{
    const bool wasRunning = timerOn_;
    TimerStop();
    modal();
    if (IsAutomatic(state_.RegimState) && (wasRunning || !asBefore))
        TimerStart();
}

void GameEngine::NewIgra()
{
    const qint32 count = std::max(state_.store.BiletCount(), 0);
    NomerVFlag.assign(static_cast<std::size_t>(count), 0);

    view_->EnablePole(false);
    view_->EnableBiletPic(false);
    ClearPole();
    highlighted_.fill(false);

    state_.NikaBilet.assign(1, 0);
    SovpBileta.assign(static_cast<std::size_t>(count) + 1, SovpCls{});
    state_.NomerColor.fill(Kletka::Free);

    if (state_.store.CurBilet() == state_.store.BiletCount())
        state_.store.Show(0);
    view_->ShowBilet();

    view_->NikaClear();
    nikaPending_.clear();
    nikaRuns_.clear();
    wins_.clear();
    nikaCount_ = 0;
    state_.stats.Start(count);
    state_.stats.Publish();

    TimerHod = 0;
    lastNomer_ = 0;
    lastPriz_ = -1;
    state_.TiragNomera.Clear();
    LiderMax = 0;
    skipNext91_ = false;

    TimerStop();

    KletkaNow = Kletka::Tur1;
    TurNomer = 1;
    hody_.clear();
    view_->SetTur(1);

    view_->SetNHOD(0);
    view_->SetVVOD1(0);
    view_->EnableSaveTirag(false);

    const bool proverka = state_.RegimState == Rezhim::Proverka;
    view_->EnableVVOD1(proverka, true);
    view_->SetVVEDNOM(proverka ? EntryPrompt::Vvedite : EntryPrompt::Vypal);
    Tell([](IgraListener &l) { l.NewGame(); });
}

IgraWin GameEngine::WonWith(qint32 t, qint32 r, qint32 n) const
{
    IgraWin win{IgraWin::Kind::Nomer, t, TurNomer, -1, -1, n, state_.TiragNomera.HodCount()};
    const SovpCls &sovp = SovpBileta[static_cast<std::size_t>(t)];
    // A number on both fields of a ticket lists it twice, once for each of its
    // rows; the line names what is complete, which may be the other row.
    if (TurNomer == 1) {
        win.stroka = r;
        for (qint32 k = 0; sovp.Stroka(r) < Loto::kNomeraPerStroka && k < Loto::kStroki; ++k)
            if (sovp.Stroka(k) >= Loto::kNomeraPerStroka) {
                win.stroka = k;
                break;
            }
    } else if (TurNomer == 2) {
        constexpr qint32 kPole = Loto::kNomeraPerBilet / 2;
        const bool first = r < Loto::kStroki / 2;
        win.pole = (first ? sovp.Pole1() : sovp.Pole2()) >= kPole ? (first ? 0 : 1) : (first ? 1 : 0);
    }
    return win;
}

IgraWin GameEngine::WonWithout(IgraWin::Kind kind, qint32 t) const
{
    IgraWin win{kind, t, TurNomer, -1, -1, 0, state_.TiragNomera.HodCount()};
    if (kind == IgraWin::Kind::Kubishka && static_cast<std::size_t>(t) < SovpBileta.size())
        win.pole = SovpBileta[static_cast<std::size_t>(t)].Pole1() >= Loto::kNomeraPerBilet / 2 ? 0 : 1;
    return win;
}

void GameEngine::NikaLine(const IgraWin &win, const NikaReason &reason)
{
    const qint32 t = win.bilet;
    if (reason != nikaReason_)
        NikaFlush();
    nikaReason_ = reason;
    if (nikaRuns_.empty() || nikaRuns_.back().reason != reason)
        nikaRuns_.push_back(NikaRun{nikaCount_, reason});
    // Entry c stands behind line c; the array ends with it, as the list does.
    const std::size_t c = static_cast<std::size_t>(nikaCount_);
    state_.NikaBilet.resize(c + 1, 0);
    state_.NikaBilet[c] = t;
    nikaPending_.push_back(t);
    wins_.resize(c, IgraWin{});
    wins_.push_back(win);
    ++nikaCount_;
}

void GameEngine::NikaFlush()
{
    if (nikaPending_.empty())
        return;
    view_->NikaAdd(nikaReason_, nikaPending_);
    nikaPending_.clear();
}

void GameEngine::AddTiragNomer(int n)
{
    // Callers pass only undrawn numbers 1..90; anything else would index past the tables.
    if (n < 1 || n > Loto::kMaxNomer)
        return;
    if (state_.RegimState == Rezhim::Povtor || state_.RegimState == Rezhim::Imitator)
        view_->SetVVOD1(n);

    PaintPole(n, KletkaNow);
    highlighted_[static_cast<std::size_t>(n)] = false;

    state_.TiragNomera.AddNomer(n);
    view_->SetNHOD(state_.TiragNomera.HodCount());

    state_.NomerColor[static_cast<std::size_t>(n)] = KletkaNow;

    state_.stats.NewHod();
    lastNomer_ = n;
    lastPriz_ = -1;
    winners_.clear();
    numberWins_.clear();
    awaited_.clear();

    // Late in tour 3 tens of thousands of tickets can win on one number; their
    // lines share this reason, and the list puts each line together only when shown.
    const NikaReason reason{NikaReason::Kind::Nomer, n};
    const NbInBLTCls entries = state_.store.PoNomeru(n);
    const qint32 entryCount = entries.ListCount();
    qint32 winners = 0;
    for (qint32 j = 0; j < entryCount; ++j) {
        const BiletDataCls entry = entries.At(j);
        if (CountEntry(n, entry.NomerBileta, entry.Stroka)) {
            numberWins_.push_back(WonWith(entry.NomerBileta, entry.Stroka, n));
            NikaLine(numberWins_.back(), reason);
            winners_.push_back(entry.NomerBileta);
            ++winners;
        }
    }

    state_.stats.Publish();
    NikaFlush();
    Tell([&](IgraListener &l) {
        l.NomerDrawn(
            NomerFact{n, state_.TiragNomera.HodCount(), TurNomer, entries, winners_, numberWins_, awaited_});
    });
    // Kept before the announcement: a box left open must not hold the game back.
    view_->GameChanged();
    if (winners > 0) {
        {
            BusyScope busy(busy_);
            messenger_->Tell(QStringLiteral("Количество выигравших билетов:") + Loto::NomerText(winners),
                             MsgIcon::Exclamation, Titles::Joy);
        }
        if (TurNomer < 3) {
            NextTur();
            // The recorded game changed the tour here too; its 91 is already accounted for.
            if (state_.RegimState == Rezhim::Povtor)
                skipNext91_ = true;
        }
    }
}

bool GameEngine::CountEntry(int n, qint32 t, qint32 r)
{
    // An index built for another set (or a game never started) has nothing to count here.
    if (!IsBilet(t) || static_cast<std::size_t>(t) >= SovpBileta.size() ||
        static_cast<std::size_t>(t) >= NomerVFlag.size() || r < 0 || r >= Loto::kStroki)
        return false;
    if (t == state_.store.CurBilet())
        view_->CardKletka(r, n, KletkaNow);

    ListStats &stats = state_.stats;
    SovpCls &sovp = SovpBileta[static_cast<std::size_t>(t)];
    sovp.SovpAdd(r, TurNomer);
    const qint32 maxCount = sovp.MaxCount;
    stats.Sovpad(t, maxCount);
    if (maxCount > LiderMax) {
        LiderMax = maxCount;
        stats.NewLider();
    }
    if (maxCount == LiderMax)
        stats.AddLider(t);

    // One past one short is a win; one short waits for its last number.
    const qint32 beyond = maxCount - OneShort(TurNomer);
    if (beyond == 1) {
        stats.NomerV(t, 0);
        return true;
    }
    if (beyond == 0 && NomerVFlag[static_cast<std::size_t>(t)] == 0) {
        NomerVFlag[static_cast<std::size_t>(t)] = 1;
        ShowAwaited(t, r, sovp);
    }
    return false;
}

void GameEngine::ShowAwaited(qint32 t, qint32 r, const SovpCls &sovp)
{
    const BILETCls &bilet = state_.store.Bilet(t);
    qint32 a = 0;
    if (TurNomer == 1)
        a = sovp.FoundNomera1Typ(bilet, r, state_.NomerColor);
    else if (TurNomer == 2)
        a = sovp.FoundNomera2Typ(bilet, state_.NomerColor);
    else
        a = sovp.FoundNomera3Typ(bilet, state_.NomerColor);
    // A ticket carrying a number twice in one row can be one short with nothing left to wait for.
    if (a < 1 || a > Loto::kMaxNomer)
        return;
    state_.stats.NomerV(t, a);
    awaited_.push_back(IgraAwaited{t, a});
    // Many tickets can wait for the same number: a cell already highlighted
    // looks the same painted again.
    if (highlighted_[static_cast<std::size_t>(a)])
        return;
    PaintPole(a, Kletka::Awaited);
    highlighted_[static_cast<std::size_t>(a)] = true;
}

void GameEngine::NextTur()
{
    // Tour 3 lasts to the end of the game.
    if (TurNomer >= 3)
        return;
    NomerVFlag.assign(static_cast<std::size_t>(std::max(state_.store.BiletCount(), 0)), 0);
    state_.TiragNomera.AddTur();

    for (int k = 1; k <= Loto::kMaxNomer; ++k) {
        if (highlighted_[static_cast<std::size_t>(k)]) {
            highlighted_[static_cast<std::size_t>(k)] = false;
            UnhighlightPole(k);
        }
    }

    ++TurNomer;
    KletkaNow = KletkaOfTur(TurNomer);
    view_->SetTur(TurNomer);

    // Counts never fall at a tour change, so raising LiderMax over the pass
    // leaves exactly the tickets with the highest new count as leaders.
    const qint32 count =
        std::min(std::max(state_.store.BiletCount(), 0), static_cast<qint32>(SovpBileta.size()));
    for (qint32 i = 0; i < count; ++i) {
        SovpCls &sovp = SovpBileta[static_cast<std::size_t>(i)];
        sovp.NewTur(TurNomer);
        LiderMax = std::max(LiderMax, sovp.MaxCount);
    }
    state_.stats.NewTur(SovpBileta, LiderMax);
    state_.stats.Publish();
    const qint32 tur = TurNomer;
    Tell([tur](IgraListener &l) { l.TurChanged(tur); });
    view_->GameChanged();
}

void GameEngine::EndIgra()
{
    BusyScope busy(busy_);
    TimerStop();
    SetKnopka(Knopka::Hidden);

    EndFact end;
    end.hod = state_.TiragNomera.HodCount();
    Loto::ForEachUndrawn(state_.NomerColor, [&](int k) { end.undrawn.push_back(k); });
    view_->ShowUndrawn(end.undrawn);

    if (state_.kind->jackpot) {
        const qint32 remaining = Loto::kMaxNomer - state_.TiragNomera.HodCount();
        const qint32 count = std::min(state_.store.BiletCount(), static_cast<qint32>(SovpBileta.size()));
        for (qint32 t = 0; t < count; ++t) {
            const SovpCls &sovp = SovpBileta[static_cast<std::size_t>(t)];
            if (!IsBilet(t) || Loto::kNomeraPerBilet - sovp.MaxCount != remaining || sovp.Cubishka() != 1)
                continue;
            const QString &nomer = state_.store.Bilet(t).Nomer;
            NikaLine(WonWithout(IgraWin::Kind::Kubishka, t), NikaReason{NikaReason::Kind::Kubishka});
            NikaFlush();
            end.jackpot.push_back(t);
            messenger_->Tell(QStringLiteral("Билет номер ") + nomer + QStringLiteral(" выиграл КУБЫШКУ!!!"),
                             MsgIcon::Exclamation, Titles::Joy);
        }
    }

    state_.TiragNomera.AddEnd();
    Tell([&end](IgraListener &l) { l.GameEnded(end); });
    view_->EnableAddBilety(true);
    view_->EnableSaveTirag(true);
    view_->EnableVVOD1(false, false);

    if (state_.RegimState == Rezhim::Proverka && messenger_->Ask(QStringLiteral("Сохранить тираж?")))
        view_->SaveTiragAs();

    SetRegim(Rezhim::None);
    view_->GameChanged();
}

void GameEngine::PrizPoNomeru(qint32 index)
{
    if (!IsBilet(index))
        return;
    const QString &nomer = state_.store.Bilet(index).Nomer;
    if (state_.RegimState == Rezhim::Proverka)
        hody_.push_back(Hod{Hod::Kind::Priz, index});
    NikaLine(WonWithout(IgraWin::Kind::Priz, index), NikaReason{NikaReason::Kind::Priz});
    NikaFlush();
    // Told once the prize is in the draw, so that what is shown of the game includes it.
    state_.TiragNomera.AddPriz(index);
    lastPriz_ = index;
    Tell([index](IgraListener &l) { l.PrizAwarded(index); });
    view_->GameChanged();
    BusyScope busy(busy_);
    messenger_->Tell(QStringLiteral("Билет номер ") + nomer + QStringLiteral(" выиграл приз!!!"),
                     MsgIcon::Exclamation, Titles::Joy);
}

bool GameEngine::PovtorAvailable() const
{
    if (state_.RegimState == Rezhim::Povtor)
        return true;
    // Ticket entry keeps no draw of its own.
    if (state_.RegimState == Rezhim::Zagruzka)
        return false;
    return state_.TiragNomera.Ended();
}

bool GameEngine::AskNewRegim()
{
    // Ticket entry counts as a game under way.
    if (state_.TiragNomera.HodCount() <= 0 && state_.RegimState != Rezhim::Zagruzka)
        return true;
    BusyScope busy(busy_);
    return messenger_->Ask(QStringLiteral("Перейти в новый режим?"), MsgAnswer::No);
}

void GameEngine::ClearNika()
{
    state_.NikaBilet.assign(1, 0);
    nikaCount_ = 0;
    nikaPending_.clear();
    nikaRuns_.clear();
    wins_.clear();
    view_->NikaClear();
}

void GameEngine::RegimProverka_Click()
{
    if (AskNewRegim())
        StartProverka();
}

void GameEngine::StartProverka()
{
    state_.RegimTitle = state_.TiragTitle;
    SetRegim(Rezhim::Proverka, true);
    NewIgra();
    SetKnopka(Knopka::Konec);
    view_->SetVVEDNOM(EntryPrompt::Vvedite);
    view_->EnablePole(true);
    view_->FocusVVOD1();
    view_->EnablePrizPoNomeru(true);
}

void GameEngine::RegimPovtor_Click()
{
    if (AskNewRegim())
        StartPovtor();
}

void GameEngine::StartPovtor()
{
    // A loaded draw file has filled the source itself; otherwise it is the game just played.
    if (state_.RegimState != Rezhim::Povtor)
        state_.PovtorNomera = state_.TiragNomera;
    SetRegim(Rezhim::Povtor);
    NewIgra();
    SetKnopka(Knopka::Stop);
    TimerStart();
}

void GameEngine::RegimImitator_Click()
{
    {
        if (!AskNewRegim())
            return;
        BusyScope busy(busy_);
        const auto valid = [this] {
            return state_.settings.MaxHod >= Settings::kLowestMaxHod &&
                   state_.settings.MaxHod <= Settings::kHighestMaxHod;
        };
        if (!valid()) {
            view_->ShowSettings();
            if (!valid())
                return;
        }
    }
    state_.RegimTitle = QStringLiteral("ИМИТАТОР");
    SetRegim(Rezhim::Imitator, true);
    SetKnopka(Knopka::Stop);
    NewIgra();
    TimerHod = -1;
    view_->EnablePrizPoNomeru(false);
    TimerStart();
}

void GameEngine::Tur_Click()
{
    if (state_.RegimState != Rezhim::Proverka)
        return;
    const bool tourLongEnough = TurNomer < 3 && state_.TiragNomera.HodCount() > OneShort(TurNomer);
    if (!tourLongEnough)
        return;
    {
        BusyScope busy(busy_);
        if (!messenger_->Ask(QStringLiteral("Перейти в следующий тур?")))
            return;
    }
    hody_.push_back(Hod{Hod::Kind::Tur, 0});
    NextTur();
    view_->FocusVVOD1();
}

void GameEngine::Knopka_Click()
{
    if (state_.RegimState == Rezhim::Proverka) {
        {
            BusyScope busy(busy_);
            if (!messenger_->Ask(QStringLiteral("Конец игры?")))
                return;
        }
        EndIgra();
        return;
    }
    if (state_.RegimState != Rezhim::Povtor && state_.RegimState != Rezhim::Imitator)
        return;
    if (knopka_ != Knopka::Stop) {
        SetKnopka(Knopka::Stop);
        TimerStart();
    } else {
        SetKnopka(Knopka::Dalee);
        TimerStop();
    }
}

void GameEngine::NomerEntered(int n)
{
    if (state_.RegimState != Rezhim::Proverka || n < 1 || n > Loto::kMaxNomer)
        return;
    if (IsDrawn(state_.NomerColor[static_cast<std::size_t>(n)]))
        return;
    hody_.push_back(Hod{Hod::Kind::Nomer, n});
    AddTiragNomer(n);
}

void GameEngine::Timer1_Timer()
{
    if (busy_)
        return;
    BusyScope busy(busy_);
    if (state_.RegimState == Rezhim::Povtor)
        ReplayTick();
    else if (state_.RegimState == Rezhim::Imitator)
        ImitatorTick();
}

void GameEngine::ReplayTick()
{
    const Tirag &povtor = state_.PovtorNomera;
    const qint32 last = povtor.Size();
    const auto finish = [this] {
        TimerStop();
        EndIgra();
    };
    if (TimerHod < 0 || TimerHod >= last) {
        finish();
        return;
    }

    // TimerHod counts the entries taken so far.
    const Tirag::Step step = povtor.At(TimerHod);
    TimerHod += step.size;
    switch (step.kind) {
    case Tirag::Kind::Nomer:
        // A number drawn twice in a foreign file is passed over.
        if (!IsDrawn(state_.NomerColor[static_cast<std::size_t>(step.value)])) {
            skipNext91_ = false;
            AddTiragNomer(step.value);
        }
        break;
    case Tirag::Kind::Tur:
        if (skipNext91_)
            skipNext91_ = false;
        else if (TurNomer < 3)
            NextTur();
        break;
    case Tirag::Kind::End:
        finish();
        return;
    case Tirag::Kind::Priz:
        if (IsBilet(step.value)) {
            const qint32 t = step.value;
            const QString &nomer = state_.store.Bilet(t).Nomer;
            NikaLine(WonWithout(IgraWin::Kind::Priz, t), NikaReason{NikaReason::Kind::PovtorPriz});
            NikaFlush();
            state_.TiragNomera.AddPriz(t);
            lastPriz_ = t;
            Tell([t](IgraListener &l) { l.PrizAwarded(t); });
            messenger_->Tell(QStringLiteral("Билет номер ") + nomer + QStringLiteral(" выиграл приз!!!"),
                             MsgIcon::Exclamation, Titles::Joy);
        }
        break;
    case Tirag::Kind::Unknown:
        break;
    }

    // A draw whose end marker gave way to a prize ends with its last entry.
    if (state_.RegimState == Rezhim::Povtor && TimerHod >= last)
        finish();
}

void GameEngine::ImitatorTick()
{
    std::array<qint32, Loto::kMaxNomer> undrawn{};
    std::size_t undrawnCount = 0;
    Loto::ForEachUndrawn(state_.NomerColor, [&](int k) { undrawn[undrawnCount++] = k; });
    if (undrawnCount == 0) {
        EndIgra();
        return;
    }
    std::uniform_int_distribution<std::size_t> pick(0, undrawnCount - 1);
    const qint32 n = undrawn[pick(random)];

    const qint32 hod = state_.TiragNomera.HodCount();
    if (hod == TimerHod && TurNomer < 3)
        NextTur();
    if (hod == kTur1Schedule)
        TimerHod = std::uniform_int_distribution<qint32>(kTur1EndFrom, kTur1EndTo)(random);
    else if (hod == kTur2Schedule)
        TimerHod = std::uniform_int_distribution<qint32>(kTur2EndFrom, kTur2EndTo)(random);

    AddTiragNomer(n);
    if (state_.TiragNomera.HodCount() >= state_.settings.MaxHod)
        EndIgra();
}

void GameEngine::PaintPole(int n, Kletka kletka)
{
    poleCell_[static_cast<std::size_t>(n)] = PoleCell::Painted;
    poleKletka_[static_cast<std::size_t>(n)] = kletka;
    view_->PoleKletka(n, kletka);
}

void GameEngine::UnhighlightPole(int n)
{
    poleCell_[static_cast<std::size_t>(n)] = PoleCell::Opened;
    view_->PoleUnhighlight(n);
}

void GameEngine::ClearPole()
{
    poleCell_.fill(PoleCell::Empty);
    view_->ClearPole();
}

Tirag GameEngine::HodyTirag() const
{
    Tirag tirag;
    for (const Hod &hod : hody_) {
        switch (hod.kind) {
        case Hod::Kind::Nomer:
            tirag.AddNomer(hod.value);
            break;
        case Hod::Kind::Tur:
            tirag.AddTur();
            break;
        case Hod::Kind::Priz:
            tirag.AddPriz(hod.value);
            break;
        }
    }
    return tirag;
}

bool GameEngine::CanUndo() const
{
    return state_.RegimState == Rezhim::Proverka && !hody_.empty();
}

std::optional<GameEngine::Hod> GameEngine::Undo()
{
    if (!CanUndo())
        return std::nullopt;
    std::vector<Hod> kept = hody_;
    const Hod last = kept.back();
    kept.pop_back();
    Rebuild(std::move(kept));
    Tell([&last](IgraListener &l) { l.Undone(last); });
    view_->GameChanged();
    return last;
}

qsizetype GameEngine::RestoreProverka(const Tirag &hody)
{
    std::vector<Hod> kept;
    for (qint32 pos = 0; pos < hody.Size();) {
        const Tirag::Step step = hody.At(pos);
        if (step.kind == Tirag::Kind::Nomer)
            kept.push_back(Hod{Hod::Kind::Nomer, step.value});
        else if (step.kind == Tirag::Kind::Tur)
            kept.push_back(Hod{Hod::Kind::Tur, 0});
        else if (step.kind == Tirag::Kind::Priz)
            kept.push_back(Hod{Hod::Kind::Priz, step.value});
        else
            break;
        pos += step.size;
    }
    // Nothing to ask about: the game is the one being restored.
    StartProverka();
    Rebuild(std::move(kept));
    view_->GameChanged();
    return static_cast<qsizetype>(hody_.size());
}

GameEngine::ResultWins GameEngine::PlayResult(const std::vector<std::vector<qint32>> &tours)
{
    // A new game: nothing in hand to ask about.
    StartProverka();
    view_ = &quietView_;
    messenger_ = &quietMessenger_;
    for (std::size_t i = 0; i < tours.size(); ++i) {
        const qint32 tour = static_cast<qint32>(std::min<std::size_t>(i + 1, 3));
        if (TurNomer < tour)
            Apply(Hod{Hod::Kind::Tur, 0});
        for (qint32 n : tours[i])
            Apply(Hod{Hod::Kind::Nomer, n});
    }
    view_ = &shownView_;
    messenger_ = &shownMessenger_;
    RepaintAll();
    const IgraSummary summary{state_.TiragNomera.HodCount(), TurNomer, lastNomer_, lastPriz_};
    Tell([&summary](IgraListener &l) { l.Rebuilt(summary); });

    // The end is shown; its boxes are gathered, and its question to save the draw is left to the caller.
    class Gathering : public Messenger
    {
    public:
        MsgAnswer Show(const MessageRequest &request) override
        {
            if (request.buttons == MsgButtons::Ok) {
                boxes.push_back(request.text);
                return MsgAnswer::Ok;
            }
            return MsgAnswer::No;
        }
        std::vector<QString> boxes;
    } gathering;
    messenger_ = &gathering;
    if (state_.RegimState == Rezhim::Proverka)
        EndIgra();
    messenger_ = &shownMessenger_;

    ResultWins wins;
    wins.boxes = std::move(gathering.boxes);
    for (std::size_t i = 0; i < nikaRuns_.size(); ++i) {
        const qint32 end = i + 1 < nikaRuns_.size() ? nikaRuns_[i + 1].first : nikaCount_;
        for (qint32 k = nikaRuns_[i].first; k < end; ++k) {
            const qint32 t = state_.NikaBilet[static_cast<std::size_t>(k)];
            if (IsBilet(t))
                wins.lines.push_back(ResultLine{nikaRuns_[i].reason, t});
        }
    }
    return wins;
}

bool GameEngine::Apply(const Hod &hod)
{
    switch (hod.kind) {
    case Hod::Kind::Nomer:
        if (hod.value < 1 || hod.value > Loto::kMaxNomer ||
            IsDrawn(state_.NomerColor[static_cast<std::size_t>(hod.value)]))
            return false;
        NomerEntered(hod.value);
        return true;
    case Hod::Kind::Tur:
        if (TurNomer >= 3 || state_.TiragNomera.HodCount() <= OneShort(TurNomer))
            return false;
        hody_.push_back(hod);
        NextTur();
        return true;
    case Hod::Kind::Priz:
        if (!IsBilet(hod.value))
            return false;
        PrizPoNomeru(hod.value);
        return true;
    }
    return false;
}

void GameEngine::Rebuild(std::vector<Hod> hody)
{
    view_ = &quietView_;
    messenger_ = &quietMessenger_;
    NewIgra();
    for (const Hod &hod : hody)
        if (!Apply(hod))
            break;
    view_ = &shownView_;
    messenger_ = &shownMessenger_;
    RepaintAll();
    const IgraSummary summary{state_.TiragNomera.HodCount(), TurNomer, lastNomer_, lastPriz_};
    Tell([&summary](IgraListener &l) { l.Rebuilt(summary); });
}

void GameEngine::RepaintAll()
{
    view_->ClearPole();
    for (int n = 1; n <= Loto::kMaxNomer; ++n) {
        const std::size_t k = static_cast<std::size_t>(n);
        if (poleCell_[k] == PoleCell::Painted)
            view_->PoleKletka(n, poleKletka_[k]);
        else if (poleCell_[k] == PoleCell::Opened)
            view_->PoleUnhighlight(n);
    }
    view_->ShowBilet();
    view_->NikaClear();
    for (std::size_t i = 0; i < nikaRuns_.size(); ++i) {
        const qint32 end = i + 1 < nikaRuns_.size() ? nikaRuns_[i + 1].first : nikaCount_;
        const auto from = state_.NikaBilet.begin() + nikaRuns_[i].first;
        view_->NikaAdd(nikaRuns_[i].reason, std::vector<qint32>(from, state_.NikaBilet.begin() + end));
    }
    view_->SetTur(TurNomer);
    view_->SetNHOD(state_.TiragNomera.HodCount());
    state_.stats.PublishAll();
}
