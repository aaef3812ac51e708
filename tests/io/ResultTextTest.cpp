#include "io/ResultText.h"
#include "io/Cp1251.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace
{

// A whole draw of 87 numbers in five tours, as the lottery would publish it.
struct Draw {
    std::vector<std::vector<qint32>> tours;
    Draw()
    {
        std::vector<qint32> all(90);
        std::iota(all.begin(), all.end(), 1);
        std::shuffle(all.begin(), all.end(), std::mt19937(1473));
        const std::vector<std::size_t> sizes = {8, 23, 30, 14, 12};
        std::size_t at = 0;
        for (std::size_t size : sizes) {
            tours.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(at),
                               all.begin() + static_cast<std::ptrdiff_t>(at + size));
            at += size;
        }
    }
    QString Joined(std::size_t tour, const QString &sep) const
    {
        QStringList parts;
        for (qint32 n : tours[tour])
            parts << QString::number(n);
        return parts.join(sep);
    }
};

std::vector<std::vector<qint32>> ToursOf(const PublishedResult &r)
{
    std::vector<std::vector<qint32>> out;
    for (const PublishedTour &t : r.tours)
        out.push_back(t.nomera);
    return out;
}

QString Layout(const Draw &d, int kind)
{
    const QString nbsp = QString(QChar(0x00A0));
    QString text;
    switch (kind) {
    case 0: // a table with "|", prizes with no-break spaces and kopecks
        text = QStringLiteral("Тираж № 1473 от 06.12.2026\n"
                              "Тур | Порядок выпадения чисел | Выигравших билетов | Выигрыш, руб.\n");
        for (std::size_t t = 0; t < d.tours.size(); ++t)
            text += QStringLiteral("%1 | %2 | %3 | 1%41%4000,00\n")
                        .arg(t + 1)
                        .arg(d.Joined(t, QStringLiteral(", ")))
                        .arg(t + 2)
                        .arg(nbsp);
        break;
    case 1: // a table copied with tabs, numbers split by spaces
        text = QStringLiteral("Тур\tПорядок выпадения чисел\tВыигравших билетов\tВыигрыш, руб.\n");
        for (std::size_t t = 0; t < d.tours.size(); ++t)
            text += QStringLiteral("%1\t%2\t%3\t500 000\n")
                        .arg(t + 1)
                        .arg(d.Joined(t, QStringLiteral(" ")))
                        .arg(7);
        break;
    case 2: // lines in the three spellings of a tour
        text =
            QStringLiteral("Результаты 1473 тиража\n1 тур: %1\nТур 2: %2\n3-й тур %3\n4 тур: %4\nТур 5: %5\n")
                .arg(d.Joined(0, QStringLiteral(", ")), d.Joined(1, QStringLiteral(", ")),
                     d.Joined(2, QStringLiteral(", ")), d.Joined(3, QStringLiteral(" ")),
                     d.Joined(4, QStringLiteral(",")));
        break;
    case 3: // everything on one line
        text = QStringLiteral("Тираж 1473 ");
        for (std::size_t t = 0; t < d.tours.size(); ++t)
            text += QStringLiteral("%1 тур %2 ").arg(t + 1).arg(d.Joined(t, QStringLiteral(" ")));
        break;
    case 4: // one number a line, with words after the numbers that are not drawn
        for (std::size_t t = 0; t < d.tours.size(); ++t) {
            text += QStringLiteral("Тур %1\r\n").arg(t + 1);
            for (qint32 n : d.tours[t])
                text += QString::number(n) + QStringLiteral("\r\n");
            text += QStringLiteral("Выиграли 3 билета по 1 000 000 руб.\r\n");
        }
        text += QStringLiteral("Тираж № 1473\r\n");
        break;
    }
    return text;
}

} // namespace

TEST(ResultText, EveryPublishedLayoutReadsAsTheSameDraw)
{
    const Draw draw;
    for (int kind = 0; kind < 5; ++kind) {
        SCOPED_TRACE(kind);
        const QString text = Layout(draw, kind);
        const PublishedResult r = ResultText::Parse(text, QStringLiteral("1473"));
        for (const ResultProblem &p : r.problems)
            ADD_FAILURE() << "line " << p.line << ": " << p.text.toStdString();
        EXPECT_EQ(ToursOf(r), draw.tours);
        EXPECT_EQ(r.Count(), 87);
        EXPECT_TRUE(r.Playable());
        if (kind != 1) {
            EXPECT_EQ(r.tirag, QStringLiteral("1473"));
        }
        // As copied from a page saved in Windows-1251 or UTF-8, the same.
        EXPECT_EQ(ToursOf(ResultText::Parse(ResultText::Decode(Cp1251::Encode(text)))), draw.tours);
        EXPECT_EQ(ToursOf(ResultText::Parse(ResultText::Decode("\xEF\xBB\xBF" + text.toUtf8()))), draw.tours);
    }
}

TEST(ResultText, ProblemsAreNamedWhereTheyStand)
{
    struct Case {
        QString text;
        int line;
        QString marked; // the text the problem marks
        QString says;   // part of the problem's words
    };
    const std::vector<Case> cases = {
        {QStringLiteral("1 тур: 5, 17, 33\n2 тур: 41, 17, 60"), 2, QStringLiteral("17"),
         QStringLiteral("уже было")},
        {QStringLiteral("1 тур: 5, 95, 33"), 1, QStringLiteral("95"), QStringLiteral("от 1 до 90")},
        {QStringLiteral("1 тур: 5, 0, 33"), 1, QStringLiteral("0"), QStringLiteral("от 1 до 90")},
        {QStringLiteral("Тираж № 1500\n1 тур: 5, 6"), 1, QStringLiteral("1500"), QStringLiteral("1473")},
        {QStringLiteral("1 тур: 5, 6\n3 тур: 7, 8"), 2, QStringLiteral("3"),
         QStringLiteral("ожидался тур 2")},
        {QStringLiteral("Тираж 1473\n5 17 33 41"), 2, QStringLiteral("5"), QStringLiteral("к какому туру")},
        {QStringLiteral("1 тур: 5, 6\n2 тур:\n"), 2, QStringLiteral("2"), QStringLiteral("нет чисел")},
        {QStringLiteral("1 | 5, 6 | 2\n2 | 7, 5 | 1"), 2, QStringLiteral("5"), QStringLiteral("уже было")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const PublishedResult r = ResultText::Parse(c.text, QStringLiteral("1473"));
        EXPECT_FALSE(r.Playable());
        ASSERT_EQ(r.problems.size(), 1u);
        const ResultProblem &p = r.problems.front();
        EXPECT_EQ(p.line, c.line);
        EXPECT_EQ(c.text.mid(p.from, p.length), c.marked);
        EXPECT_TRUE(p.text.contains(c.says)) << p.text.toStdString();
    }
    EXPECT_FALSE(ResultText::Parse(QString()).Playable()) << "an empty text is no draw";
    EXPECT_FALSE(ResultText::Parse(QStringLiteral("Выиграли 3 билета")).Playable());
    EXPECT_TRUE(ResultText::Parse(QStringLiteral("Тираж 01473\n1 тур 5"), QStringLiteral("1473")).Playable())
        << "leading zeros name the same draw";
}

TEST(ResultText, SmallTextsReadAsTheUserMeantThem)
{
    // Each text, the tours it gives ("5,6|7": tour 1 then tour 2), the draw it
    // names, and the first problem's words (empty when there is none).
    struct Case {
        const char *text;
        const char *tours;
        const char *tirag;
        const char *problem;
    };
    const Case cases[] = {
        {"1-й тур 5 6\n2-ой тур 7", "5,6|7", "", ""},
        {"1й тур 5\n2-ый тур 6\n3-ий тур 7\n4-го тура 8", "5|6|7|8", "", ""},
        {"1 тур: 5\n6 7\n2 тур 8", "5,6,7|8", "", ""},
        {"Тираж N 1473\n1 тур 5", "5", "1473", ""},
        {"\t1 тур: 5, 6", "5,6", "", ""},
        {"Тираж № 1473 | от 06.12.2026\n1 | 5, 6 | 1", "5,6", "1473", ""},
        {"1 | 5, 6 | 2\nИтого | 7 | 3\n2 тур | 8 | 1", "5,6|8", "", ""},
        {"1 | 5, 6 | 2\nВсего 2 | 7 | 3\n2 тур | 8 | 1", "5,6|8", "", ""}, // a word makes a row no tour
        {"1 туре 5", "5", "", ""},
        {"Выиграли 3 билета\n1 тур 5", "5", "", ""},
        {"1 тур 5 20:30 6", "5,6", "", ""},
        {"Тираж 1473\n1 тур 5\nТираж 01473", "5", "1473", ""},
        {"Тираж 1473\n1 тур 5\nТираж 1500", "5", "1473", "ещё один тираж"},
        {"5 1 тур 6", "6", "", "к какому туру"},
        {"0 тур 5", "5", "", "ожидался тур 1"},
        {"1 тур 5\n2 тур 6\n2 тур 7", "5|6|7", "", "ожидался тур 3"},
        {"1 тур 5 99999999999", "5", "", "от 1 до 90"},
        {"1 тур 5 90 1", "5,90,1", "", ""},
        {"Тур\n1 тур 5", "5", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const PublishedResult r = ResultText::Parse(QString::fromUtf8(c.text));
        QStringList tours;
        for (const PublishedTour &t : r.tours) {
            QStringList numbers;
            for (qint32 n : t.nomera)
                numbers << QString::number(n);
            tours << numbers.join(QLatin1Char(','));
        }
        EXPECT_EQ(tours.join(QLatin1Char('|')), QString::fromUtf8(c.tours));
        EXPECT_EQ(r.tirag, QString::fromUtf8(c.tirag));
        if (*c.problem == '\0') {
            EXPECT_TRUE(r.problems.empty()) << r.problems.front().text.toStdString();
            EXPECT_TRUE(r.Playable());
        } else {
            ASSERT_FALSE(r.problems.empty());
            EXPECT_TRUE(r.problems.front().text.contains(QString::fromUtf8(c.problem)))
                << r.problems.front().text.toStdString();
            EXPECT_FALSE(r.Playable());
        }
    }
}

TEST(ResultText, ASetsDrawNumberTooLongToCountIsComparedAsWritten)
{
    struct Case {
        const char *text;
        const char *setTirag;
        bool problem; // the text names another draw than the set's
    };
    const Case cases[] = {
        {"Тираж 1473\n1 тур 5", "1473", false},
        {"Тираж 1473\n1 тур 5", "", false},
        {"Тираж 1473\n1 тур 5", "99999999999999999999999", true},
        {"Тираж 99999999999999999999999\n1 тур 5", "1473", true},
        // A number past what can be counted is not 0.
        {"Тираж 0\n1 тур 5", "18446744073709551616", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.setTirag);
        const PublishedResult r = ResultText::Parse(QString::fromUtf8(c.text), QString::fromUtf8(c.setTirag));
        ASSERT_EQ(r.tours.size(), 1u);
        EXPECT_EQ(!r.problems.empty(), c.problem);
        if (c.problem) {
            EXPECT_TRUE(r.problems.front().text.contains(QStringLiteral("а билеты на тираж")))
                << r.problems.front().text.toStdString();
        }
    }
}
