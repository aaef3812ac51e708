// The digit model on glyphs drawn in typefaces it was not made from.
#include "TicketArt.h"
#include "scan/DigitModel.h"
#include "scan/Glyphs.h"

#include <opencv2/imgproc.hpp>

#include <QFontDatabase>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

// Text drawn black on white at the reader's cell height, as brightness.
cv::Mat Drawn(const QString &text, const QString &family, bool bold)
{
    QImage image(96, 48, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(family);
    font.setPixelSize(30);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(image.rect(), Qt::AlignCenter, text);
    p.end();
    return cv::Mat(image.height(), image.width(), CV_8U, image.bits(), std::size_t(image.bytesPerLine()))
        .clone();
}

TEST(Digits, EveryDigitOfUnseenTypefacesIsReadOrDoubted)
{
    const Scan::DigitModel &model = Scan::DigitModel::Builtin();
    ASSERT_GT(model.size(), 500);
    int right = 0, total = 0;
    for (const QString &family :
         {QStringLiteral("PT Sans"), QStringLiteral("PT Serif"), QStringLiteral("Carlito")}) {
        for (bool bold : {false, true}) {
            for (int d = 0; d <= 9; ++d) {
                const auto glyphs =
                    Scan::GlyphsOf(Scan::InkMap(Drawn(QString::number(d), family, bold)), 0.2, 1);
                ASSERT_EQ(glyphs.size(), 1u) << family.toStdString() << " " << d;
                const Scan::DigitVote vote = model.Classify(Scan::GlyphFeatures(glyphs[0].ink));
                ++total;
                right += vote.digit == d;
                EXPECT_TRUE(vote.digit == d || vote.doubtful)
                    << family.toStdString() << " " << d << " read as " << vote.digit << " without doubt";
            }
        }
    }
    EXPECT_GE(right, total - 2);
}

TEST(Digits, LettersAndPicturesAreNoConfidentDigits)
{
    const Scan::DigitModel &model = Scan::DigitModel::Builtin();
    int doubted = 0, total = 0;
    for (const QString &text : {QStringLiteral("Ж"), QStringLiteral("Ф"), QStringLiteral("Ш"),
                                QStringLiteral("★"), QStringLiteral("Ы"), QStringLiteral("Щ")}) {
        const auto glyphs =
            Scan::GlyphsOf(Scan::InkMap(Drawn(text, QStringLiteral("DejaVu Sans"), true)), 0.2, 1);
        ASSERT_EQ(glyphs.size(), 1u) << text.toStdString();
        ++total;
        doubted += model.Classify(Scan::GlyphFeatures(glyphs[0].ink)).doubtful;
    }
    EXPECT_EQ(doubted, total);
}

TEST(Digits, ModelTypefacesAreInstalledAndApartFromTheJudgingOnes)
{
    // The typefaces that judge the reader are never among the model's, and
    // every typeface named for either is one the system really has.
    const QStringList installed = QFontDatabase::families();
    const QStringList model = TicketArt::ModelFonts(), judging = TicketArt::HeldOutFonts();
    EXPECT_GE(model.size(), 10);
    EXPECT_GE(judging.size(), 4);
    for (const QString &family : model + judging)
        EXPECT_TRUE(installed.contains(family)) << family.toStdString();
    for (const QString &family : judging)
        EXPECT_FALSE(model.contains(family)) << family.toStdString();
}

TEST(Digits, TwoDigitsRunTogetherAreCutInTwoWhenTwoAreExpected)
{
    // A one, and a zero broken into two strokes side by side with a hair's gap.
    cv::Mat ink(40, 60, CV_32F, cv::Scalar(0));
    ink(cv::Rect(5, 5, 6, 30)).setTo(1);  // a one
    ink(cv::Rect(30, 5, 5, 30)).setTo(1); // left half of a zero
    ink(cv::Rect(37, 5, 5, 30)).setTo(1); // right half of it
    const auto free = Scan::GlyphsOf(ink, 0.2);
    const auto two = Scan::GlyphsOf(ink, 0.2, 2);
    EXPECT_EQ(free.size(), 3u);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].box, cv::Rect(5, 5, 6, 30));
    EXPECT_EQ(two[1].box, cv::Rect(30, 5, 12, 30));
}

TEST(Digits, GridLinesMeetingInACornerOfTheCellAreNoDigit)
{
    // A cell cut a little off its grid keeps two short pieces of line that
    // meet in a corner, or a piece of line a pixel in from its edge (counted
    // as a character, it made the two digits be taken for one run together),
    // or a few pixels in (taken for the units, a 53 was read as 51); digits
    // cut short by the border stay digits.
    struct Case {
        const char *what;
        cv::Rect across, down; // the pieces of line, drawn black
        int height;            // of the cell kept, from its top
    };
    for (const Case &c : {Case{"lines top right", {72, 0, 24, 2}, {94, 0, 2, 36}, 48},
                          Case{"lines bottom left", {0, 46, 24, 2}, {0, 14, 3, 34}, 48},
                          Case{"a line beside the left edge", {}, {1, 8, 2, 32}, 48},
                          Case{"a line a few pixels in from the right edge", {}, {89, 2, 3, 44}, 48},
                          Case{"a broken line a few pixels in", {88, 30, 2, 16}, {88, 2, 2, 20}, 48},
                          Case{"a short piece of line beside the edge", {}, {93, 26, 2, 14}, 48},
                          Case{"digits cut at the bottom", {}, {}, 33}}) {
        cv::Mat cell = Drawn(QStringLiteral("37"), QStringLiteral("DejaVu Sans"), false);
        cell(c.across).setTo(0);
        cell(c.down).setTo(0);
        const auto glyphs = Scan::GlyphsOf(Scan::InkMap(cell.rowRange(0, c.height)), 0.22, 2);
        ASSERT_EQ(glyphs.size(), 2u) << c.what;
        const Scan::DigitModel &model = Scan::DigitModel::Builtin();
        EXPECT_EQ(model.Classify(Scan::GlyphFeatures(glyphs[1].ink)).digit, 7) << c.what;
    }
}

TEST(Digits, AFaintStrokeStaysWithItsDigit)
{
    // A four whose thin slanted stroke prints pale: the glyph keeps it, or
    // the four is only its upright and reads as a one.
    cv::Mat ink(40, 40, CV_32F, cv::Scalar(0));
    ink(cv::Rect(24, 4, 5, 32)).setTo(1.0); // the upright
    ink(cv::Rect(8, 24, 24, 4)).setTo(1.0); // the bar
    for (int y = 6; y < 24; ++y)            // the slant, pale
        ink(cv::Rect(8 + (24 - y) * 16 / 18, y, 3, 1)).setTo(0.45);
    const auto glyphs = Scan::GlyphsOf(ink, 0.2, 1);
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_LE(glyphs[0].box.y, 7);
    EXPECT_LE(glyphs[0].box.x, 8);
    EXPECT_GT(glyphs[0].ink.at<float>(10 - glyphs[0].box.y, 8 + 14 * 16 / 18 - glyphs[0].box.x + 1), 0.4f);

    // Its stem below the bar, parted from the rest by blur, is no speck:
    // without it the four read as a seven. A speck apart from it is one.
    ink(cv::Rect(24, 28, 5, 8)).setTo(0.0);
    ink(cv::Rect(25, 30, 3, 6)).setTo(1.0);
    ink(cv::Rect(2, 2, 3, 3)).setTo(1.0);
    const auto parted = Scan::GlyphsOf(ink, 0.2, 1);
    ASSERT_EQ(parted.size(), 1u);
    EXPECT_EQ(parted[0].box.br().y, 36);
    EXPECT_GE(parted[0].box.x, 8);
}

// A 3 and a 5 in every typeface, sharp and as small blurred print leaves
// them: the stroke that parts them names the right one or neither. A face
// whose 3 ends its top in a heavy ball low down (Bookman's) may be taken for
// a 5; the reader asks the stroke only where its model hesitates.
TEST(Digits, AThreeAndAFiveAreToldApartByTheStrokeThatPartsThem)
{
    int named = 0, wrong = 0, total = 0;
    for (const QStringList &families : {TicketArt::ModelFonts(), TicketArt::HeldOutFonts()}) {
        for (const QString &family : families) {
            for (bool bold : {false, true}) {
                for (int digit : {3, 5}) {
                    for (bool small : {false, true}) {
                        cv::Mat drawn = Drawn(QString::number(digit), family, bold);
                        if (small) {
                            // Twelve pixels high, blurred, then enlarged as the reader does.
                            cv::Mat tiny;
                            cv::resize(drawn, tiny, cv::Size(), 0.4, 0.4, cv::INTER_AREA);
                            cv::GaussianBlur(tiny, tiny, cv::Size(0, 0), 0.7);
                            cv::resize(tiny, drawn, drawn.size(), 0, 0, cv::INTER_LINEAR);
                        }
                        const auto glyphs = Scan::GlyphsOf(Scan::InkMap(drawn), 0.2, 1);
                        ASSERT_EQ(glyphs.size(), 1u) << family.toStdString() << " " << digit;
                        const int shape = Scan::ThreeOrFive(glyphs[0].ink);
                        if (shape >= 0 && shape != digit) {
                            ++wrong;
                            std::printf("%s%s %d taken for %d%s\n", qPrintable(family), bold ? " bold" : "",
                                        digit, shape, small ? " in small print" : "");
                        }
                        named += shape == digit;
                        ++total;
                    }
                }
            }
        }
    }
    EXPECT_GE(named, total * 8 / 10);
    EXPECT_LE(wrong, total / 50);
}

// An 8 is pinched between its loops and a 0 is not, in every typeface, sharp
// and blurred, bold or slashed: a 0 is as wide about its middle as anywhere,
// and an 8 of the same face clearly narrower there.
TEST(Digits, AZeroIsFullerAboutItsMiddleThanAnEightOfItsFace)
{
    int apart = 0, total = 0;
    for (const QStringList &families : {TicketArt::ModelFonts(), TicketArt::HeldOutFonts()}) {
        for (const QString &family : families) {
            for (bool bold : {false, true}) {
                for (double blur : {0.0, 1.5}) {
                    double waist[2] = {};
                    for (int i = 0; i < 2; ++i) {
                        cv::Mat drawn = Drawn(QString::number(i * 8), family, bold);
                        if (blur > 0)
                            cv::GaussianBlur(drawn, drawn, cv::Size(0, 0), blur);
                        const auto glyphs = Scan::GlyphsOf(Scan::InkMap(drawn), 0.2, 1);
                        ASSERT_EQ(glyphs.size(), 1u) << family.toStdString();
                        waist[i] = Scan::Waist(glyphs[0].ink);
                    }
                    ++total;
                    // What the reader asks before it takes a doubtful 8 for a 0.
                    const bool told = waist[0] >= 0.9 && waist[0] >= waist[1] + 0.1;
                    apart += told;
                    if (!told)
                        std::printf("%s%s blur %.1f: 0 %.2f, 8 %.2f\n", qPrintable(family),
                                    bold ? " bold" : "", blur, waist[0], waist[1]);
                    // An 8 never passes for a 0 of its own face.
                    EXPECT_LT(waist[1], 0.9) << family.toStdString();
                }
            }
        }
    }
    EXPECT_GE(apart, total * 9 / 10);
}

} // namespace
