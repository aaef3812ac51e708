// The numbers a read line may hold, and the line's print made plain.
#include "scan/NomerLine.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

namespace
{

// A line as the recogniser gives it, every character with the same certainty
// except those marked by an asterisk after them, which are uncertain.
Scan::LineText Line(const QString &marked)
{
    Scan::LineText line;
    for (QChar c : marked) {
        if (c == QLatin1Char('*')) {
            line.certainty.back() = 40;
            continue;
        }
        line.text += c;
        line.certainty.push_back(c == QLatin1Char(' ') ? 100.0f : 95.0f);
    }
    return line;
}

TEST(NomerLine, EveryWayTheDigitsMayMakeOneNumberIsOffered)
{
    struct Case {
        const char *line;
        int from, to;
        const char *expected; // digits/least certainty/joined[/weight when not 1], separated by spaces
        bool signRead = false;
    };
    const Case cases[] = {
        {"Билет № 0123456789", 6, 12, "0123456789/95/-"},
        // A space the print does not have cuts the number in two.
        {"БИЛЕТ №428 14571", 6, 12, "42814571/95/j"},
        {"Номер билета 704597 29", 6, 12, "704597/95/- 70459729/95/j"},
        // A piece that would make the number too long is no part of it.
        {"123456 7890123 45", 6, 12, "123456/95/- 7890123/95/- 789012345/95/j"},
        {"1234567 1234567", 6, 12, "1234567/95/- 1234567/95/-"},
        // A sign glued to a number may be a digit misread: it may be longer.
        {"#704597 29", 6, 12, "704597/0/- 70459729/0/j"},
        {"Билет № 12345б78", 6, 12, ""},
        // The least certain digit speaks for the number.
        {"№ 4840084*8467", 6, 12, "48400848467/40/-"},
        {"Тираж № 1234", 1, 6, "1234/95/-"},
        {"Тираж 12 34", 1, 6, "12/95/- 1234/95/j 34/95/-"},
        // Words between pieces keep them apart; Arabic-Indic digits are no digits here.
        {"123 руб. 456", 1, 6, "123/95/- 456/95/-"},
        {"Цена ١٢٣", 1, 6, ""},
        {"", 1, 6, ""},
        {"1234567890123", 6, 12, ""},
        // Print of Latin letters reads the number sign as N2: the 2 may be
        // the sign's or the number's, and each way gets half the vote. An N
        // apart from the digits, or a sign read as a sign, splits nothing.
        {"BMAET N25027127", 6, 12, "5027127/0/-/0.5 25027127/0/-/0.5", true},
        {"N123456", 6, 12, "123456/0/-", true},
        {"BMNET N°86952536534", 6, 12, "86952536534/0/-", true},
        {"Билет N 2288523", 6, 12, "2288523/95/-", true},
        {"BMAET N25027127", 6, 12, "25027127/0/-"},
        // Or reads the sign with the number's first digit glued to it as
        // letters: those that look like a digit may be one.
        {"БИЛЕТ Ne&35975", 6, 12, "835975/0/-/0.5", true},
        {"БИЛЕТ NS 594069", 6, 12, "5594069/0/j/0.5 594069/95/-/0.5", true},
        {"БИЛЕТ Neo$1515202911", 6, 12, "51515202911/0/-/0.5 1515202911/0/-/0.5", true},
        {"БИЛЕТ WPS 18790295", 6, 12, "518790295/0/j/0.5 18790295/95/-/0.5", true},
        {"БИЛЕТ NS 594069", 6, 12, "594069/95/-"},
        {"БИЛЕТ NX 594069", 6, 12, "594069/95/-", true},
        {"SNS 594069", 6, 12, "594069/95/-", true},
        // Or reads a last 1 as a bracket or a bar glued to the number: the
        // number is offered with the 1 and without, each with half the vote.
        {"БИЛЕТ 5151320291)", 6, 12, "5151320291/0/-/0.5 51513202911/0/-/0.5", true},
        {"БИЛЕТ 515132|", 6, 12, "515132/0/-/0.5 5151321/0/-/0.5", true},
        {"БИЛЕТ 515132) руб", 6, 12, "515132/0/-/0.5 5151321/0/-/0.5", true},
        {"БИЛЕТ 515132)x", 6, 12, "515132/0/-", true},
        {"БИЛЕТ 515132020291)", 6, 12, "515132020291/0/-", true},
        {"БИЛЕТ 5151320291)", 6, 12, "5151320291/0/-"},
    };
    for (const Case &c : cases) {
        QStringList got;
        for (const Scan::NumberCandidate &n :
             Scan::NumberCandidates(Line(QString::fromUtf8(c.line)), c.from, c.to, c.signRead))
            got << QStringLiteral("%1/%2/%3").arg(n.digits).arg(n.least).arg(QChar(n.joined ? u'j' : u'-')) +
                       (n.weight == 1 ? QString() : QStringLiteral("/%1").arg(n.weight));
        EXPECT_EQ(got.join(QLatin1Char(' ')).toStdString(), c.expected) << c.line;
    }
}

TEST(NomerLine, CandidatesKnowWhereTheyBegin)
{
    const auto candidates = Scan::NumberCandidates(Line(QStringLiteral("12 Тираж 345")), 1, 6);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].at, 0);
    EXPECT_EQ(candidates[1].at, 9);
}

TEST(NomerLine, TheDrawWordIsKnownThoughALetterOfItIsMisread)
{
    struct Case {
        const char *line;
        int end; // -1: no draw word
    };
    const Case cases[] = {
        {"Тираж № 1234", 5},
        {"ТИРАЖ №1559", 5},
        {"Тираю 14", 5},
        {"Тораж 1498", 5},
        {"Тир» 1273", 3},
        {"Tupa № 1542", 4},
        {"Тарож № 1542", 5},
        {"TИPAЖ 1234", 5},
        {"Тираж № 1542", 5},
        {"— тираж 1234", 7},
        {"Номер билета 704597", -1},
        {"Цена 300 руб.", -1},
        {"ЗОЛОТОЙ КЛЮЧ", -1},
        {"Тариф 12", -1},
        {"Гараж 12", -1},
        {"Nomep билета 704597", -1},
        {"", -1},
        {"1234 5678", -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Scan::DrawWordEnd(QString::fromUtf8(c.line)), c.end) << c.line;
}

TEST(NomerLine, ReadingsVoteForTheTicketNumberAndOnlyAConfirmedOneIsSure)
{
    struct Case {
        const char *why;
        // Each at one cell more from the grid; a reading of Russian print
        // alone is marked by a "!" before its first number.
        std::vector<std::vector<const char *>> readings;
        const char *glyphs;
        bool glyphsSure;
        const char *expected;
        bool doubtful;
    };
    const Case cases[] = {
        {"what the glyph reader read wins, and is sure, once a reading confirms it",
         {{"03535857"}, {"0335857"}, {"0335857"}},
         "0335857",
         false,
         "0335857",
         false},
        {"it still wins when the other readings outvote it, but is doubtful",
         {{"18758301"}, {"18758301"}, {"18758501"}},
         "18758501",
         true,
         "18758501",
         true},
        {"and when a reading of as many digits differs from it",
         {{"568690459"}, {"568690459"}, {"568690439"}},
         "568690459",
         false,
         "568690459",
         true},
        {"a number a digit longer that ends in the glyph reader's and has more votes wins: it lost a digit "
         "glued to the sign",
         {{"365660011877", "65660011877"}, {"365660011877"}},
         "65660011877",
         true,
         "365660011877",
         true},
        {"a reading of Russian print alone confirms nothing",
         {{"!455925557562"}, {"455925357562"}, {"455925357562"}},
         "455925557562",
         false,
         "455925357562",
         true},
        {"the most readings win when none confirms",
         {{"2288523"}, {"288523"}, {"288523"}},
         "",
         false,
         "288523",
         true},
        {"a reading counts a number once",
         {{"111111", "111111"}, {"222222"}, {"222222"}},
         "",
         false,
         "222222",
         true},
        {"the glyph reader, when sure, votes as one reading", {{"123456"}}, "1234567", true, "1234567", true},
        {"and as half of one when it doubted a digit", {{"123456"}}, "1234567", false, "123456", true},
        {"a number inside what it read, doubting, takes that half: the sign before it read as digits",
         {{"856055"}, {"856033"}},
         "83856033",
         false,
         "856033",
         true},
        {"a number backed by readings a slip or two apart wins over one of another length with as many votes",
         {{"218235579"}, {"0212235579"}, {"215235579"}},
         "",
         false,
         "218235579",
         true},
        {"a tie goes to the longer number", {{"7735725650"}, {"725650"}}, "", false, "7735725650", true},
        {"then to the line nearer the grid", {{"123456"}, {"654321"}}, "", false, "123456", true},
        {"the glyph reader alone", {}, "4538680", false, "4538680", true},
        {"its vote adds to the readings' of the same number, and wins a tie",
         {{"!123456"}, {"654321"}, {"654321"}},
         "123456",
         true,
         "123456",
         true},
        {"unconfirmed, each digit goes to what most readings a few slips apart read there",
         {{"34479588000"}, {"14479588000"}, {"34479558600"}, {"34479383600"}, {"14479558600"}},
         "",
         false,
         "34479588600",
         true},
        {"an unlike number of as many digits has no say in them",
         {{"1234567"}, {"1234567"}, {"7654321"}, {"7654398"}, {"7654987"}},
         "",
         false,
         "1234567",
         true},
        {"nothing read", {}, "", false, "", true},
    };
    for (const Case &c : cases) {
        Scan::NomerVotes votes;
        double distance = 1;
        for (const auto &reading : c.readings) {
            std::vector<Scan::NumberCandidate> candidates;
            bool russian = false;
            for (const char *digits : reading) {
                Scan::NumberCandidate candidate;
                candidate.digits = QString::fromLatin1(digits);
                russian = russian || candidate.digits.startsWith(QLatin1Char('!'));
                candidate.digits.remove(QLatin1Char('!'));
                candidate.least = 95;
                candidates.push_back(candidate);
            }
            votes.Add(candidates, distance++, !russian);
        }
        bool doubtful = false;
        const Scan::NumberCandidate chosen =
            votes.Choose(QString::fromLatin1(c.glyphs), c.glyphsSure, &doubtful);
        EXPECT_EQ(chosen.digits, QString::fromLatin1(c.expected)) << c.why;
        EXPECT_EQ(doubtful, c.doubtful) << c.why;
    }
    // Each vote of the panel of other recognisers counts half as much
    // again: where ours are split it decides, and where ours agree it ties
    // them at best, and the glyph reader decides; a reading's halves of one
    // number add up to no more than one vote.
    {
        const auto number = [](const char *digits, double weight = 1) {
            Scan::NumberCandidate n;
            n.digits = QString::fromLatin1(digits);
            n.least = 95;
            n.weight = weight;
            return n;
        };
        const QString ours = QStringLiteral("38327271525"), theirs = QStringLiteral("38327271323");
        bool doubtful = false;
        for (int split = 0; split <= 1; ++split) {
            Scan::NomerVotes panel;
            for (int reading = 0; reading < 5; ++reading)
                panel.Add({number(reading < 5 - split ? "38327271525" : "38327271323")}, 1);
            for (int reader = 0; reader < 3; ++reader)
                panel.Add({number("38327271323")}, 1, false, 1.5);
            EXPECT_EQ(panel.Choose({}, false, &doubtful).digits, split ? theirs : ours);
            EXPECT_EQ(panel.Choose(theirs, false, &doubtful).digits, theirs);
            EXPECT_EQ(panel.Choose(ours, false, &doubtful).digits, ours);
        }

        Scan::NomerVotes halves;
        halves.Add({number("288523", 0.5), number("2288523", 0.5), number("288523", 0.5), number("288523")},
                   1);
        halves.Add({number("2288523")}, 2);
        EXPECT_EQ(halves.Choose({}, false, &doubtful).digits, QStringLiteral("2288523"));

        // A piece of a number a reading read whole, a space between the
        // pieces, votes for the whole number only.
        Scan::NomerVotes pieces;
        Scan::NumberCandidate whole = number("081115888837"), tail = number("1115888837");
        whole.joined = true;
        tail.at = 3;
        pieces.Add({whole, tail}, 1);
        pieces.Add({whole, tail}, 1);
        pieces.Add({tail}, 1);
        EXPECT_EQ(pieces.Choose({}, false, &doubtful).digits, QStringLiteral("081115888837"));
    }
    // A confirmed number read with an uncertain digit stays doubtful.
    Scan::NomerVotes votes;
    Scan::NumberCandidate uncertain;
    uncertain.digits = QStringLiteral("608150636");
    uncertain.least = 40;
    votes.Add({uncertain}, 1);
    bool doubtful = false;
    EXPECT_EQ(votes.Choose(uncertain.digits, true, &doubtful).digits, uncertain.digits);
    EXPECT_TRUE(doubtful);
}

TEST(NomerLine, DarkeningAndDeblurringKeepPaperWhiteAndPrintDark)
{
    cv::Mat line(20, 60, CV_8U, cv::Scalar(235));
    line(cv::Rect(20, 5, 20, 10)).setTo(110);
    for (const cv::Mat &out : {Scan::Darkened(line), Scan::Deblurred(line, 3.0, 10)}) {
        ASSERT_EQ(out.size(), line.size());
        EXPECT_GE(out.at<std::uint8_t>(2, 3), 230);
        EXPECT_LE(out.at<std::uint8_t>(10, 30), 110);
    }
    // Mid grey print comes out darker than it was.
    EXPECT_LT(Scan::Darkened(line).at<std::uint8_t>(10, 30), 80);
    EXPECT_TRUE(Scan::Darkened(cv::Mat()).empty());
}

TEST(NomerLine, DeblurringOpensAGapTheBlurFilled)
{
    // Two strokes three pixels apart, as the hollow of an 8, blurred by a
    // lens until the hollow is barely lighter than the strokes.
    cv::Mat sharp(40, 60, CV_8U, cv::Scalar(240));
    sharp(cv::Rect(20, 8, 5, 24)).setTo(40);
    sharp(cv::Rect(28, 8, 5, 24)).setTo(40);
    cv::Mat blurred;
    cv::GaussianBlur(sharp, blurred, cv::Size(), 3.0);
    const cv::Mat out = Scan::Deblurred(blurred, 3.0, 10);
    ASSERT_EQ(out.size(), blurred.size());
    const auto depth = [](const cv::Mat &m) {
        // How much lighter the hollow is than the strokes beside it.
        return int(m.at<std::uint8_t>(20, 26)) -
               std::max(m.at<std::uint8_t>(20, 22), m.at<std::uint8_t>(20, 30));
    };
    EXPECT_GE(depth(out), 2 * depth(blurred) + 20);
    // Paper stays paper and the strokes stay dark.
    EXPECT_GE(out.at<std::uint8_t>(3, 3), 230);
    EXPECT_LE(out.at<std::uint8_t>(20, 22), blurred.at<std::uint8_t>(20, 22));
    EXPECT_TRUE(Scan::Deblurred(cv::Mat(), 3.0, 10).empty());
}

} // namespace
