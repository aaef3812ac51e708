// The card being keyed in, without a window.
#include "core/BiletEntry.h"
#include "support/TicketFactory.h"

#include <QStringList>
#include <array>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

namespace
{
using Kind = BiletEntry::Change::Kind;
}

TEST(BiletEntry, FillsRowByRowOneNumberAColumnAndGoesBackForAHole)
{
    Loto::KletkaTable onCard{};
    BiletEntry entry(onCard);
    entry.Clear();
    // 7 takes 5's column in row 0; 7 again takes it off.
    EXPECT_EQ(entry.Toggle(5), (BiletEntry::Change{Kind::PutOn, 5, 0, 0, 0, 0, 0, false}));
    EXPECT_EQ(entry.Toggle(7), (BiletEntry::Change{Kind::PutOn, 7, 0, 0, 5, 0, 0, false}));
    EXPECT_EQ(onCard[5], Kletka::Free);
    EXPECT_EQ(entry.Toggle(7), (BiletEntry::Change{Kind::TakenOff, 7, 0, 0, 0, 0, 0, false}));
    EXPECT_EQ(entry.StrokaCount(0), 0);

    const int rows[6][5] = {{5, 15, 25, 35, 45}, {6, 16, 26, 36, 46}, {7, 17, 27, 37, 47},
                            {1, 51, 61, 71, 90}, {2, 52, 62, 72, 82}, {3, 53, 63, 73, 83}};
    for (const auto &row : rows)
        for (int n : row)
            entry.Toggle(n);
    ASSERT_TRUE(entry.Complete());
    EXPECT_EQ(entry.Toggle(4).kind, Kind::None); // a full card takes nothing more
    EXPECT_FALSE(entry.Ready(QString()));
    EXPECT_TRUE(entry.Ready(QStringLiteral("017")));

    // A hole in row 1 sends filling back there; filling it moves on past the complete rows.
    EXPECT_EQ(entry.Toggle(16), (BiletEntry::Change{Kind::TakenOff, 16, 1, 1, 0, 6, 1, false}));
    EXPECT_EQ(entry.Toggle(18), (BiletEntry::Change{Kind::PutOn, 18, 1, 1, 0, 1, 6, true}));
    EXPECT_EQ(entry.History().size(), 35u); // all but the refused one

    BILETCls stored;
    entry.Store(stored);
    EXPECT_EQ(stored.NomeraList(6), 18);
    BiletEntry again(onCard);
    again.Load(stored);
    EXPECT_TRUE(again.Complete());
    EXPECT_TRUE(again.History().empty());
    for (int k = 0; k < 54; ++k)
        EXPECT_EQ(again.Kletka(k), entry.Kletka(k)) << k;
}

TEST(BiletEntry, TheNextTicketNumberCountsOnInTheLastRunOfDigits)
{
    const std::pair<const char *, const char *> cases[] = {
        {"017", "018"},       {"АБ-099", "АБ-100"}, {"99", "100"}, {"104512", "104513"}, {"А7Б", "А8Б"},
        {"12-39x", "12-40x"}, {"Серия", ""},        {"", ""},      {" 9 ", " 10 "},      {"0", "1"},
    };
    for (const auto &[nomer, next] : cases)
        EXPECT_EQ(BiletEntry::NextNomer(QString::fromUtf8(nomer)), QString::fromUtf8(next)) << nomer;
}

namespace
{

// Keys a whole card in whose every number is shifted by plus (0..4), row by row.
void KeyWholeCard(BiletEntry &entry, int plus)
{
    const int rows[6][5] = {{1, 11, 21, 31, 41}, {2, 12, 22, 32, 42}, {3, 13, 23, 33, 43},
                            {51, 61, 71, 81, 4}, {52, 62, 72, 82, 5}, {53, 63, 73, 83, 6}};
    entry.Clear();
    for (const auto &row : rows)
        for (int n : row)
            entry.Toggle(n + plus);
}

} // namespace

TEST(BiletEntry, ReadyCardsAreFiledIntoTheSetWithTheirTwinAndTheNextFreeNumber)
{
    Loto::KletkaTable onCard{};
    BiletEntry entry(onCard);
    BiletStore store;
    store.NewSet();

    // Half a card, or a card without a number, is no ticket.
    entry.Clear();
    entry.Toggle(5);
    EXPECT_FALSE(entry.File(store, QStringLiteral("017")));
    KeyWholeCard(entry, 0);
    EXPECT_FALSE(entry.File(store, QString()));
    EXPECT_EQ(store.BiletCount(), 0);
    EXPECT_FALSE(store.Unsaved());

    struct Step {
        const char *nomer;
        qint32 card; // ticket on the card while keying; -1: a new one
        qint32 slot;
        bool added, renamed;
        qint32 twin;
        const char *next;
    };
    const Step steps[] = {
        {"017", -1, 0, true, false, -1, "018"}, {"019", -1, 1, true, false, -1, "020"},
        {"018", -1, 2, true, false, -1, "020"}, // 019 is held already
        {"017", -1, 3, true, false, 0, "020"},  // a twin of ticket 0
        {"017", 0, 0, false, false, 3, "020"},  // ticket 0 corrected: ticket 3 is its twin, itself is not
        {"021", 3, 3, false, true, -1, "022"},  // renumbered: no twin any more
        {"Серия", -1, 4, true, false, -1, ""},
    };
    int plus = 0;
    for (const Step &s : steps) {
        if (s.card < 0)
            store.ShowNew();
        else
            store.Show(s.card);
        KeyWholeCard(entry, plus);
        const QString nomer = QString::fromUtf8(s.nomer);
        EXPECT_EQ(BiletEntry::Twin(store, nomer), s.twin) << s.nomer << " said as it is typed";
        const auto filed = entry.File(store, nomer);
        ASSERT_TRUE(filed) << s.nomer;
        EXPECT_EQ(filed->stored.slot, s.slot) << s.nomer;
        EXPECT_EQ(filed->stored.added, s.added) << s.nomer;
        EXPECT_EQ(filed->stored.renamed, s.renamed) << s.nomer;
        EXPECT_EQ(filed->twin, s.twin) << s.nomer;
        EXPECT_EQ(filed->next, QString::fromUtf8(s.next)) << s.nomer;
        EXPECT_EQ(store.Bilet(s.slot).Nomer, nomer);
        EXPECT_EQ(store.Bilet(s.slot).NomeraList(0), 1 + plus) << "the card's numbers are stored";
        EXPECT_EQ(store.Bilet(s.slot).NomeraList(29), 83 + plus);
        EXPECT_TRUE(store.Unsaved());
        plus = (plus + 1) % 5;
    }
    EXPECT_EQ(store.BiletCount(), 5);
    // The index knows every stored card: 1 + plus is each card's first number.
    EXPECT_EQ(store.PoNomeru(1).ListCount(), 1) << "ticket 0 was corrected; ticket 3 starts with 1 now";
    EXPECT_EQ(store.PoNomeru(5).ListNomerBileta(0), 0);
}

namespace
{

// Everything the card shows: its cells, its rows' counts, the row being
// filled, and which numbers of the board are on it.
struct CardShown {
    std::array<qint32, Loto::kKletki> kletki{};
    std::array<qint32, Loto::kStroki> counts{};
    int stroka = 0;
    Loto::KletkaTable onCard{};
    bool operator==(const CardShown &) const = default;
};

CardShown Shown(const BiletEntry &entry, const Loto::KletkaTable &onCard)
{
    CardShown s;
    for (int k = 0; k < Loto::kKletki; ++k)
        s.kletki[static_cast<std::size_t>(k)] = entry.Kletka(k);
    for (int r = 0; r < Loto::kStroki; ++r)
        s.counts[static_cast<std::size_t>(r)] = entry.StrokaCount(r);
    s.stroka = entry.CurStroka();
    s.onCard = onCard;
    return s;
}

} // namespace

TEST(BiletEntry, TakingChangesBackOneByOneShowsEachCardThatWasBeforeThem)
{
    // Random keying from a few numbers (so numbers displace each other and
    // come off again) and from all of them; then every change is taken back
    // and the card must be exactly the one before that change, new or loaded.
    std::mt19937 rnd(18);
    for (int round = 0; round < 300; ++round) {
        Loto::KletkaTable onCard{};
        BiletEntry entry(onCard);
        if (round % 3 == 2) {
            KeyWholeCard(entry, round % 5);
            BILETCls stored;
            entry.Store(stored);
            entry.Load(stored);
        } else {
            entry.Clear();
        }
        const int highest = round % 2 == 0 ? 24 : Loto::kMaxNomer;
        std::uniform_int_distribution<int> nomer(1, highest);
        std::vector<CardShown> before;
        std::vector<BiletEntry::Change> made;
        const int steps = 1 + round % 50;
        for (int i = 0; i < steps; ++i) {
            const CardShown was = Shown(entry, onCard);
            const BiletEntry::Change change = entry.Toggle(nomer(rnd));
            if (change.kind == Kind::None) {
                EXPECT_EQ(Shown(entry, onCard), was) << "a refused number changes nothing";
                continue;
            }
            before.push_back(was);
            made.push_back(change);
        }
        ASSERT_EQ(entry.History(), made) << round;
        while (!before.empty()) {
            const std::optional<BiletEntry::Change> undone = entry.Undo();
            ASSERT_TRUE(undone) << round;
            EXPECT_EQ(*undone, made.back()) << round;
            ASSERT_EQ(Shown(entry, onCard), before.back())
                << "round " << round << ", change " << before.size() << " of " << made.size();
            before.pop_back();
            made.pop_back();
        }
        EXPECT_FALSE(entry.Undo()) << "nothing is left to take back";
    }
}

namespace
{

// Types keys into a box the way the window does with what NomerTyping says:
// ' ' Space, '\n' Enter, '<' Backspace; the log tells what reached the card.
struct TypingBox {
    NomerTyping typing;
    QString box;
    QStringList log;

    void Type(const QString &keys, bool zagruzka, bool gotov)
    {
        for (const QChar c : keys) {
            using Key = NomerTyping::Key;
            const Key key = c == u' '    ? Key::Space
                            : c == u'\n' ? Key::Enter
                            : c == u'<'  ? Key::Backspace
                                         : Key::Other;
            const QString text = key == Key::Backspace ? QStringLiteral("\b") : QString(c);
            const NomerTyping::Step step = typing.Press(key, text, {box, box.size()}, zagruzka, gotov);
            if (step.undo)
                log << QStringLiteral("undo");
            if (step.box)
                box = *step.box;
            if (step.toGotov)
                log << QStringLiteral("gotov");
            if (step.entered)
                log << QStringLiteral("enter ") + step.typed;
            if (step.ended != 0) {
                log << QString::number(step.ended);
                typing.EndedChangedCard();
            }
            if (!step.absorbed)
                box = key == Key::Backspace ? box.chopped(box.isEmpty() ? 0 : 1) : box + c;
        }
    }
};

} // namespace

TEST(NomerTyping, QuickTypingEndsNumbersAndAbsorbsWhatHabitAddsAfterThem)
{
    struct Case {
        const char *keys;
        bool zagruzka, gotov;
        const char *log; // what reached the card, '|' between
        const char *box; // left in the box
    };
    const Case cases[] = {
        {"3 12 27 ", true, false, "enter 3|12|27", ""}, // the Space after a second digit is absorbed
        {"12\n\n5\n", true, false, "12|enter |enter 5", ""},
        {"12<", true, false, "12|undo", "1"}, // Backspace right after a number takes it back
        {"12 <", true, false, "12", ""},      // not once something else came
        {"1<2", true, false, "", "2"},        // an ordinary Backspace edits the box
        {"95<", true, false, "", "9"},        // no number 95: nothing to take back
        {"00 ", true, false, "", ""},
        {"a1b", true, false, "", "1"}, // only digits are typed
        {"123", true, false, "12", "3"},
        {"81\n", true, true, "81|gotov", ""}, // the number that made the ticket ready: Enter goes on
        {"81 ", true, true, "81", ""},        // but a Space does not
        {"\n", true, true, "gotov", ""},
        {"5\n", true, true, "enter 5", ""},
        {"12", false, false, "", "12"}, // a check waits for Enter
        {"123\n", false, false, "enter 12", ""},
        {"7 \n", false, false, "enter 7|enter ", ""},
    };
    for (const Case &c : cases) {
        TypingBox t;
        t.Type(QString::fromUtf8(c.keys), c.zagruzka, c.gotov);
        EXPECT_EQ(t.log.join(u'|'), QString::fromUtf8(c.log)) << c.keys;
        EXPECT_EQ(t.box, QString::fromUtf8(c.box)) << c.keys;
    }

    // A typed digit replaces the selection: "4" over the selected "7" of "7" starts anew.
    NomerTyping typing;
    NomerTyping::Box selected{QStringLiteral("7"), 1, 0, 1};
    const NomerTyping::Step step =
        typing.Press(NomerTyping::Key::Other, QStringLiteral("4"), selected, true, false);
    EXPECT_FALSE(step.absorbed);
    EXPECT_EQ(step.ended, 0);
    // Keys that type nothing printable (arrows, Tab, Delete) edit the box as usual.
    for (const QString &text : {QString(), QStringLiteral("\t"), QStringLiteral("\x7f")}) {
        NomerTyping moving;
        const NomerTyping::Step step =
            moving.Press(NomerTyping::Key::Other, text, {QStringLiteral("4"), 1}, true, false);
        EXPECT_FALSE(step.absorbed) << text.size();
        EXPECT_FALSE(step.box.has_value()) << text.size();
    }
    // A paste forgets the number just ended.
    TypingBox pasted;
    pasted.Type(QStringLiteral("12"), true, false);
    pasted.typing.Reset();
    pasted.Type(QStringLiteral(" "), true, false);
    EXPECT_EQ(pasted.log.join(u'|'), QStringLiteral("12|enter "));
}
