// The headless checker: a replay of a saved draw against a ticket file, its
// report as JSON and as text, and the program's exit statuses.
#include "core/GameEngine.h"
#include "io/BiletFile.h"
#include "io/TiragFile.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingView.h"
#include "support/TicketFactory.h"
#include "tools/CheckCommand.h"
#include "tools/Checker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

using TestSupport::BiletFromRows;
using Entries = std::vector<qint32>;

// Four tickets of one set. A and B share no number; C and D are built around
// the two numbers the main draw never calls, 37 and 84: C carries both on its
// second field, D one on each field, B carries 84.
std::vector<BILETCls> Bilety()
{
    return {
        BiletFromRows({{{3, 15, 27, 48, 61},
                        {7, 19, 33, 56, 80},
                        {9, 24, 38, 64, 77},
                        {1, 16, 40, 59, 83},
                        {4, 22, 45, 68, 71},
                        {11, 29, 51, 73, 86}}},
                      QStringLiteral("017301")),
        BiletFromRows({{{2, 14, 35, 50, 66},
                        {6, 20, 42, 57, 85},
                        {17, 28, 44, 62, 79},
                        {5, 26, 36, 53, 84},
                        {10, 31, 47, 69, 87},
                        {8, 21, 39, 60, 75}}},
                      QStringLiteral("017302")),
        BiletFromRows({{{12, 23, 30, 41, 81},
                        {13, 25, 52, 70, 82},
                        {18, 32, 63, 72, 88},
                        {37, 43, 54, 74, 84},
                        {46, 55, 65, 76, 89},
                        {34, 49, 58, 67, 78}}},
                      QStringLiteral("017303")),
        BiletFromRows({{{1, 16, 37, 59, 83},
                        {4, 22, 45, 68, 71},
                        {11, 29, 51, 73, 86},
                        {5, 26, 36, 53, 84},
                        {10, 31, 47, 69, 87},
                        {46, 55, 65, 76, 89}}},
                      QStringLiteral("017304")),
    };
}

// The main draw, as a game recorded in check mode with these tickets.
// Tour 1: A's first row fills up on 61 (48 makes it one short, waiting for 61).
const Entries kTur1{3, 15, 5, 27, 90, 48, 12, 61};
// Tour 2: B's first field fills up on 35 (79 makes it one short, waiting for 35).
const Entries kTur2{2, 14, 50, 66, 6, 1, 20, 42, 57, 85, 17, 28, 7, 44, 62, 79, 35};
// Tour 3: every other number but 37 and 84, ascending. A is complete on 86, B is
// one short on 87 (waiting for 84).
const Entries kTur3a{4, 8, 9, 10};
const Entries kTur3b{11, 13, 16, 18, 19, 21, 22, 23, 24, 25, 26, 29, 30, 31, 32, 33, 34, 36, 38, 39,
                     40, 41, 43, 45, 46, 47, 49, 51, 52, 53, 54, 55, 56, 58, 59, 60, 63, 64, 65, 67,
                     68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 80, 81, 82, 83, 86, 87, 88, 89};

Entries Joined(std::initializer_list<Entries> parts)
{
    Entries all;
    for (const Entries &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// After the tours: a prize for ticket D (index 3), then the end of the game.
Entries MainDraw()
{
    return Joined({kTur1, {91}, kTur2, {91}, kTur3a, kTur3b, {94, 3, 93}});
}

std::string Compact(const QJsonValue &v)
{
    if (v.isArray())
        return QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact).toStdString();
    if (v.isObject())
        return QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact).toStdString();
    return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString();
}

QJsonArray Ints(const Entries &values)
{
    QJsonArray a;
    for (qint32 v : values)
        a.append(v);
    return a;
}

QJsonObject Winner(const QString &line, int ticket, const QString &number)
{
    return {{QStringLiteral("line"), line},
            {QStringLiteral("ticket"), ticket},
            {QStringLiteral("number"), number}};
}

QJsonObject Joy(const QString &text)
{
    return {{QStringLiteral("title"), QStringLiteral("Радостная весть!")}, {QStringLiteral("text"), text}};
}

QJsonObject Awaited(int ticket, int number)
{
    return {{QStringLiteral("ticket"), ticket}, {QStringLiteral("number"), number}};
}

// The undrawn-numbers caption for a game in which exactly the given numbers were drawn.
QString UndrawnExcept(const Entries &drawn)
{
    QStringList parts;
    for (int n = 1; n <= 90; ++n)
        if (std::find(drawn.begin(), drawn.end(), n) == drawn.end())
            parts << QStringLiteral(" %1").arg(n);
    return parts.join(QLatin1Char(','));
}

class Checker : public ::testing::Test
{
protected:
    // A file of the temporary folder (inside a subfolder, so paths carry folders).
    QString Path(const QString &name) const
    {
        return QDir(dir_.path()).filePath(QStringLiteral("Билеты/") + name);
    }

    QString Write(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QDir(dir_.path()).filePath(QStringLiteral("Билеты")));
        const QString path = Path(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(f.write(bytes), bytes.size());
        return path;
    }
    QString WriteBilety(const QString &name, const std::vector<BILETCls> &bilety = Bilety())
    {
        return Write(name, BiletFile::Encode(QStringLiteral("Тираж1234"), bilety, qint32(bilety.size())));
    }
    QString WriteTirag(const QString &name, const Entries &entries,
                       const QString &title = QStringLiteral("Тираж1234"))
    {
        return Write(name, TiragFile::Encode(title, Tirag(entries)));
    }

    static Check::Report Report(const QString &bilety, const QString &tirag)
    {
        auto result = Check::Run(bilety, tirag);
        if (const auto *failure = std::get_if<Check::Failure>(&result)) {
            ADD_FAILURE() << failure->message.toStdString();
            return {};
        }
        return std::get<Check::Report>(std::move(result));
    }

    // The report as the --json output gives it back to a reader.
    static QJsonObject Json(const QString &bilety, const QString &tirag)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(Check::ToJson(Report(bilety, tirag)), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        EXPECT_TRUE(doc.isObject());
        return doc.object();
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
};

} // namespace

TEST_F(Checker, MainDrawWinnersJackpotPrizeAndFinalListWorkedOutByHand)
{
    const QString bilety = WriteBilety(QStringLiteral("Тираж1234.rlb"));
    const QString tirag = WriteTirag(QStringLiteral("Тираж1234.rlt"), MainDraw(), QStringLiteral("ИМИТАТОР"));
    const QJsonObject json = Json(bilety, tirag);

    // Every key, and in the text in this order.
    const QByteArray text = Check::ToJson(Report(bilety, tirag));
    qsizetype at = 0;
    for (const char *key : {"game", "draw", "moves", "tour", "winners", "messages", "undrawn", "sequence",
                            "counts", "leaders", "awaited"}) {
        const qsizetype next = text.indexOf(QByteArray("\n  \"") + key + "\": ");
        EXPECT_GT(next, at) << key;
        at = next;
    }
    EXPECT_EQ(json.size(), 11);
    EXPECT_EQ(json[QStringLiteral("game")].toString(), QStringLiteral("Русское лото - Тираж1234"));
    EXPECT_EQ(json[QStringLiteral("draw")].toString(), QStringLiteral("ИМИТАТОР"));
    // 8 + 17 + 63 numbers; 37 and 84 never came.
    EXPECT_EQ(Compact(json[QStringLiteral("moves")]), "[88]");
    EXPECT_EQ(Compact(json[QStringLiteral("tour")]), "[3]");
    EXPECT_EQ(json[QStringLiteral("undrawn")].toString(), QStringLiteral(" 37, 84"));

    // A's row in tour 1, B's field in tour 2, A's whole ticket in tour 3 (no
    // further tour), the replayed prize for D, then the jackpot: C lacks 37 and
    // 84, two numbers with two undrawn, and its first field is covered. D also
    // lacks exactly those two but one on each field, so it gets no jackpot.
    const QJsonArray winners{
        Winner(QStringLiteral("(номер 61)  017301"), 0, QStringLiteral("017301")),
        Winner(QStringLiteral("(номер 35)  017302"), 1, QStringLiteral("017302")),
        Winner(QStringLiteral("(номер 86)  017301"), 0, QStringLiteral("017301")),
        Winner(QStringLiteral("(Приз!!!) 017304"), 3, QStringLiteral("017304")),
        Winner(QStringLiteral("(КУБЫШКА)  017303"), 2, QStringLiteral("017303")),
    };
    EXPECT_EQ(Compact(json[QStringLiteral("winners")]), Compact(winners));

    const QJsonArray messages{
        Joy(QStringLiteral("Количество выигравших билетов: 1")),
        Joy(QStringLiteral("Количество выигравших билетов: 1")),
        Joy(QStringLiteral("Количество выигравших билетов: 1")),
        Joy(QStringLiteral("Билет номер 017304 выиграл приз!!!")),
        Joy(QStringLiteral("Билет номер 017303 выиграл КУБЫШКУ!!!")),
    };
    EXPECT_EQ(Compact(json[QStringLiteral("messages")]), Compact(messages));

    // Each win changed the tour itself, so the recorded tour changes right after
    // the wins are not counted twice, and the stray one in tour 3 leaves no trace.
    // The prize is recorded again, and the end marker closes the draw.
    EXPECT_EQ(Compact(json[QStringLiteral("sequence")]),
              Compact(Ints(Joined({kTur1, {91}, kTur2, {91}, kTur3a, kTur3b, {94, 3, 93}}))));

    // Tour 3 counts every covered number: A all 30, B all but 84, C and D all
    // but 37 and 84. A alone reached the highest count; only B still waits.
    EXPECT_EQ(Compact(json[QStringLiteral("counts")]), "[30,29,28,28]");
    EXPECT_EQ(Compact(json[QStringLiteral("leaders")]), "[0]");
    EXPECT_EQ(Compact(json[QStringLiteral("awaited")]), Compact(QJsonArray{Awaited(1, 84)}));
}

TEST_F(Checker, RecordedTourChangeWithoutWinMovesOnClearsAwaitedAndRanksLeadersAgain)
{
    const QString bilety = WriteBilety(QStringLiteral("Тираж1234.rlb"));

    // Tour 1 alone: A's first row is one short after 48, waiting for 61. B and D
    // share the row 5 26 36 and stand at 3.
    const Entries tur1{3, 15, 27, 48, 5, 26, 36};
    QJsonObject json = Json(bilety, WriteTirag(QStringLiteral("a.rlt"), Joined({tur1, {93}})));
    EXPECT_EQ(Compact(json[QStringLiteral("tour")]), "[1]");
    EXPECT_EQ(Compact(json[QStringLiteral("counts")]), "[4,3,0,3]");
    EXPECT_EQ(Compact(json[QStringLiteral("leaders")]), "[0]");
    EXPECT_EQ(Compact(json[QStringLiteral("awaited")]), Compact(QJsonArray{Awaited(0, 61)}));
    EXPECT_EQ(Compact(json[QStringLiteral("winners")]), "[]");
    EXPECT_EQ(Compact(json[QStringLiteral("messages")]), "[]");

    // The recording changes the tour with nobody winning: the fields now count
    // (A 4 on its first, B and D 3 on their second), the wait for 61 is over.
    // 53 brings B and D to 4 on their second field, level with A.
    json = Json(bilety, WriteTirag(QStringLiteral("b.rlt"), Joined({tur1, {91, 53, 93}})));
    EXPECT_EQ(Compact(json[QStringLiteral("tour")]), "[2]");
    EXPECT_EQ(Compact(json[QStringLiteral("moves")]), "[8]");
    EXPECT_EQ(Compact(json[QStringLiteral("counts")]), "[4,4,0,4]");
    EXPECT_EQ(Compact(json[QStringLiteral("leaders")]), "[0,1,3]");
    EXPECT_EQ(Compact(json[QStringLiteral("awaited")]), "[]");
    EXPECT_EQ(Compact(json[QStringLiteral("sequence")]), "[3,15,27,48,5,26,36,91,53,93]");
    EXPECT_EQ(json[QStringLiteral("undrawn")].toString(), UndrawnExcept({3, 15, 27, 48, 5, 26, 36, 53}));
    EXPECT_EQ(Compact(json[QStringLiteral("winners")]), "[]");
}

TEST_F(Checker, DrawEndingWithPrizeInsteadOfEndMarkerIsPlayedToItsLastEntry)
{
    // A prize given after the game ended took the end marker's place.
    const QJsonObject json = Json(WriteBilety(QStringLiteral("Тираж1234.rlb")),
                                  WriteTirag(QStringLiteral("a.rlt"), {3, 15, 27, 48, 94, 2}));
    EXPECT_EQ(Compact(json[QStringLiteral("winners")]),
              Compact(QJsonArray{Winner(QStringLiteral("(Приз!!!) 017303"), 2, QStringLiteral("017303"))}));
    EXPECT_EQ(Compact(json[QStringLiteral("messages")]),
              Compact(QJsonArray{Joy(QStringLiteral("Билет номер 017303 выиграл приз!!!"))}));
    EXPECT_EQ(Compact(json[QStringLiteral("sequence")]), "[3,15,27,48,94,2,93]");
    EXPECT_EQ(json[QStringLiteral("undrawn")].toString(), UndrawnExcept({3, 15, 27, 48}));
}

TEST_F(Checker, KindComesFromTheTicketFileNameAndOnlyRusLotoHasAJackpot)
{
    const QString tirag = WriteTirag(QStringLiteral("Тираж1234.gkt"), MainDraw());

    // The same tickets under a "Золотой ключ" name: everything but the jackpot.
    QJsonObject json = Json(WriteBilety(QStringLiteral("Тираж1234.gkb")), tirag);
    EXPECT_EQ(json[QStringLiteral("game")].toString(), QStringLiteral("Золотой ключ - Тираж1234"));
    const QJsonArray winners = json[QStringLiteral("winners")].toArray();
    ASSERT_EQ(winners.size(), 4);
    EXPECT_EQ(winners[3].toObject()[QStringLiteral("line")].toString(), QStringLiteral("(Приз!!!) 017304"));
    const QJsonArray messages = json[QStringLiteral("messages")].toArray();
    ASSERT_EQ(messages.size(), 4);
    EXPECT_EQ(messages[3].toObject()[QStringLiteral("text")].toString(),
              QStringLiteral("Билет номер 017304 выиграл приз!!!"));
    EXPECT_EQ(Compact(json[QStringLiteral("sequence")].toArray().last()), "[93]");

    // Upper-case RLB is "Русское лото" all the same.
    json = Json(WriteBilety(QStringLiteral("ТИРАЖ.RLB")), tirag);
    EXPECT_EQ(json[QStringLiteral("game")].toString(), QStringLiteral("Русское лото - Тираж1234"));
    EXPECT_EQ(json[QStringLiteral("winners")].toArray().last().toObject()[QStringLiteral("line")].toString(),
              QStringLiteral("(КУБЫШКА)  017303"));
}

TEST_F(Checker, TitlesAndTicketNumbersComeThroughTheJsonUnchanged)
{
    // Whatever the user typed: quotes, backslashes, a tab, a control character.
    std::vector<BILETCls> bilety = Bilety();
    const QString odd = QStringLiteral("№ \"7\"\\a\tb\x01Ё");
    bilety[1].Nomer = odd;
    const QString title = QStringLiteral("Тираж \"12\\34\"");
    const QString path = Write(QStringLiteral("a.gkb"), BiletFile::Encode(title, bilety, 4));

    const QJsonObject json = Json(path, WriteTirag(QStringLiteral("a.rlt"), {94, 1, 93}));
    EXPECT_EQ(json[QStringLiteral("game")].toString(), QStringLiteral("Золотой ключ - ") + title);
    const QJsonObject winner = json[QStringLiteral("winners")].toArray().first().toObject();
    EXPECT_EQ(winner[QStringLiteral("number")].toString(), odd);
    EXPECT_EQ(winner[QStringLiteral("line")].toString(), QStringLiteral("(Приз!!!) ") + odd);
    EXPECT_EQ(
        json[QStringLiteral("messages")].toArray().first().toObject()[QStringLiteral("text")].toString(),
        QStringLiteral("Билет номер ") + odd + QStringLiteral(" выиграл приз!!!"));
}

TEST_F(Checker, LongReportWrittenInPiecesArrivesWholeAndInOrder)
{
    // Ten thousand prizes, one after another: several megabytes of output.
    Entries draw;
    for (qint32 k = 0; k < 10000; ++k)
        draw.insert(draw.end(), {94, k % 4});
    draw.push_back(93);
    const Check::Report report =
        Report(WriteBilety(QStringLiteral("a.rlb")), WriteTirag(QStringLiteral("a.rlt"), draw));

    QList<QByteArray> pieces;
    Check::WriteJson(report, [&pieces](QByteArrayView piece) { pieces << piece.toByteArray(); });
    EXPECT_GT(pieces.size(), 1);
    const QByteArray whole = pieces.join();
    EXPECT_EQ(whole, Check::ToJson(report));

    const QJsonObject json = QJsonDocument::fromJson(whole).object();
    const QJsonArray winners = json[QStringLiteral("winners")].toArray();
    ASSERT_EQ(winners.size(), 10000);
    for (qsizetype k : {qsizetype(0), qsizetype(4321), qsizetype(9999)})
        EXPECT_EQ(winners[k].toObject()[QStringLiteral("ticket")].toInt(), k % 4) << k;
    EXPECT_EQ(json[QStringLiteral("messages")].toArray().size(), 10000);
    EXPECT_EQ(json[QStringLiteral("sequence")].toArray().size(), 20001);
    EXPECT_EQ(json[QStringLiteral("undrawn")].toString(), UndrawnExcept({}));
}

TEST_F(Checker, TextOutputListsTheMessagesThenTheWinners)
{
    const QString bilety = WriteBilety(QStringLiteral("Тираж1234.rlb"));
    const QString tirag = WriteTirag(QStringLiteral("Тираж1234.rlt"), MainDraw());
    QByteArray out;
    QByteArray err;
    ASSERT_EQ(Main({bilety, tirag}, out, err), Check::kExitOk) << err.toStdString();
    EXPECT_EQ(QString::fromUtf8(out),
              QStringLiteral("Радостная весть!: Количество выигравших билетов: 1\n"
                             "Радостная весть!: Количество выигравших билетов: 1\n"
                             "Радостная весть!: Количество выигравших билетов: 1\n"
                             "Радостная весть!: Билет номер 017304 выиграл приз!!!\n"
                             "Радостная весть!: Билет номер 017303 выиграл КУБЫШКУ!!!\n"
                             "\n"
                             "(номер 61)  017301\n"
                             "(номер 35)  017302\n"
                             "(номер 86)  017301\n"
                             "(Приз!!!) 017304\n"
                             "(КУБЫШКА)  017303\n"));
    EXPECT_TRUE(err.isEmpty());

    // --json may stand anywhere; the report is the same as the runner's.
    ASSERT_EQ(Main({bilety, tirag, QStringLiteral("--json")}, out, err), Check::kExitOk);
    EXPECT_EQ(out, Check::ToJson(Report(bilety, tirag)));

    // A draw in which nobody wins prints nothing at all.
    ASSERT_EQ(Main({bilety, WriteTirag(QStringLiteral("a.rlt"), {90, 93})}, out, err), Check::kExitOk);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
}

TEST_F(Checker, FilesThatCannotBeOpenedOrReadExitWithOneAndTheProgramsMessage)
{
    const QString bilety = WriteBilety(QStringLiteral("Тираж1234.rlb"));
    const QString tirag = WriteTirag(QStringLiteral("Тираж1234.rlt"), MainDraw());
    QByteArray out;
    QByteArray err;
    const auto expectFailure = [&](const QStringList &args, const QString &message) {
        EXPECT_EQ(Main(args, out, err), Check::kExitFile) << args.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(err), message + QLatin1Char('\n'));
        EXPECT_TRUE(out.isEmpty());
    };

    expectFailure({Path(QStringLiteral("нет.rlb")), tirag},
                  Path(QStringLiteral("нет.rlb")) + ": Файл не найден.");
    expectFailure({bilety, Path(QStringLiteral("нет.rlt"))},
                  Path(QStringLiteral("нет.rlt")) + ": Файл не найден.");
    // A folder exists but is no file to read; nor are a device that never ends
    // and a pipe that nobody writes to, which must not be waited for.
    expectFailure({dir_.path(), tirag}, dir_.path() + ": Файл открыть не возможно.");
    expectFailure({QStringLiteral("/dev/zero"), tirag},
                  QStringLiteral("/dev/zero: Файл открыть не возможно."));
    const QString pipe = Path(QStringLiteral("труба.rlt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    expectFailure({bilety, pipe}, pipe + ": Файл открыть не возможно.");

    // Line 5 is the second number of the first ticket.
    QByteArray damaged = BiletFile::Encode(QStringLiteral("Тираж1234"), Bilety(), 4);
    damaged.replace("\r\n15\r\n", "\r\n95\r\n");
    const QString badBilety = Write(QStringLiteral("плохой.rlb"), damaged);
    expectFailure(
        {badBilety, tirag},
        QStringLiteral("Файл «%1» повреждён: строка 5, ожидалось число от 1 до 90.").arg(badBilety));

    // A ticket with 3 twice (line 5, second number of the first ticket), and
    // a count on line 2 that leaves the last ticket out (its number text, line 96).
    damaged = BiletFile::Encode(QStringLiteral("Тираж1234"), Bilety(), 4);
    expectFailure(
        {Write(QStringLiteral("дважды.rlb"), QByteArray(damaged).replace("\r\n15\r\n", "\r\n3\r\n")), tirag},
        QStringLiteral("Файл «%1» повреждён: строка 5, число 3 уже есть на билете.")
            .arg(Path(QStringLiteral("дважды.rlb"))));
    expectFailure(
        {Write(QStringLiteral("счёт.rlb"), QByteArray(damaged).replace("\r\n 3\r\n", "\r\n 2\r\n")), tirag},
        QStringLiteral("Файл «%1» повреждён: строка 96, билетов больше, чем сказано в строке 2 (3).")
            .arg(Path(QStringLiteral("счёт.rlb"))));
    const QString twiceTirag = Write(QStringLiteral("дважды.rlt"), QByteArray("T\r\n 3, 5\r\n 91, 5\r\n"));
    expectFailure({bilety, twiceTirag},
                  QStringLiteral("Файл «%1» повреждён: строка 3, число 5 уже выпало.").arg(twiceTirag));

    const QString badTirag = Write(QStringLiteral("плохой.rlt"), QByteArray("T\r\n 3, x, 5\r\n"));
    expectFailure({bilety, badTirag},
                  QStringLiteral("Файл «%1» повреждён: строка 2, ожидалось целое число.").arg(badTirag));
    const QString emptyTirag = Write(QStringLiteral("пустой.rlt"), QByteArray());
    expectFailure({bilety, emptyTirag},
                  QStringLiteral("Файл «%1» повреждён: строка 1, файл пуст.").arg(emptyTirag));
}

TEST_F(Checker, WrongUsageExitsWithTwoAndAUsageLine)
{
    const QString bilety = WriteBilety(QStringLiteral("Тираж1234.rlb"));
    const QString tirag = WriteTirag(QStringLiteral("Тираж1234.rlt"), MainDraw());
    const QString usage =
        QStringLiteral("Использование: zhrebikon-check [--json] ФАЙЛ_БИЛЕТОВ ФАЙЛ_ТИРАЖА\n");
    QByteArray out;
    QByteArray err;
    const QList<QStringList> wrong{
        {},
        {bilety},
        {QStringLiteral("--json"), bilety},
        {bilety, tirag, tirag},
        {QStringLiteral("--xml"), bilety, tirag},
        {bilety, tirag, QStringLiteral("-j")},
    };
    for (const QStringList &args : wrong) {
        EXPECT_EQ(Main(args, out, err), Check::kExitUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(err).endsWith(usage)) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }

    // Asked for, the usage goes to standard output and is no error.
    EXPECT_EQ(Main({QStringLiteral("--help")}, out, err), Check::kExitOk);
    EXPECT_TRUE(QString::fromUtf8(out).startsWith(usage));
    // The help explains the report and the exit statuses.
    for (const char *word :
         {"--json", "Коды выхода: 0", "1 — файл не прочитан", "2 — программа вызвана неверно"})
        EXPECT_TRUE(QString::fromUtf8(out).contains(QString::fromUtf8(word))) << word;
    EXPECT_TRUE(err.isEmpty());
    EXPECT_EQ(Main({QStringLiteral("--version")}, out, err), Check::kExitOk);
    EXPECT_EQ(out, QByteArray("zhrebikon-check ") + ZHR_VERSION + "\n");

    // After "--" a name that looks like an option is a file name.
    const QString dashed = WriteBilety(QStringLiteral("-билеты.rlb"));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QFileInfo(dashed).path()));
    EXPECT_EQ(Main({QStringLiteral("--"), QStringLiteral("-билеты.rlb"), tirag}, out, err), Check::kExitOk)
        << err.toStdString();
    QDir::setCurrent(before);
}

TEST_F(Checker, TheBuiltProgramPrintsUtf8JsonAndReportsItsExitStatuses)
{
    const QString bilety = WriteBilety(QStringLiteral("Тираж1234.rlb"));
    const QString tirag = WriteTirag(QStringLiteral("Тираж1234.rlt"), MainDraw());
    const auto run = [](const QStringList &args) {
        QProcess p;
        p.start(QStringLiteral(ZHR_CHECK_EXE), args);
        EXPECT_TRUE(p.waitForFinished(30000)) << p.errorString().toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        return std::tuple{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    };

    auto [code, out, err] = run({QStringLiteral("--json"), bilety, tirag});
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_EQ(out, Check::ToJson(Report(bilety, tirag)));
    EXPECT_TRUE(out.contains("\"(КУБЫШКА)  017303\"")) << "not UTF-8";

    std::tie(code, out, err) = run({Path(QStringLiteral("нет.rlb")), tirag});
    EXPECT_EQ(code, 1);
    EXPECT_EQ(QString::fromUtf8(err),
              Path(QStringLiteral("нет.rlb")) + QStringLiteral(": Файл не найден.\n"));

    std::tie(code, out, err) = run({});
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(err.contains("zhrebikon-check [--json]"));
}

TEST_F(Checker, ReportsStayByteForByteWhatTheyWere)
{
    // Reports kept from the checker as it stood: the shipped example and
    // generated sets with prizes, odd ticket numbers, a foreign title and a draw
    // without its end marker.
    const QDir golden(QStringLiteral(ZHR_GOLDEN_DIR));
    const QDir examples(QStringLiteral(ZHR_EXAMPLES_DIR));
    const std::pair<QString, QString> files[] = {
        {examples.filePath(QStringLiteral("Пример.rlb")), examples.filePath(QStringLiteral("Пример.rlt"))},
        {golden.filePath(QStringLiteral("Тираж501.rlb")), golden.filePath(QStringLiteral("Тираж501.rlt"))},
        {golden.filePath(QStringLiteral("Тираж502.gkb")), golden.filePath(QStringLiteral("Тираж502.gkt"))},
        {golden.filePath(QStringLiteral("Тираж503.rlb")), golden.filePath(QStringLiteral("Тираж503.rlt"))},
    };
    for (const auto &[bilety, tirag] : files) {
        QByteArray out, err;
        EXPECT_EQ(Main({QStringLiteral("--json"), bilety, tirag}, out, err), Check::kExitOk);
        QFile expected(golden.filePath(QFileInfo(bilety).completeBaseName() + QStringLiteral(".json")));
        ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << expected.fileName().toStdString();
        EXPECT_TRUE(out == expected.readAll()) << bilety.toStdString();
    }
}

TEST_F(Checker, PublishedResultPlaysAsTheSameGameTypedWithTourClicks)
{
    // The golden sets' draws, cut into tours where they changed tour, published
    // as a results page shows them; then the same numbers typed into a check
    // game by hand, the tour label clicked where a tour starts and the game has
    // not moved on by itself, and " Конец". --results prints what the checker
    // prints for the draw that typed game saves.
    const QDir golden(QStringLiteral(ZHR_GOLDEN_DIR));
    for (const QString &base : {QStringLiteral("Тираж501.rlb"), QStringLiteral("Тираж503.rlb")}) {
        SCOPED_TRACE(base.toStdString());
        const QString biletPath = golden.filePath(base);
        QFile f(biletPath);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        auto parsed = BiletFile::Parse(f.readAll());
        ASSERT_TRUE(std::holds_alternative<BiletFileData>(parsed));
        BiletFileData set = std::get<BiletFileData>(std::move(parsed));

        QFile draw(golden.filePath(QFileInfo(base).completeBaseName() + QStringLiteral(".rlt")));
        ASSERT_TRUE(draw.open(QIODevice::ReadOnly));
        const TiragFileData recorded = std::get<TiragFileData>(TiragFile::Parse(draw.readAll()));
        std::vector<Entries> tours(1);
        const Entries &entries = recorded.tirag.Entries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const qint32 v = entries[i];
            if (v == 91)
                tours.emplace_back();
            else if (v == 94)
                ++i; // a prize by ticket number is no drawn number
            else if (v >= 1 && v <= 90)
                tours.back().push_back(v);
        }
        QString page = QStringLiteral("Тур | Порядок выпадения чисел | Выигравших билетов | Выигрыш, руб.\n");
        for (std::size_t t = 0; t < tours.size(); ++t) {
            QStringList numbers;
            for (qint32 n : tours[t])
                numbers << QString::number(n);
            page += QStringLiteral("%1 | %2 | 3 | 1 000 000,00\n")
                        .arg(t + 1)
                        .arg(numbers.join(QStringLiteral(", ")));
        }

        ProgramState state;
        TestSupport::RecordingView view;
        view.quiet = true;
        RecordingMessenger typist;
        GameEngine engine(state, view, typist);
        state.TiragTitle = set.TiragTitle;
        state.kind = &Loto::RusLoto();
        state.store.Load(set.Bilety);
        engine.RegimProverka_Click();
        for (std::size_t t = 0; t < tours.size(); ++t) {
            if (t > 0 && engine.TurNomer < std::min<qint32>(qint32(t) + 1, 3)) {
                typist.Script({MsgAnswer::Yes}); // "Перейти в следующий тур?"
                engine.Tur_Click();
            }
            for (qint32 n : tours[t])
                engine.NomerEntered(n);
        }
        typist.Script({MsgAnswer::Yes, MsgAnswer::No}); // "Конец игры?", "Сохранить тираж?"
        engine.Knopka_Click();
        const Entries &typed = state.TiragNomera.Entries();
        ASSERT_EQ(typed.back(), 93);

        QByteArray expected, out, err;
        EXPECT_EQ(Main({QStringLiteral("--json"), biletPath,
                        WriteTirag(QStringLiteral("Тираж.rlt"), typed, set.TiragTitle)},
                       expected, err),
                  Check::kExitOk);
        const QString text = Write(QStringLiteral("результаты.txt"), page.toUtf8());
        EXPECT_EQ(Main({QStringLiteral("--json"), QStringLiteral("--results"), biletPath, text}, out, err),
                  Check::kExitOk)
            << err.toStdString();
        EXPECT_TRUE(out == expected);

        // A page that repeats a number is no draw: exit 1 naming the line.
        page += QStringLiteral("4 | %1 | 0 | 0\n").arg(tours[0][0]);
        Write(QStringLiteral("результаты.txt"), page.toUtf8());
        EXPECT_EQ(Main({QStringLiteral("--results"), biletPath, text}, out, err), Check::kExitFile);
        EXPECT_TRUE(QString::fromUtf8(err).contains(QStringLiteral("строка %1").arg(tours.size() + 2)))
            << err.toStdString();
    }
}

TEST_F(Checker, ADrawOfAnotherNumberIsCheckedWithAWarning)
{
    const QString bilety = WriteBilety(QStringLiteral("Тираж1234.rlb"));
    const struct {
        const char *title;
        bool warned;
    } draws[] = {{"Тираж1500", true}, {"Тираж1234", false}, {"ИМИТАТОР", false}, {"Тираж 1500", false}};
    for (const auto &d : draws) {
        SCOPED_TRACE(d.title);
        const QString tirag = WriteTirag(QStringLiteral("d.rlt"), MainDraw(), QString::fromUtf8(d.title));
        QByteArray out, err;
        ASSERT_EQ(Main({QStringLiteral("--json"), bilety, tirag}, out, err), Check::kExitOk);
        const QString warning =
            QString::fromUtf8(d.title) + QStringLiteral(" не тот, что у билетов (Тираж1234).");
        EXPECT_EQ(QString::fromUtf8(err),
                  d.warned ? QStringLiteral("zhrebikon-check: предупреждение: ") + warning + QLatin1Char('\n')
                           : QString());
        const QJsonObject json = QJsonDocument::fromJson(out).object();
        EXPECT_EQ(json.contains(QStringLiteral("warning")), d.warned);
        EXPECT_EQ(json.value(QStringLiteral("warning")).toString(), d.warned ? warning : QString());
        // Checked all the same.
        EXPECT_EQ(json.value(QStringLiteral("winners")).toArray().size(), 5);
    }
}
