// Text reads on its background whatever the desktop's colours, and a drawing
// area drawn larger is the same picture, sharp.
#include "controls/Contrast.h"
#include "controls/Fonts.h"
#include "controls/Surface.h"
#include "controls/Zoom.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace
{

TEST(Contrast, RatiosAndTheColourChosenForText)
{
    EXPECT_NEAR(Contrast::Ratio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(Contrast::Ratio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(Contrast::Ratio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
    struct Case {
        QColor text, back, expected;
    };
    const QColor black(Qt::black), white(Qt::white), light(0xF0, 0xF0, 0xF0);
    const Case cases[] = {
        {black, QColor(255, 149, 149), black},    // the light desktop on a tour colour: as it was
        {light, light, black},                    // a dark desktop's text on the card's light cells
        {light, QColor(255, 149, 149), black},    // and on a drawn number's colour
        {light, QColor(0x35, 0x35, 0x35), light}, // on its own dark face it reads
        {QColor(0x60, 0x60, 0x60), QColor(0x20, 0x20, 0x50), white}, // grey on navy falls short
        {QColor(0x77, 0x77, 0x77), white, black},                    // just short of 4.5
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.name().toStdString() + " on " + c.back.name().toStdString());
        EXPECT_EQ(Contrast::Readable(c.text, c.back), c.expected);
        EXPECT_GE(Contrast::Ratio(Contrast::Readable(c.text, c.back), c.back), Contrast::kMinRatio);
    }
}

TEST(Contrast, ALabelOnItsOwnColourTakesReadableTextAndGivesItBackOnAnother)
{
    QWidget parent;
    QPalette dark = parent.palette();
    dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    parent.setPalette(dark);
    QLabel label(&parent);
    QPalette own = label.palette();
    own.setColor(QPalette::Window, QColor(255, 255, 128));
    label.setPalette(own);
    Contrast::MakeReadable(&label, QPalette::WindowText, QPalette::Window);
    EXPECT_EQ(label.palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(label.palette().color(QPalette::Inactive, QPalette::WindowText), QColor(Qt::black));
    // On a dark colour the desktop's own light text reads again.
    own = label.palette();
    own.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    label.setPalette(own);
    Contrast::MakeReadable(&label, QPalette::WindowText, QPalette::Window);
    EXPECT_EQ(label.palette().color(QPalette::Active, QPalette::WindowText), QColor(0xF0, 0xF0, 0xF0));
}

TEST(Contrast, ADesktopWhoseColoursHardlyReadGetsReadableTextAndAGoodOneIsLeftAlone)
{
    const QPalette standard = QApplication::palette();
    EXPECT_FALSE(Contrast::MakeDesktopReadable());
    EXPECT_EQ(QApplication::palette(), standard);

    QPalette grey = standard;
    grey.setColor(QPalette::WindowText, QColor(0x77, 0x77, 0x77));
    grey.setColor(QPalette::Window, QColor(0x55, 0x55, 0x55));
    grey.setColor(QPalette::Text, QColor(0xC0, 0xC0, 0xC0));
    grey.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    grey.setColor(QPalette::HighlightedText, Qt::white);
    grey.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    QApplication::setPalette(grey);
    EXPECT_TRUE(Contrast::MakeDesktopReadable());
    const QPalette fixed = QApplication::palette();
    EXPECT_EQ(fixed.color(QPalette::Active, QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(fixed.color(QPalette::Inactive, QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(fixed.color(QPalette::Active, QPalette::ButtonText), standard.color(QPalette::ButtonText));
    // The card's face, the highlighted-text colour, stays the desktop's.
    EXPECT_EQ(fixed.color(QPalette::Active, QPalette::HighlightedText), QColor(Qt::white));
    QApplication::setPalette(standard);
}

class SurfaceDrawing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Fonts::InstallSubstitutes();
        s.setFont(Fonts::Make(18));
        s.SetBackColor(QColor(0x35, 0x35, 0x35));
        s.SetForeColor(QColor(0xF0, 0xF0, 0xF0));
        s.SetSurfaceSize(70, 34, 1.0);
    }
    // The colour of the ink in an area: the pixel that stands out most from the background.
    static QColor Ink(const QImage &image, const QRect &area, const QColor &back)
    {
        QColor ink = back;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (Contrast::Ratio(image.pixelColor(x, y), back) > Contrast::Ratio(ink, back))
                    ink = image.pixelColor(x, y);
        return ink;
    }
    Surface s;
};

TEST_F(SurfaceDrawing, TextOnALightCellIsDrawnDarkAndOnTheDarkFaceInTheDesktopsColour)
{
    const QColor pink(255, 149, 149);
    s.FillRect(36, 1, 69, 33, pink);
    s.Text(2, 3, QStringLiteral("45"));
    s.Text(38, 3, QStringLiteral("45"));
    const QImage &image = s.Image();
    EXPECT_EQ(Ink(image, QRect(1, 1, 33, 32), QColor(0x35, 0x35, 0x35)), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_GE(Contrast::Ratio(Ink(image, QRect(37, 2, 31, 30), pink), pink), Contrast::kMinRatio);
}

TEST_F(SurfaceDrawing, ZoomedItIsLargerAndTheSamePictureAndReadsAndClicksInItsOwnPixels)
{
    s.Line(0, 0, 69, 0, Qt::black);
    s.FillRect(36, 1, 69, 33, QColor(255, 149, 149));
    s.Text(38, 3, QStringLiteral("45"));
    s.Line(0, 33, 20, 10, Qt::red); // slanted, right to left upwards
    // Hovering draws frames over and over; only what still shows is kept.
    for (int i = 0; i < 20000; ++i) {
        s.RectOutline(1 + i % 2, 1, 30, 30, Qt::white);
        s.RectOutline(1 + i % 2, 1, 30, 30, QColor(0x35, 0x35, 0x35));
    }
    s.RectOutline(1, 1, 30, 30, QColor(0x35, 0x35, 0x35));
    s.RectOutline(2, 1, 30, 30, QColor(0x35, 0x35, 0x35));
    EXPECT_LT(s.KeptSteps(), 4200u);
    const QImage before = s.Image().copy();
    s.SetZoom(1.5);
    EXPECT_EQ(s.size(), QSize(105, 51));
    EXPECT_EQ(s.Image().size(), QSize(105, 51));
    EXPECT_EQ(s.Pixel(67, 31), QColor(255, 149, 149));
    EXPECT_EQ(s.Pixel(10, 0), QColor(Qt::black));
    QPointF clicked;
    QObject::connect(&s, &Surface::MouseReleased, [&](QPointF p, Qt::MouseButton) { clicked = p; });
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(60, 30), QPointF(60, 30), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&s, &release);
    EXPECT_EQ(clicked, QPointF(40, 20));
    s.SetZoom(1);
    // Back at 1 it is exactly the picture it was, frames and all drawn again.
    EXPECT_EQ(s.Image(), before);
}

TEST(Zoom, StepsAndTheLargestThatFits)
{
    EXPECT_EQ(Zoom::Step(0), 100);
    EXPECT_EQ(Zoom::Step(149), 125);
    EXPECT_EQ(Zoom::Step(175), 175);
    EXPECT_EQ(Zoom::Step(900), 200);
    EXPECT_EQ(Zoom::Larger(100), 125);
    EXPECT_EQ(Zoom::Larger(200), 200);
    EXPECT_EQ(Zoom::Smaller(125), 100);
    EXPECT_EQ(Zoom::Smaller(100), 100);
    const QSize base(632, 531);
    EXPECT_EQ(Zoom::Fitting(base, QSize(1280, 1003)), 175);
    EXPECT_EQ(Zoom::Fitting(base, QSize(1920, 1050)), 175); // the height decides
    EXPECT_EQ(Zoom::Fitting(base, QSize(1920, 1062)), 200);
    EXPECT_EQ(Zoom::Fitting(base, QSize(790, 664)), 125);
    EXPECT_EQ(Zoom::Fitting(base, QSize(789, 700)), 100);
    EXPECT_EQ(Zoom::Fitting(base, QSize(300, 200)), 100);
}

} // namespace
