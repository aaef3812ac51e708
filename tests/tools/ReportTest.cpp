// The report on a game, as the checker writes it: a CSV table with a row per
// ticket and a PDF for paper with the wins first; a report that cannot be
// written is said and leaves no file.
#include "io/BiletFile.h"
#include "io/ReportCsv.h"
#include "io/TiragFile.h"
#include "report/ReportPaper.h"
#include "support/TicketFactory.h"
#include "tools/CheckCommand.h"
#include "tools/Checker.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using TestSupport::BiletFromRows;

class ReportFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        // Row r of 104549 holds r+1, r+12, r+23, r+34, r+45.
        std::array<std::array<int, 5>, 6> plain{};
        for (int r = 0; r < 6; ++r)
            plain[std::size_t(r)] = {r + 1, r + 12, r + 23, r + 34, r + 45};
        const std::array<std::array<int, 5>, 6> other{{{7, 18, 29, 40, 51},
                                                       {8, 19, 30, 41, 52},
                                                       {9, 20, 31, 42, 53},
                                                       {10, 21, 32, 43, 54},
                                                       {11, 22, 33, 44, 55},
                                                       {2, 13, 60, 70, 80}}};
        const std::vector<BILETCls> bilety{BiletFromRows(plain, QStringLiteral("104549")),
                                           BiletFromRows(other, QStringLiteral("000017"))};
        bilety_ =
            Write(QStringLiteral("Тираж1234.rlb"), BiletFile::Encode(QStringLiteral("Тираж1234"), bilety, 2));
        // Row 2 of 104549 in tour 1, its lower field in tour 2, the end in tour 3.
        tirag_ = Write(
            QStringLiteral("Тираж1234.rlt"),
            TiragFile::Encode(QStringLiteral("Тираж1234"),
                              Tirag(std::vector<qint32>{2, 13, 24, 35, 90, 46, 91, 4,  15, 7,  8,  26, 37, 48,
                                                        5, 16, 27, 38, 49, 6,  17, 28, 39, 50, 91, 93})));
    }

    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }

    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static int Main(const QStringList &args, QByteArray &out, QByteArray &err)
    {
        out.clear();
        err.clear();
        return Check::Main(
            args, [&out](QByteArrayView piece) { out.append(piece); },
            [&err](QByteArrayView piece) { err.append(piece); });
    }

    QTemporaryDir dir_;
    QString bilety_, tirag_;
};

const char kCsv[] =
    "\xEF\xBB\xBF"
    "Билет;Тур 1;Тур 2;Тур 3;Ждёт номер;Выигрыши\r\n"
    "104549;5;15;20;;\"тур 1, строка 2, номером 46 (ход 6); тур 2, поле 2, номером 50 (ход 23)\"\r\n"
    "000017;2;2;4;;\r\n";

TEST_F(ReportFiles, TheCheckerWritesACsvRowPerTicketBesideItsUsualOutput)
{
    QByteArray plainOut, out, err;
    ASSERT_EQ(Main({QStringLiteral("--json"), bilety_, tirag_}, plainOut, err), Check::kExitOk);
    const QString csv = dir_.filePath(QStringLiteral("отчёт.CSV"));
    ASSERT_EQ(Main({QStringLiteral("--json"), QStringLiteral("--report"), csv, bilety_, tirag_}, out, err),
              Check::kExitOk)
        << err.toStdString();
    EXPECT_EQ(out, plainOut);
    EXPECT_EQ(Read(csv), QByteArray(kCsv));

    // A game still on says what each ticket waits for.
    auto result = Check::Run(bilety_, tirag_, true);
    ASSERT_TRUE(std::holds_alternative<Check::Report>(result));
    IgraReport paper = std::get<Check::Report>(result).paper;
    paper.ended = false;
    paper.bilety[1].awaited = 60;
    EXPECT_TRUE(ReportCsv::Write(paper).endsWith("000017;2;2;4;60;\r\n"));
}

TEST_F(ReportFiles, ThePdfIsA4WithTheTitleAndTheWinsBeforeTheTickets)
{
    const QString pdf = dir_.filePath(QStringLiteral("отчёт.pdf"));
    QByteArray out, err;
    ASSERT_EQ(Main({QStringLiteral("--report=") + pdf, bilety_, tirag_}, out, err), Check::kExitOk)
        << err.toStdString();
    const QByteArray bytes = Read(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    // A4 is 595 by 842 points.
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 595.000000 842.000000]"));

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const qsizetype title = text.indexOf(QStringLiteral("Русское лото, тираж № 1234"));
    const qsizetype wins = text.indexOf(QStringLiteral("Выигрыши"));
    const qsizetype tours = text.indexOf(QStringLiteral("Тираж по турам"));
    const qsizetype tickets = text.indexOf(QStringLiteral("Билеты"));
    EXPECT_EQ(title, text.indexOf(QStringLiteral("Русское лото"))) << text.toStdString();
    EXPECT_TRUE(title >= 0 && title < wins && wins < tours && tours < tickets) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("104549 +1 +строка 2 +46 +6"))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("104549 +2 +поле 2 +50 +23"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Тур 1 (6 чисел): 2, 13, 24, 35, 90, 46")));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("000017 +2 +2 +4"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Не выпали (67)")));
}

TEST_F(ReportFiles, AReportThatCannotBeWrittenIsSaidAndLeavesNoFile)
{
    QByteArray out, err;
    const struct {
        QStringList args;
        int code;
        const char *said;
    } cases[] = {
        {{QStringLiteral("--report"), dir_.filePath(QStringLiteral("отчёт.txt")), bilety_, tirag_},
         Check::kExitUsage,
         "файл .pdf или .csv"},
        {{bilety_, tirag_, QStringLiteral("--report")}, Check::kExitUsage, "нужен файл отчёта"},
        {{QStringLiteral("--report"), dir_.filePath(QStringLiteral("нет/отчёт.csv")), bilety_, tirag_},
         Check::kExitFile,
         "сохранить не возможно"},
        {{QStringLiteral("--report"), dir_.filePath(QStringLiteral("нет/отчёт.pdf")), bilety_, tirag_},
         Check::kExitFile,
         "сохранить не возможно"},
        {{QStringLiteral("--report"), dir_.filePath(QStringLiteral("отчёт.csv")), bilety_,
          dir_.filePath(QStringLiteral("нет.rlt"))},
         Check::kExitFile,
         "нет.rlt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(Main(c.args, out, err), c.code);
        EXPECT_TRUE(QString::fromUtf8(err).contains(QString::fromUtf8(c.said))) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    QDir dir(dir_.path());
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("Тираж1234.rlb"), QStringLiteral("Тираж1234.rlt")}));
}

TEST_F(ReportFiles, APublishedResultIsReportedTourByTour)
{
    const QString text =
        Write(QStringLiteral("итоги.txt"),
              QStringLiteral("Тираж № 1234\n1 тур: 2, 13, 24, 35, 90, 46\n2 тур: 4 15 7 8\n").toUtf8());
    const QString csv = dir_.filePath(QStringLiteral("r.csv"));
    QByteArray out, err;
    ASSERT_EQ(Main({QStringLiteral("--report"), csv, QStringLiteral("--results"), bilety_, text}, out, err),
              Check::kExitOk)
        << err.toStdString();
    EXPECT_EQ(Read(csv), QByteArray("\xEF\xBB\xBF"
                                    "Билет;Тур 1;Тур 2;Тур 3;Ждёт номер;Выигрыши\r\n"
                                    "104549;5;5;;;тур 1, строка 2, номером 46 (ход 6)\r\n"
                                    "000017;2;2;;;\r\n"));
}

} // namespace

namespace
{

TEST(ReportPaper, ALongListOfTicketsGoesAsAlignedLinesNotATable)
{
    IgraReport report;
    report.lottery = QStringLiteral("Золотой ключ");
    report.tirag = QStringLiteral("ИМИТАТОР");
    report.ended = true;
    for (const int count : {300, 301}) {
        report.bilety.clear();
        for (int t = 0; t < count; ++t)
            report.bilety.push_back(
                IgraReport::Bilet{QStringLiteral("%1").arg(t, 6, 10, QLatin1Char('0')), {3, 12, t % 31}, 0});
        const QString html = ReportPaper::Html(report);
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>Золотой ключ, тираж ИМИТАТОР</h1>")));
        EXPECT_TRUE(html.contains(QStringLiteral("<p>Выигрышей нет.</p>")));
        if (count == 300) {
            EXPECT_TRUE(
                html.contains(QStringLiteral("<tr><td>000299</td><td>3</td><td>12</td><td>20</td></tr>")));
            EXPECT_FALSE(html.contains(QStringLiteral("<pre")));
        } else {
            EXPECT_FALSE(html.contains(QStringLiteral("<table")));
            EXPECT_TRUE(html.contains(
                QStringLiteral("<b>Билет    Тур 1   Тур 2   Тур 3</b>\n000000   3       12      0\n")));
            EXPECT_TRUE(html.contains(QStringLiteral("\n000300   3       12      21</pre>")));
        }
    }
}

} // namespace
