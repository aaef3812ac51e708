// The board on its own: which number a click chooses, and a frame that leaves
// the cells as they were painted.
#include "app/PoleBoard.h"
#include "controls/IgraLook.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace
{

class Board : public ::testing::Test
{
protected:
    void SetUp() override
    {
        surface.SetBackColor(VbColor::ToQColor(VbColor::ButtonFace));
        surface.SetSurfaceSize(316, 341, 1);
        board.Clear();
    }
    void Press(QPointF at) { emit surface.MousePressed(at, Qt::LeftButton); }
    void Move(QPointF at) { emit surface.MouseMoved(at, Qt::NoButton); }
    void Release(QPointF at) { emit surface.MouseReleased(at, Qt::LeftButton); }
    static QPointF Center(int n) { return QPointF(35 * ((n - 1) / 10) + 17, 34 * ((n - 1) % 10) + 17); }

    Surface surface;
    PoleBoard board{surface};
    QSignalSpy chosen{&board, &PoleBoard::Chosen};
};

} // namespace

TEST_F(Board, AClickChoosesTheNumberOfItsCellGridLinesGoingRightAndDown)
{
    const struct {
        QPointF at;
        int nomer; // 0: nothing chosen
    } cases[] = {
        {{0, 0}, 1},    {{34, 33}, 1}, {{35, 0}, 11}, {{0, 34}, 2},   {{34.4, 67.6}, 3}, {{314, 339}, 90},
        {{280, 0}, 81}, {{315, 5}, 0}, {{5, 340}, 0}, {{-0.6, 5}, 0}, {{5, -0.6}, 0},    {{-0.4, 5}, 1},
    };
    for (const auto &c : cases) {
        chosen.clear();
        Press(c.at);
        Release(c.at);
        ASSERT_EQ(chosen.size(), c.nomer == 0 ? 0 : 1) << c.at.x() << "," << c.at.y();
        if (c.nomer != 0) {
            EXPECT_EQ(chosen.front().front().toInt(), c.nomer) << c.at.x() << "," << c.at.y();
        }
    }
}

TEST_F(Board, OnlyAPressAndAReleaseOnTheSameChoosableCellChoose)
{
    // Pressed on 12 and released on 13: nothing; back on 12: 12.
    Press(Center(12));
    Release(Center(13));
    Release(Center(12)); // no button held any more
    EXPECT_EQ(chosen.size(), 0);
    Press(Center(12));
    Move(Center(13));
    Move(Center(12));
    Release(Center(12));
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.front().front().toInt(), 12);
    // A quick second click arrives as a double click.
    emit surface.MouseDoubleClicked(Center(12));
    Release(Center(12));
    EXPECT_EQ(chosen.size(), 2);

    // A number that may not be chosen is neither framed nor chosen.
    board.SetChoosable([](int n) { return n != 40; });
    Move({-5, -5});
    const QImage clean = surface.Image().copy();
    Move(Center(40));
    Press(Center(40));
    Release(Center(40));
    EXPECT_EQ(chosen.size(), 2);
    EXPECT_EQ(surface.Image(), clean);
}

TEST_F(Board, TheFrameIsTakenAwayInTheColourOfTheCellItWasOn)
{
    // Cells of several colours, the pointer passing over them, pressing one
    // and leaving the board: the cells look as they were painted.
    board.Paint(12, IgraLook::ColorOf(Kletka::Tur1));
    board.Paint(13, IgraLook::ColorOf(Kletka::OnCard));
    board.Unhighlight(45);
    board.Paint(90, IgraLook::ColorOf(Kletka::Tur3));
    const QImage painted = surface.Image().copy();
    for (int n : {12, 13, 45, 90, 1})
        Move(Center(n));
    Press(Center(45));
    Move(Center(13));
    EXPECT_NE(surface.Image(), painted) << "the held cell stays framed";
    Release(Center(13));
    Move(Center(90));
    // A number drawn under the resting pointer is painted over its frame.
    board.Paint(90, IgraLook::ColorOf(Kletka::Tur2));
    const QImage drawn = surface.Image().copy();
    emit surface.PointerLeft();
    EXPECT_EQ(surface.Image(), drawn);
    board.Paint(90, IgraLook::ColorOf(Kletka::Tur3));
    EXPECT_EQ(surface.Image(), painted);
}
