// The card on its own: which cell a click is on, the row being filled marked
// and unmarked as numbers come and go, doubtful cells, and a win's frame.
#include "app/BiletCard.h"
#include "controls/IgraLook.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/IgraFacts.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace
{

const QColor kWhite(Qt::white);
const QColor kUsed = VbColor::ToQColor(IgraLook::ColorOf(Kletka::OnCard));
const QColor kGold = VbColor::ToQColor(BiletCard::kDoubtColor);
const QColor kRed(220, 0, 0);

int Top(int r)
{
    return 31 * r + (r >= 3 ? 11 : 0);
}

class Card : public ::testing::Test
{
protected:
    void SetUp() override
    {
        surface.SetBackColor(kWhite);
        surface.SetSurfaceSize(289, 198, 1);
        card.Clear();
    }
    // The card's face of cell (r, c): its colour and whether anything is written in it.
    struct Look {
        QColor color;
        bool written;
        bool operator==(const Look &) const = default;
    };
    Look LookOf(int r, int c) const
    {
        const QRect inside(32 * c + 3, Top(r) + 3, 26, 25);
        const QColor color = surface.Pixel(inside.left(), inside.bottom());
        bool written = false;
        for (int y = inside.top(); y <= inside.bottom() && !written; ++y)
            for (int x = inside.left(); x <= inside.right() && !written; ++x)
                written = surface.Pixel(x, y) != color;
        return {color, written};
    }
    std::vector<Look> Looks() const
    {
        std::vector<Look> looks;
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 9; ++c)
                looks.push_back(LookOf(r, c));
        return looks;
    }
    void Toggle(int n) { card.ShowChange(entry, entry.Toggle(n)); }

    Surface surface;
    BiletCard card{surface};
    Loto::KletkaTable nomerColor{};
    BiletEntry entry{nomerColor};
};

} // namespace

TEST_F(Card, AReleaseFindsItsCellAtTheEdgesAndAcrossTheBand)
{
    QSignalSpy clicked(&card, &BiletCard::Clicked);
    const struct {
        QPointF at;
        int stroka, column; // -1: no cell
    } cases[] = {
        {{0, 0}, 0, 0},   {{31, 30}, 0, 0},   {{32, 31}, 1, 1},    {{287, 62}, 2, 8},   {{288, 5}, -1, -1},
        {{5, 93}, 3, 0},  {{5, 96}, 3, 0},    {{5, 97}, 2, 0},     {{5, 103}, 2, 0},    {{5, 104}, 3, 0},
        {{5, 196}, 5, 0}, {{5, 197}, -1, -1}, {{-0.6, 5}, -1, -1}, {{5, -0.6}, -1, -1},
    };
    for (const auto &c : cases) {
        clicked.clear();
        emit surface.MouseReleased(c.at, Qt::LeftButton);
        ASSERT_EQ(clicked.size(), c.stroka < 0 ? 0 : 1) << c.at.x() << "," << c.at.y();
        if (c.stroka >= 0) {
            EXPECT_EQ(clicked.front(), QVariantList({c.stroka, c.column})) << c.at.x() << "," << c.at.y();
        }
    }
}

TEST_F(Card, TheRowBeingFilledIsMarkedAndATakeBackRestoresTheMarks)
{
    card.ShowEntry(entry);
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(LookOf(0, c), (Look{kUsed, true})) << "a \"?\" in every cell of the row being filled";
        EXPECT_EQ(LookOf(1, c), (Look{kWhite, false}));
    }
    // Each number put on and taken off again leaves the card looking as before,
    // whether it completed its row (the mark moves on and back) or not.
    for (int n : {5, 17, 29, 41, 53, 6, 18, 30, 42, 54}) {
        const std::vector<Look> before = Looks();
        Toggle(n);
        EXPECT_NE(Looks(), before) << n;
        Toggle(n);
        EXPECT_EQ(Looks(), before) << n;
        Toggle(n);
    }
    EXPECT_EQ(entry.CurStroka(), 2);
    EXPECT_EQ(LookOf(0, 0), (Look{kWhite, true}));
    EXPECT_EQ(LookOf(0, 3), (Look{kWhite, false}));
    EXPECT_EQ(LookOf(2, 1), (Look{kUsed, true}));
    // The card drawn afresh looks the same as the card painted change by change.
    const std::vector<Look> changed = Looks();
    card.ShowEntry(entry);
    EXPECT_EQ(Looks(), changed);
}

TEST_F(Card, DoubtfulCellsAreGoldSaveTheQuestionMarksOfTheRowBeingFilled)
{
    for (int n : {5, 17, 29, 41, 53, 6})
        Toggle(n);
    card.MarkDoubts(entry, {{0, 0}, {0, 3}, {1, 0}, {1, 8}, {4, 4}});
    EXPECT_EQ(LookOf(0, 0), (Look{kGold, true}));  // a number read doubtfully
    EXPECT_EQ(LookOf(0, 3), (Look{kGold, false})); // an empty cell of a complete row
    EXPECT_EQ(LookOf(1, 0), (Look{kGold, true}));
    EXPECT_EQ(LookOf(1, 8), (Look{kUsed, true}));   // still its "?"
    EXPECT_EQ(LookOf(4, 4), (Look{kWhite, false})); // a row not begun
}

TEST_F(Card, AWinIsFramedAroundItsRowItsFieldOrTheWholeTicket)
{
    using Kind = IgraWin::Kind;
    const struct {
        IgraWin win;
        std::vector<int> tops, bottoms; // rows whose top and bottom edges are framed
    } cases[] = {
        {{Kind::Nomer, 0, 1, 4}, {4}, {4}},     {{Kind::Nomer, 0, 1, 0}, {0}, {0}},
        {{Kind::Nomer, 0, 2, -1, 1}, {3}, {5}}, {{Kind::Nomer, 0, 2, -1, 0}, {0}, {2}},
        {{Kind::Nomer, 0, 3}, {0, 3}, {2, 5}},  {{Kind::Kubishka, 0, 3, -1, 1}, {3}, {5}},
        {{Kind::Priz, 0, 1, 2}, {}, {}},        {{Kind::Nomer, 0, 1, 6}, {}, {}},
        {{Kind::Nomer, 0, 2, -1, 2}, {}, {}},
    };
    for (const auto &c : cases) {
        card.Clear();
        card.FrameWin(c.win);
        // Three red lines from y0 on, going by step, and no fourth.
        const auto edge = [&](int y0, int step) {
            for (int k = 0; k < 3; ++k)
                if (surface.Pixel(100, y0 + k * step) != kRed)
                    return false;
            return surface.Pixel(100, y0 + 3 * step) != kRed;
        };
        std::vector<int> tops, bottoms;
        for (int r = 0; r < 6; ++r) {
            if (edge(Top(r), 1))
                tops.push_back(r);
            if (edge(Top(r) + 31, -1))
                bottoms.push_back(r);
            // As thick at the sides, and clear of the numbers.
            if (surface.Pixel(1, Top(r) + 15) == kRed) {
                EXPECT_EQ(surface.Pixel(2, Top(r) + 15), kRed);
            }
            EXPECT_NE(surface.Pixel(3, Top(r) + 15), kRed);
        }
        EXPECT_EQ(tops, c.tops) << int(c.win.kind) << " " << c.win.tur;
        EXPECT_EQ(bottoms, c.bottoms) << int(c.win.kind) << " " << c.win.tur;
    }
}
