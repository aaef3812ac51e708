// The numbers a read line may hold, and the line's print made plain.
#include "scan/NomerLine.h"

#include <QStringList>
#include <gtest/gtest.h>

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
        const char *expected; // digits/least certainty/joined, separated by spaces
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
    };
    for (const Case &c : cases) {
        QStringList got;
        for (const Scan::NumberCandidate &n :
             Scan::NumberCandidates(Line(QString::fromUtf8(c.line)), c.from, c.to))
            got << QStringLiteral("%1/%2/%3").arg(n.digits).arg(n.least).arg(QChar(n.joined ? u'j' : u'-'));
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
        {"— тираж 1234", 7},
        {"Номер билета 704597", -1},
        {"Цена 300 руб.", -1},
        {"ЗОЛОТОЙ КЛЮЧ", -1},
        {"Тариф 12", -1},
        {"", -1},
        {"1234 5678", -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Scan::DrawWordEnd(QString::fromUtf8(c.line)), c.end) << c.line;
}

TEST(NomerLine, StretchingMakesPrintBlackAndPaperWhite)
{
    // Grey print on greyish paper, as in a dim photo.
    cv::Mat line(20, 100, CV_8U, cv::Scalar(180));
    line(cv::Rect(10, 5, 30, 10)).setTo(120);
    const cv::Mat plain = Scan::Stretched(line);
    EXPECT_EQ(plain.at<std::uint8_t>(10, 20), 0);
    EXPECT_EQ(plain.at<std::uint8_t>(2, 80), 255);
    // An even patch is left as it is; an empty one stays empty.
    const cv::Mat even(10, 10, CV_8U, cv::Scalar(200));
    EXPECT_EQ(Scan::Stretched(even).at<std::uint8_t>(5, 5), 200);
    EXPECT_TRUE(Scan::Stretched(cv::Mat()).empty());
}

} // namespace
