// A surface on a high-density screen keeps its image at the screen's density.
#include "controls/Surface.h"
#include "controls/Fonts.h"

#include <gtest/gtest.h>

TEST(Surface, AtTwiceTheDensityLinesAndTextAreDrawnSharpInLogicalPixels)
{
    Fonts::InstallSubstitutes();
    Surface s;
    s.setFont(Fonts::Make(18));
    s.SetBackColor(Qt::white);
    s.SetForeColor(Qt::black);
    s.SetSurfaceSize(35, 34, 2.0);
    ASSERT_EQ(s.Image().size(), QSize(70, 68));
    s.Line(0, 0, 34, 0, Qt::black);
    s.FillRect(1, 1, 34, 33, QColor(255, 149, 149));
    s.Text(2, 3, QStringLiteral(" 45"));
    // One logical pixel is a 2 by 2 block; reading works in logical pixels.
    for (int x : {0, 1})
        for (int y : {0, 1})
            EXPECT_EQ(s.Image().pixelColor(20 + x, y), QColor(Qt::black)) << x << "," << y;
    EXPECT_EQ(s.Pixel(10, 0), QColor(Qt::black));
    EXPECT_EQ(s.Pixel(10, 1), QColor(255, 149, 149));
    // The digits are drawn at the device's resolution: some 2 by 2 block of
    // their ink is not of one colour, which a doubled 1x image never has.
    int mixed = 0;
    for (int y = 6; y + 1 < 66; y += 2)
        for (int x = 4; x + 1 < 70; x += 2) {
            const QImage &i = s.Image();
            const QColor c = i.pixelColor(x, y);
            mixed +=
                c != i.pixelColor(x + 1, y) || c != i.pixelColor(x, y + 1) || c != i.pixelColor(x + 1, y + 1);
        }
    EXPECT_GT(mixed, 10);
}
