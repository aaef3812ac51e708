#include "core/GameEngine.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"

#include <gtest/gtest.h>
#include <set>

using TestSupport::RecordingView;

namespace
{

constexpr quint32 kTur1 = IgraLook::TurColor(1);
constexpr quint32 kTur2 = IgraLook::TurColor(2);
constexpr MsgAnswer Yes = MsgAnswer::Yes;
constexpr MsgAnswer No = MsgAnswer::No;

// A ticket from its 30 numbers, row by row.
BILETCls Bilet(const QString &nomer, std::initializer_list<int> nomera)
{
    BILETCls b;
    b.Nomer = nomer;
    int k = 0;
    for (int n : nomera)
        b.NomeraAdd(k++, n);
    return b;
}

// "017" and "019" share row 0; "018" shares four numbers of it, and 2.
const BILETCls kA = Bilet("017", {1, 10, 20, 30, 40, 2, 11, 21, 31, 41, 3, 12, 22, 32, 42,
                                  4, 13, 23, 33, 43, 5, 14, 24, 34, 44, 6, 15, 25, 35, 90});
const BILETCls kB = Bilet("018", {1, 10, 20, 30, 50, 7,  16, 26, 36, 46, 8, 17, 27, 37, 47,
                                  9, 18, 28, 38, 48, 19, 29, 39, 49, 59, 2, 53, 63, 73, 83});
const BILETCls kC = Bilet("019", {1,  10, 20, 30, 40, 51, 61, 71, 81, 86, 52, 62, 72, 82, 87,
                                  54, 64, 74, 84, 88, 55, 65, 75, 85, 89, 56, 66, 76, 77, 78});

std::vector<int> NomeraOf(const BILETCls &b, int fromPos = 0, int toPos = 29)
{
    std::vector<int> out;
    for (int k = fromPos; k <= toPos; ++k)
        out.push_back(b.NomeraList(k));
    return out;
}

// The numbers 1..90 that are not on the ticket, ascending.
std::vector<int> NotOn(const BILETCls &b)
{
    const std::vector<int> on = NomeraOf(b);
    std::vector<int> out;
    for (int n = 1; n <= 90; ++n)
        if (std::find(on.begin(), on.end(), n) == on.end())
            out.push_back(n);
    return out;
}

class Igra : public ::testing::Test
{
protected:
    ProgramState state;
    RecordingView view{&state.store};
    RecordingMessenger messenger;
    GameEngine engine{state, view, messenger};

    void Load(const std::vector<BILETCls> &bilety, bool rusLoto = false)
    {
        state.store.Load(bilety);
        state.kind = rusLoto ? &Loto::RusLoto() : &Loto::ZolotoyKlyuch();
    }
    void Check(const std::vector<BILETCls> &bilety, bool rusLoto = false)
    {
        Load(bilety, rusLoto);
        engine.RegimProverka_Click();
        view.calls.clear();
    }
    void Enter(const std::vector<int> &nomera)
    {
        for (int n : nomera)
            engine.NomerEntered(n);
    }
    // Ends a check game through Knopka, declining to save.
    void EndCheck()
    {
        messenger.Script({Yes, No});
        engine.Knopka_Click();
    }
    // Ticks until the replay or simulator is over; returns the ticks used.
    int RunTimer(int limit = 1000)
    {
        int ticks = 0;
        while ((state.RegimState == Rezhim::Povtor || state.RegimState == Rezhim::Imitator) &&
               ticks < limit) {
            engine.Timer1_Timer();
            ++ticks;
        }
        return ticks;
    }
    void StartReplay(const std::vector<qint32> &povtor)
    {
        state.PovtorNomera = Tirag(povtor);
        state.RegimState = Rezhim::Povtor; // as a loaded draw file leaves it
        if (state.TiragNomera.HodCount() > 0)
            messenger.Script({Yes});
        engine.RegimPovtor_Click();
    }
    QStringList Texts(const QString &title) const
    {
        QStringList out;
        for (const MessageRequest &m : messenger.shown)
            if (m.title == title)
                out << m.text;
        return out;
    }
    int Count(qint32 v) const
    {
        return int(std::count(state.TiragNomera.Entries().begin(), state.TiragNomera.Entries().end(), v));
    }
};

using Replay = Igra;
using Imitator = Igra;

} // namespace

TEST_F(Igra, CheckModeTakesOnlyUndrawnNumbersFrom1To90)
{
    Check({kA});
    Enter({0, 95, -3, 91});
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_EQ(state.TiragNomera.HodCount(), 0);

    Enter({5});
    const QStringList once = view.calls;
    Enter({5});
    EXPECT_EQ(view.calls, once);
    EXPECT_EQ(state.TiragNomera.HodCount(), 1);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5}));
    EXPECT_TRUE(messenger.shown.empty());

    // Outside check mode typed numbers are not drawn numbers.
    state.RegimState = Rezhim::None;
    Enter({6});
    EXPECT_EQ(state.TiragNomera.HodCount(), 1);
}

TEST_F(Igra, NumberIsPaintedCountedListedAwaitedAndWonInOrder)
{
    Check({kA, kB});
    Enter({1});
    EXPECT_EQ(view.calls, QStringList({"PoleKletka 1 9803263", "SetNHOD  1", "CardKletka 0 1 9803263"}));
    for (qint32 t : {0, 1}) {
        const ListStats::Row &row = state.stats.At(t);
        EXPECT_TRUE(row.count == 1 && row.plus && row.lider && row.awaited == 0) << t;
    }

    Enter({10, 20, 30});
    EXPECT_EQ(state.stats.Awaited(), (std::vector<std::pair<qint32, qint32>>{{0, 40}, {1, 50}}));
    EXPECT_EQ(view.pole[40], IgraLook::ColorOf(Kletka::Awaited));
    EXPECT_EQ(view.pole[50], IgraLook::ColorOf(Kletka::Awaited));

    Enter({2});
    view.calls.clear();
    Enter({40});
    EXPECT_EQ(view.calls, QStringList({"PoleKletka 40 9803263", "SetNHOD  6", "CardKletka 0 40 9803263",
                                       "NikaAdd (номер 40)  017",
                                       // the tour change: 50's highlight goes, 40 was drawn over its own
                                       "PoleUnhighlight 50", "SetTur  Тур-2 8454143"}));
    EXPECT_TRUE(state.stats.Awaited().empty());
    EXPECT_EQ(Texts(Titles::Joy), QStringList({"Количество выигравших билетов: 1"}));
    EXPECT_EQ(messenger.shown.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(state.stats.Leaders(), std::vector<qint32>({0}));
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{1, 10, 20, 30, 2, 40, 91}));
    EXPECT_EQ(state.NomerColor[40], Kletka::Tur1);
    EXPECT_EQ(engine.KletkaNow, Kletka::Tur2);
}

TEST_F(Igra, AwaitedNumberIsShownOncePerTour)
{
    Check({kA});
    Enter({1, 10, 20, 30, 2, 11, 21, 31}); // rows 0 and 1 both reach 4
    EXPECT_EQ(state.stats.Awaited(), (std::vector<std::pair<qint32, qint32>>{{0, 40}}));
    EXPECT_EQ(view.CountOf("PoleKletka 41"), 0);

    messenger.Script({Yes});
    engine.Tur_Click();
    EXPECT_EQ(view.Calls("PoleUnhighlight"), QStringList({"PoleUnhighlight 40"}));
    EXPECT_EQ(view.pole[40], IgraLook::kOpened);
    EXPECT_EQ(view.pole[31], kTur1); // drawn cells keep their tour colour

    Enter({3, 12, 22, 32, 41, 40}); // field 1 at 14: the new tour shows its awaited number
    EXPECT_EQ(state.stats.Awaited(), (std::vector<std::pair<qint32, qint32>>{{0, 42}}));
    EXPECT_EQ(view.pole[40], kTur2);
}

TEST_F(Igra, TwoWinnersOnOneNumberGiveOneMessageAndOneTourChange)
{
    Check({kA, kC});
    Enter({1, 10, 20, 30, 40});
    EXPECT_EQ(Texts(Titles::Joy), QStringList({"Количество выигравших билетов: 2"}));
    EXPECT_EQ(view.nika, QStringList({"(номер 40)  017", "(номер 40)  019"}));
    EXPECT_EQ(state.NikaBilet, (std::vector<qint32>{0, 1}));
    EXPECT_EQ(engine.TurNomer, 2);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{1, 10, 20, 30, 40, 91}));
    EXPECT_EQ(state.stats.Leaders(), std::vector<qint32>({0, 1}));
}

TEST_F(Igra, TourLabelAsksOnlyAfterEnoughNumbersAndTour3KeepsItsWinner)
{
    Check({kA});
    const std::vector<int> other = NotOn(kA);
    Enter({other.begin(), other.begin() + 4});
    engine.Tur_Click();
    EXPECT_TRUE(messenger.shown.empty());

    Enter({other[4]});
    engine.Tur_Click(); // answered No
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "Перейти в следующий тур?");
    EXPECT_EQ(messenger.shown[0].title, Titles::App);
    EXPECT_EQ(engine.TurNomer, 1);
    messenger.Script({Yes});
    engine.Tur_Click();
    EXPECT_EQ(engine.TurNomer, 2);
    EXPECT_EQ(view.calls.back(), "FocusVVOD1");

    Enter({other.begin() + 5, other.begin() + 14});
    engine.Tur_Click();
    EXPECT_EQ(messenger.shown.size(), 2u);
    Enter({other[14]});
    messenger.Script({Yes});
    engine.Tur_Click();
    EXPECT_EQ(engine.TurNomer, 3);
    EXPECT_EQ(view.tur, " Тур-3...");
    EXPECT_EQ(view.turColor, IgraLook::TurColor(3));
    engine.Tur_Click();
    EXPECT_EQ(messenger.shown.size(), 3u);

    Enter(NomeraOf(kA));
    EXPECT_EQ(Texts(Titles::Joy), QStringList({"Количество выигравших билетов: 1"}));
    EXPECT_EQ(view.nika, QStringList({"(номер 90)  017"}));
    EXPECT_EQ(engine.TurNomer, 3);
    EXPECT_EQ(Count(91), 2);
}

TEST_F(Igra, LeadersFollowTheHighestCountWithTies)
{
    Check({kA, kB});
    Enter({1, 7});
    view.calls.clear();
    Enter({10}); // both to 2: a new maximum, then a tie
    EXPECT_EQ(state.stats.Leaders(), (std::vector<qint32>{0, 1}));
    Enter({16});
    EXPECT_EQ(state.stats.Leaders(), (std::vector<qint32>{0, 1})); // 018's row 1 ties at 2
    EXPECT_FALSE(state.stats.At(0).plus);
    Enter({26}); // then leads alone with 3
    EXPECT_EQ(state.stats.Leaders(), (std::vector<qint32>{1}));
    EXPECT_EQ(state.stats.Counts(), (std::vector<qint32>{2, 3}));
    EXPECT_EQ(engine.LiderMax, 3);

    Enter({2, 3, 4}); // 017: fields 4 and 1
    messenger.Script({Yes});
    engine.Tur_Click();
    // Fields in tour 2: 017 has 4 and 1, 018 has 5 and 1.
    EXPECT_EQ(state.stats.Counts(), (std::vector<qint32>{4, 5}));
    EXPECT_EQ(state.stats.Leaders(), std::vector<qint32>({1}));
}

TEST_F(Igra, NewGameResetsEverythingAndTheNextNumberCutsTheOldDraw)
{
    Check({kA, kC});
    Enter({1, 10, 20, 30, 40, 41});
    messenger.Script({Yes});
    engine.RegimProverka_Click();
    EXPECT_EQ(messenger.shown.back().text, "Перейти в новый режим?");
    EXPECT_EQ(engine.TurNomer, 1);
    EXPECT_EQ(view.tur, " Тур-1");
    EXPECT_TRUE(view.nika.isEmpty());
    EXPECT_EQ(engine.LiderMax, 0);
    EXPECT_EQ(state.NomerColor, Loto::KletkaTable{});
    EXPECT_EQ(view.knopka, " Конец");

    Enter({1});
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{1}));
    EXPECT_EQ(engine.SovpBileta[0].MaxCount, 1);
}

TEST_F(Igra, EndOfCheckListsUndrawnNumbersOffersToSaveAndAllowsReplay)
{
    Check({kA});
    EXPECT_FALSE(engine.PovtorAvailable());
    std::vector<int> all;
    for (int n = 1; n <= 90; ++n)
        if (n != 3 && n != 17 && n != 45)
            all.push_back(n);
    Enter(all);
    EXPECT_FALSE(engine.PovtorAvailable());

    messenger.Script({No});
    engine.Knopka_Click();
    EXPECT_EQ(state.RegimState, Rezhim::Proverka);

    view.calls.clear();
    messenger.Script({Yes, Yes});
    engine.Knopka_Click();
    EXPECT_EQ(messenger.shown.back().text, "Сохранить тираж?");
    EXPECT_EQ(view.saveTiragAsCount, 1);
    EXPECT_EQ(view.vvednom, " 3, 17, 45");
    EXPECT_EQ(view.calls.first(), "TimerStop");
    EXPECT_EQ(view.calls.last(), "RegimChanged");
    EXPECT_EQ(view.Calls("Enable"),
              QStringList({"EnableAddBilety 1", "EnableSaveTirag 1", "EnableVVOD1 0 0"}));
    EXPECT_TRUE(view.knopka.isEmpty());
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_EQ(state.TiragNomera.Entries().back(), 93);
    EXPECT_TRUE(engine.PovtorAvailable());
    // Ticket entry keeps no draw to replay, even with the last game's in hand.
    state.RegimState = Rezhim::Zagruzka;
    EXPECT_FALSE(engine.PovtorAvailable());
    state.RegimState = Rezhim::None;

    messenger.Script({Yes});
    engine.RegimProverka_Click();
    EXPECT_FALSE(engine.PovtorAvailable());
    Enter({3, 17, 45});
    EXPECT_FALSE(engine.PovtorAvailable());
}

TEST_F(Igra, EndWithEveryNumberDrawnLeavesNoUndrawnList)
{
    Check({kB});
    std::vector<int> all;
    for (int n = 90; n >= 1; --n)
        all.push_back(n);
    Enter(all);
    EndCheck();
    EXPECT_TRUE(view.vvednom.isEmpty());
    EXPECT_EQ(view.CountOf("SetVVEDNOM"), 1);
}

class IgraJackpot : public Igra
{
protected:
    // Tours 2 and 3 on request, then every number but 017's second field
    // (and one more when asked), and the end of the game.
    void Play(bool rusLoto, bool oneMoreUndrawn)
    {
        Check({kA, kC}, rusLoto);
        std::vector<int> rest = NotOn(kA);
        if (oneMoreUndrawn)
            rest.pop_back();
        messenger.fallbackAnswer = Yes; // every tour change asked for is taken
        Enter({rest.begin(), rest.begin() + 5});
        engine.Tur_Click();
        Enter({rest.begin() + 5, rest.begin() + 15});
        engine.Tur_Click();
        ASSERT_EQ(engine.TurNomer, 3);
        Enter({rest.begin() + 15, rest.end()});
        Enter(NomeraOf(kA, 0, 14));
        messenger.Script({Yes, No});
        engine.Knopka_Click();
    }
};

TEST_F(IgraJackpot, WholeFieldWithOnlyItsTicketsNumbersLeftWinsInRusLotoOnly)
{
    Play(true, false);
    EXPECT_EQ(view.nika.last(), "(КУБЫШКА)  017");
    EXPECT_EQ(state.NikaBilet.back(), 0);
    EXPECT_EQ(Texts(Titles::Joy).last(), "Билет номер 017 выиграл КУБЫШКУ!!!");
    EXPECT_EQ(Texts(Titles::Joy).filter("КУБЫШКУ").size(), 1);

    Play(false, false);
    EXPECT_TRUE(view.nika.filter("КУБЫШКА").isEmpty());
    Play(true, true);
    EXPECT_TRUE(view.nika.filter("КУБЫШКА").isEmpty());
}

TEST_F(Igra, PrizeByTicketNumberTakesTheEndMarkersPlace)
{
    Check({kA, kB});
    Enter({5});
    engine.PrizPoNomeru(1);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5, 94, 1}));
    EndCheck();
    engine.PrizPoNomeru(0);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5, 94, 1, 94, 0}));
    EXPECT_EQ(state.TiragNomera.HodExtra(), 4);
    EXPECT_EQ(view.nika, QStringList({"(Приз)  018", "(Приз)  017"}));
    EXPECT_EQ(state.NikaBilet, (std::vector<qint32>{1, 0}));
    EXPECT_EQ(Texts(Titles::Joy).last(), "Билет номер 017 выиграл приз!!!");
    engine.PrizPoNomeru(2); // no such ticket
    EXPECT_EQ(view.nika.size(), 2);
}

TEST_F(Replay, ReproducesACheckGame)
{
    Check({kA, kB, kC});
    messenger.fallbackAnswer = Yes;
    Enter({1, 10, 20, 30, 40, 7, 16, 26, 36, 46}); // tour 1 won by 017 and 019
    Enter({8, 17, 27, 37, 9, 18, 28, 38, 48, 2});
    engine.Tur_Click();  // nobody has a whole field: the user moves on
    Enter(NomeraOf(kB)); // 018 wins tour 3 with 83
    messenger.fallbackAnswer = No;
    EndCheck();
    engine.PrizPoNomeru(0); // replaces the end marker
    ASSERT_GE(Count(91), 2);
    const std::vector<qint32> recorded = state.TiragNomera.Entries();
    const QStringList nika = view.nika;
    const QStringList joy = Texts(Titles::Joy);
    const std::vector<qint32> nikaBilet = state.NikaBilet;

    messenger.shown.clear();
    messenger.Script({Yes});
    engine.RegimPovtor_Click();
    EXPECT_EQ(state.PovtorNomera.Entries(), recorded);
    EXPECT_EQ(view.knopka, "  Стоп");
    EXPECT_TRUE(view.timerActive);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{}));
    EXPECT_TRUE(engine.PovtorAvailable());
    engine.Tur_Click(); // only check mode asks
    EXPECT_EQ(messenger.shown.size(), 1u);

    RunTimer();
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_FALSE(view.timerActive);
    EXPECT_EQ(view.nika.mid(0, nika.size() - 1), nika.mid(0, nika.size() - 1));
    EXPECT_EQ(view.nika.last(), "(Приз!!!) 017");
    EXPECT_EQ(Texts(Titles::Joy), joy);
    EXPECT_EQ(state.NikaBilet, nikaBilet);
    std::vector<qint32> expected = recorded;
    expected.push_back(93); // the replay ends where the prize had replaced the end
    EXPECT_EQ(state.TiragNomera.Entries(), expected);
    EXPECT_EQ(view.vvod1, " 83");
    EXPECT_EQ(view.CountOf("SaveTiragAs"), 0);
}

TEST_F(Replay, WinsTourChangeStandsForTheRecordedOneOnly)
{
    Load({kA});
    // The win's 91 and a scheduled one side by side: both tours end.
    StartReplay({1, 10, 20, 30, 40, 91, 91, 7, 91, 91, 8, 93});
    RunTimer();
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{1, 10, 20, 30, 40, 91, 91, 7, 8, 93}));
    EXPECT_EQ(engine.TurNomer, 3);
    EXPECT_EQ(view.CountOf("SetTur"), 3); // tour 1 at the start, then 2 and 3

    // A number between the win and a recorded 91 makes that 91 a tour change of its own.
    StartReplay({1, 10, 20, 30, 40, 7, 91, 8, 93});
    RunTimer();
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{1, 10, 20, 30, 40, 91, 7, 91, 8, 93}));
    EXPECT_EQ(engine.TurNomer, 3);
}

TEST_F(Replay, PassesOverEntriesThatAreNoDrawAndEndsAtTheLastEntry)
{
    Load({kA, kB});
    StartReplay({5, 0, -5, 92, 99, 5, 94, 7, 94, -1, 12, 95, 94, 2, 33, 94});
    const int ticks = RunTimer();
    EXPECT_EQ(view.Calls("PoleKletka"),
              QStringList({"PoleKletka 5 9803263", "PoleKletka 12 9803263", "PoleKletka 33 9803263"}));
    EXPECT_TRUE(view.nika.isEmpty());
    EXPECT_TRUE(Texts(Titles::Joy).isEmpty());
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{5, 12, 33, 93}));
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_EQ(ticks, 13); // 94 with its index is one tick

    StartReplay({1, 94, 1});
    EXPECT_EQ(RunTimer(), 2);
    EXPECT_EQ(view.nika, QStringList({"(Приз!!!) 018"}));
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{1, 94, 1, 93}));

    StartReplay({});
    EXPECT_EQ(RunTimer(), 1);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{93}));
}

TEST_F(Replay, KnopkaPausesAndResumes)
{
    Load({kA});
    StartReplay({1, 2, 3, 93});
    engine.Knopka_Click();
    EXPECT_EQ(view.knopka, " Далее");
    EXPECT_FALSE(view.timerActive);
    engine.Knopka_Click();
    EXPECT_EQ(view.knopka, "  Стоп");
    EXPECT_EQ(IgraLook::KnopkaCaption(engine.KnopkaNow()), "  Стоп");
    EXPECT_TRUE(view.timerActive);
}

TEST_F(Imitator, DrawsEachNumberOnceEndsAfterMaxHodAndSchedulesTourChanges)
{
    Load({});
    messenger.fallbackAnswer = Yes;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        state.settings.MaxHod = 81 + int(seed % 9);
        engine.random.seed(seed);
        engine.RegimImitator_Click();
        ASSERT_EQ(engine.TimerHod, -1);
        ASSERT_EQ(view.caption, ": ИМИТАТОР");
        RunTimer();
        std::vector<int> numbers;
        std::vector<std::size_t> tourStarts;
        for (const qint32 v : state.TiragNomera.Entries()) {
            if (v == 91)
                tourStarts.push_back(numbers.size() + 1);
            else if (v != 93)
                numbers.push_back(v);
        }
        const std::set<int> distinct(numbers.begin(), numbers.end());
        EXPECT_EQ(int(numbers.size()), state.settings.MaxHod);
        EXPECT_EQ(distinct.size(), numbers.size());
        EXPECT_TRUE(*distinct.begin() >= 1 && *distinct.rbegin() <= 90);
        ASSERT_EQ(tourStarts.size(), 2u);
        EXPECT_TRUE(tourStarts[0] >= 6 && tourStarts[0] <= 11) << tourStarts[0];
        EXPECT_TRUE(tourStarts[1] >= 16 && tourStarts[1] <= 26) << tourStarts[1];
        EXPECT_EQ(state.RegimState, Rezhim::None);
        EXPECT_FALSE(view.timerActive);
    }
}

TEST_F(Imitator, FirstNumberIsUniformOverAllNinety)
{
    Load({});
    messenger.fallbackAnswer = Yes;
    view.quiet = true;
    std::array<int, 91> seen{};
    engine.random.seed(7);
    for (int game = 0; game < 9000; ++game) {
        engine.RegimImitator_Click();
        engine.Timer1_Timer();
        ++seen[std::size_t(state.TiragNomera.Entries().at(0))];
    }
    // 100 expected for each; an edge number drawn at half the rate would sit near 50.
    for (int n = 1; n <= 90; ++n)
        EXPECT_GT(seen[std::size_t(n)], 65) << n;
}

TEST_F(Imitator, NeedsAValidMaximumOfMoves)
{
    Load({kA});
    state.settings.MaxHod = 50;
    engine.RegimImitator_Click();
    EXPECT_EQ(view.showSettingsCount, 1);
    EXPECT_EQ(state.RegimState, Rezhim::None);
    EXPECT_FALSE(view.timerActive);

    view.onShowSettings = [this] { state.settings.MaxHod = 85; };
    engine.RegimImitator_Click();
    EXPECT_EQ(state.RegimState, Rezhim::Imitator);
    EXPECT_TRUE(view.timerActive);
    EXPECT_TRUE(view.calls.contains("EnablePrizPoNomeru 0"));
}

namespace
{

// Lets the timer fire inside every box, as a modal box's event loop would.
class TickingMessenger : public RecordingMessenger
{
public:
    GameEngine *engine = nullptr;
    ProgramState *state = nullptr;
    int unchangedTicks = 0;

    MsgAnswer Show(const MessageRequest &request) override
    {
        const qint32 hod = state->TiragNomera.HodCount() + state->TiragNomera.HodExtra();
        const qint32 timerHod = engine->TimerHod;
        engine->Timer1_Timer();
        if (hod == state->TiragNomera.HodCount() + state->TiragNomera.HodExtra() &&
            timerHod == engine->TimerHod)
            ++unchangedTicks;
        return RecordingMessenger::Show(request);
    }
};

} // namespace

TEST(EngineBusy, TickInsideABoxIsDropped)
{
    ProgramState state;
    RecordingView view{&state.store};
    TickingMessenger messenger;
    GameEngine engine(state, view, messenger);
    messenger.engine = &engine;
    messenger.state = &state;
    state.store.Load({kA});
    state.PovtorNomera = Tirag({1, 10, 20, 30, 40, 91, 94, 0, 5, 6, 93});
    state.RegimState = Rezhim::Povtor;
    engine.RegimPovtor_Click();

    for (int i = 0; i < 5; ++i)
        engine.Timer1_Timer();
    EXPECT_EQ(messenger.shown.size(), 1u); // the win message, with its tick dropped
    engine.Timer1_Timer();                 // the skipped 91
    engine.Timer1_Timer();                 // the prize
    EXPECT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(engine.TimerHod, 8);

    messenger.fallbackAnswer = MsgAnswer::No;
    engine.RegimProverka_Click(); // the question's tick is dropped, and No keeps the replay
    EXPECT_EQ(messenger.unchangedTicks, 3);
    EXPECT_EQ(engine.TimerHod, 8);
    EXPECT_EQ(state.RegimState, Rezhim::Povtor);
    EXPECT_EQ(state.TiragNomera.Entries(), (std::vector<qint32>{1, 10, 20, 30, 40, 91, 94, 0}));
}
