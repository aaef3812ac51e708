#include "io/BiletFile.h"
#include "io/Cp1251.h"
#include "support/TicketFactory.h"

#include <QElapsedTimer>
#include <QList>
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <random>

// Counts what operator new hands out on a thread while counting is on, so a
// test can see that a reader does not trust a file's claims with memory.
namespace
{
thread_local bool tCounting = false;
std::atomic<std::size_t> gCountedBytes{0};

void *Allocate(std::size_t size)
{
    if (tCounting)
        gCountedBytes += size;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void *operator new(std::size_t size)
{
    return Allocate(size);
}
void *operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{

using Rows = std::array<std::array<int, 5>, 6>;

// The set of the documented example: draw 1234, one ticket "017".
const Rows kExampleRows = {{{3, 12, 27, 45, 61},
                            {8, 19, 33, 52, 77},
                            {24, 38, 49, 66, 85},
                            {1, 16, 40, 58, 90},
                            {5, 21, 36, 63, 72},
                            {14, 29, 54, 68, 81}}};

// The example's bytes, spelled out by hand rather than by the encoder.
QByteArray ExampleBytes()
{
    QByteArray bytes("\xD2\xE8\xF0\xE0\xE6"
                     "1234\r\n 0\r\n017\r\n");
    for (const auto &row : kExampleRows)
        for (int n : row)
            bytes += QByteArray::number(n) + "\r\n";
    return bytes + "\r\n";
}

BiletFileData Parsed(const QByteArray &bytes)
{
    auto result = BiletFile::Parse(bytes);
    if (auto *e = std::get_if<FileParseError>(&result)) {
        ADD_FAILURE() << "line " << e->line << ": " << e->reason.toStdString();
        return {};
    }
    return std::get<BiletFileData>(std::move(result));
}

FileParseError Refused(const QByteArray &bytes)
{
    auto result = BiletFile::Parse(bytes);
    if (!std::holds_alternative<FileParseError>(result)) {
        ADD_FAILURE() << "accepted: " << bytes.left(80).toHex(' ').constData();
        return {};
    }
    return std::get<FileParseError>(result);
}

std::vector<qint32> NumbersOf(const BILETCls &b)
{
    std::vector<qint32> out;
    for (int k = 0; k < 30; ++k)
        out.push_back(b.NomeraList(k));
    return out;
}

void ExpectSameTickets(const std::vector<BILETCls> &actual, const std::vector<BILETCls> &expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t t = 0; t < actual.size(); ++t) {
        EXPECT_EQ(actual[t].Nomer, expected[t].Nomer) << "ticket " << t;
        EXPECT_EQ(NumbersOf(actual[t]), NumbersOf(expected[t])) << "ticket " << t;
    }
}

std::vector<BILETCls> RandomTickets(std::mt19937 &rng, int count)
{
    std::vector<BILETCls> out;
    for (int t = 0; t < count; ++t)
        out.push_back(TestSupport::RandomValidBilet(rng, QString::number(100000 + t * 37)));
    return out;
}

// A file of count tickets (all 1..90) with the given number lines, for the
// tests that damage one spot of it.
QByteArray Encoded(const std::vector<BILETCls> &tickets, const QString &title = QStringLiteral("Тираж7"))
{
    return BiletFile::Encode(title, tickets, static_cast<qint32>(tickets.size()));
}

// Lines as a text editor numbers them: a last line without LF still counts.
qsizetype LineCount(const QByteArray &bytes)
{
    return bytes.count('\n') + (bytes.isEmpty() || bytes.endsWith('\n') ? 0 : 1);
}

} // namespace

TEST(BiletFile, DocumentedExampleIsWrittenAndReadByteForByte)
{
    const QByteArray expected = ExampleBytes();
    ASSERT_EQ(expected.size(), 138);
    ASSERT_TRUE(
        expected.startsWith(QByteArray::fromHex("D2E8F0E0E631323334 0D0A 2030 0D0A 303137 0D0A 33 0D0A")));

    const std::vector<BILETCls> set{TestSupport::BiletFromRows(kExampleRows, "017")};
    const QByteArray written = BiletFile::Encode(QStringLiteral("Тираж1234"), set, 1);
    EXPECT_EQ(written.toHex(' '), expected.toHex(' '));

    const BiletFileData read = Parsed(expected);
    EXPECT_EQ(read.TiragTitle, QStringLiteral("Тираж1234"));
    ExpectSameTickets(read.Bilety, set);
    EXPECT_EQ(BiletFile::Encode(read.TiragTitle, read.Bilety, 1), expected);
}

TEST(BiletFile, CountLineHoldsTheHighestIndexAfterASignSpace)
{
    std::mt19937 rng(11);
    for (int count : {1, 15, 100}) {
        const std::vector<BILETCls> set = RandomTickets(rng, count);
        const QByteArray bytes = Encoded(set);
        const QList<QByteArray> lines = bytes.split('\n');
        EXPECT_EQ(lines[1], " " + QByteArray::number(count - 1) + "\r") << count;
        EXPECT_EQ(LineCount(bytes), 2 + 31 * count + 1) << count;
        EXPECT_TRUE(bytes.endsWith("\r\n\r\n"));
        ExpectSameTickets(Parsed(bytes).Bilety, set);
    }
}

TEST(BiletFile, WritingThenReadingKeepsTextsExactly)
{
    std::mt19937 rng(5);
    std::vector<BILETCls> set = RandomTickets(rng, 6);
    set[0].Nomer = QStringLiteral("  017  ");
    set[1].Nomer = QStringLiteral("12,34");
    set[2].Nomer = QStringLiteral("\"quoted\" and \"more");
    set[3].Nomer = QStringLiteral("№ 0451-Б ёЁ");
    set[4].Nomer = QStringLiteral(" ");
    set[5].Nomer = QStringLiteral("42");
    const QString title = QStringLiteral("  Тираж «Новогодний», 1234 ");

    const QByteArray bytes = BiletFile::Encode(title, set, 6);
    EXPECT_TRUE(bytes.startsWith(Cp1251::Encode(title) + "\r\n")) << "the title is written in Windows-1251";
    const BiletFileData read = Parsed(bytes);
    EXPECT_EQ(read.TiragTitle, title);
    ExpectSameTickets(read.Bilety, set);
    // And back again: a file the program reads is written out the same.
    EXPECT_EQ(BiletFile::Encode(read.TiragTitle, read.Bilety, 6), bytes);
}

TEST(BiletFile, EncodeWritesOnlyTheCountedTickets)
{
    std::mt19937 rng(3);
    const std::vector<BILETCls> set = RandomTickets(rng, 4);
    // The slot for a ticket being keyed in is not part of the file.
    ExpectSameTickets(Parsed(BiletFile::Encode("T", set, 3)).Bilety, {set[0], set[1], set[2]});
    // A count past the tickets held cannot invent tickets.
    ExpectSameTickets(Parsed(BiletFile::Encode("T", set, 9)).Bilety, set);
    // An empty set writes "-1", which no reader can use, so it does not read back.
    const QByteArray empty = BiletFile::Encode("T", set, 0);
    EXPECT_EQ(empty, QByteArray("T\r\n-1\r\n\r\n"));
    EXPECT_EQ(Refused(empty).line, 2);
}

TEST(BiletFile, ReadsBareLineFeedsAndToleratesSpacesAndTrailingContent)
{
    std::mt19937 rng(17);
    const std::vector<BILETCls> set = RandomTickets(rng, 3);
    const QByteArray crlf = Encoded(set);

    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    ExpectSameTickets(Parsed(lf).Bilety, set);
    lf.chop(2); // no empty last line, and no line end after the last number either
    ExpectSameTickets(Parsed(lf).Bilety, set);

    // Spaces before the count, spaces and tabs around numbers.
    QByteArray loose = crlf;
    loose.replace("\r\n 2\r\n", "\r\n     2 \r\n");
    loose.replace("\r\n" + QByteArray::number(set[1].NomeraList(4)) + "\r\n",
                  "\r\n \t" + QByteArray::number(set[1].NomeraList(4)) + "  \r\n");
    ASSERT_NE(loose, crlf);
    ExpectSameTickets(Parsed(loose).Bilety, set);

    // Blank lines may follow the last ticket; anything else means line 2
    // counts fewer tickets than there are (lines 96 and 97 are empty).
    ExpectSameTickets(Parsed(crlf + "\r\n \r\n\t\r\n").Bilety, set);
    const FileParseError more = Refused(crlf + "\r\njunk\r\n 91\r\n\xff\xfe");
    EXPECT_EQ(more.line, 98);
    EXPECT_EQ(more.reason, QStringLiteral("билетов больше, чем сказано в строке 2 (3)"));
}

TEST(BiletFile, RefusesABadCountOnLineTwo)
{
    struct Case {
        QByteArray bytes;
        int line;
        QString reason;
    };
    const QString range = QStringLiteral("ожидалось число от 0 до 2147483646");
    const Case cases[] = {
        {"", 1, QStringLiteral("файл пуст")},
        {"Тираж", 2, QStringLiteral("файл обрывается перед числом билетов")},
        {"T\r\n", 2, QStringLiteral("файл обрывается перед числом билетов")},
        {"T\r\nabc\r\n", 2, range},
        {"T\r\n\r\n017\r\n", 2, range},
        {"T\r\n 1.5\r\n", 2, range},
        {"T\r\n-2\r\n", 2, range},
        {"T\r\n 2147483647\r\n", 2, range},
        {"T\r\n 99999999999999999999999\r\n", 2, range},
        {"T\r\n-1\r\n\r\n", 2, QStringLiteral("в файле нет ни одного билета")},
    };
    for (const Case &c : cases) {
        const FileParseError e = Refused(c.bytes);
        EXPECT_EQ(e.line, c.line) << c.bytes.constData();
        EXPECT_EQ(e.reason, c.reason) << c.bytes.constData();
    }
}

TEST(BiletFile, RefusesAnythingButOneToNinetyWhereANumberBelongs)
{
    std::mt19937 rng(23);
    const std::vector<BILETCls> set = RandomTickets(rng, 2);
    const QByteArray good = Encoded(set);
    const QList<QByteArray> lines = good.split('\n');
    // Line 3 is the first number text, lines 4..33 its numbers, 34 the next number text.
    for (const int line : {4, 18, 33, 35, 64}) {
        for (const QByteArray bad : {"0", "91", "-5", "abc", "", "1 2", "3.0", "99999999999", "0x1F", "\t"}) {
            QList<QByteArray> damaged = lines;
            damaged[line - 1] = bad + "\r";
            const FileParseError e = Refused(damaged.join('\n'));
            EXPECT_EQ(e.line, line) << bad.constData();
            EXPECT_EQ(e.reason, QStringLiteral("ожидалось число от 1 до 90")) << bad.constData();
        }
    }
    // The number texts themselves may be anything.
    QList<QByteArray> texts = lines;
    texts[2] = "91\r";
    texts[33] = "\r";
    const BiletFileData read = Parsed(texts.join('\n'));
    ASSERT_EQ(read.Bilety.size(), 2u);
    EXPECT_EQ(read.Bilety[0].Nomer, QStringLiteral("91"));
    EXPECT_EQ(read.Bilety[1].Nomer, QString());
    EXPECT_EQ(NumbersOf(read.Bilety[1]), NumbersOf(set[1]));
}

TEST(BiletFile, RefusesAFileShorterThanItsCount)
{
    std::mt19937 rng(29);
    const std::vector<BILETCls> set = RandomTickets(rng, 2);
    QByteArray bytes = Encoded(set);

    // Two tickets present, three announced: the closing empty line 65 passes for
    // the third ticket's number text, and its first number is missing at line 66.
    QByteArray more = bytes;
    more.replace("\r\n 1\r\n", "\r\n 2\r\n");
    FileParseError e = Refused(more);
    EXPECT_EQ(e.line, 66);
    EXPECT_EQ(e.reason, QStringLiteral("файл обрывается на билете 3 из 3"));

    // Cut inside the second ticket after its 10th number (line 44): line 45 is missing.
    const QList<QByteArray> lines = bytes.split('\n');
    e = Refused(lines.mid(0, 44).join('\n') + '\n');
    EXPECT_EQ(e.line, 45);
    EXPECT_EQ(e.reason, QStringLiteral("файл обрывается на билете 2 из 2"));
    // The same cut without the last line end points at the same line.
    EXPECT_EQ(Refused(lines.mid(0, 44).join('\n')).line, 45);
}

TEST(BiletFile, AHugeCountOnATinyFileIsRefusedWithoutReservingForIt)
{
    for (const QByteArray count : {"2000000000", "2147483646", "10000000"}) {
        const QByteArray bytes = "Тираж1\r\n " + count + "\r\n017\r\n5\r\n";
        QElapsedTimer clock;
        clock.start();
        gCountedBytes = 0;
        tCounting = true;
        const auto result = BiletFile::Parse(bytes);
        tCounting = false;
        ASSERT_TRUE(std::holds_alternative<FileParseError>(result));
        EXPECT_EQ(std::get<FileParseError>(result).line, 5);
        EXPECT_LT(gCountedBytes.load(), 64u * 1024u) << count.constData();
        EXPECT_LT(clock.elapsed(), 1000) << count.constData();
    }
}

TEST(BiletFile, DamagedFilesGiveAWholeSetOrAnErrorInsideTheFile)
{
    std::mt19937 rng(20240611);
    std::vector<QByteArray> originals;
    for (int count : {1, 2, 5}) {
        originals.push_back(Encoded(RandomTickets(rng, count), QStringLiteral("Тираж%1").arg(count)));
        QByteArray lf = originals.back();
        originals.push_back(lf.replace("\r\n", "\n"));
    }
    const QByteArray insertable[] = {"", "\r", "0", "7", "91", " 45 ", "abc", "-1", " 3", "Тираж"};

    int accepted = 0;
    int refused = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes = originals[rng() % originals.size()];
        const int damages = 1 + static_cast<int>(rng() % 3);
        for (int d = 0; d < damages && !bytes.isEmpty(); ++d) {
            const qsizetype at = static_cast<qsizetype>(rng() % static_cast<unsigned>(bytes.size()));
            switch (rng() % 5) {
            case 0: // one byte changed
                bytes[at] = static_cast<char>(rng() % 256);
                break;
            case 1: // cut short
                bytes.truncate(at);
                break;
            case 2: { // a line inserted
                const qsizetype lineStart = bytes.lastIndexOf('\n', at) + 1;
                bytes.insert(lineStart, Cp1251::Encode(QString::fromUtf8(insertable[rng() % 10])) + "\r\n");
                break;
            }
            case 3: { // a line deleted
                const qsizetype lineStart = bytes.lastIndexOf('\n', at) + 1;
                const qsizetype lineEnd = bytes.indexOf('\n', at);
                bytes.remove(lineStart, (lineEnd < 0 ? bytes.size() : lineEnd + 1) - lineStart);
                break;
            }
            default: // a digit changed, which keeps the line a number
                if (bytes[at] >= '0' && bytes[at] <= '9')
                    bytes[at] = static_cast<char>('0' + rng() % 10);
                break;
            }
        }

        const auto result = BiletFile::Parse(bytes);
        if (const auto *e = std::get_if<FileParseError>(&result)) {
            ++refused;
            EXPECT_GE(e->line, 1);
            EXPECT_LE(e->line, LineCount(bytes) + 1) << bytes.toHex(' ').constData();
            EXPECT_FALSE(e->reason.isEmpty());
            continue;
        }
        ++accepted;
        const BiletFileData &data = std::get<BiletFileData>(result);
        ASSERT_FALSE(data.Bilety.empty());
        for (const BILETCls &b : data.Bilety)
            for (int k = 0; k < 30; ++k) {
                EXPECT_GE(b.NomeraList(k), 1) << bytes.toHex(' ').constData();
                EXPECT_LE(b.NomeraList(k), 90) << bytes.toHex(' ').constData();
            }
        // A set that was read is a set that can be saved and read again.
        const QByteArray again = BiletFile::Encode(data.TiragTitle, data.Bilety, qint32(data.Bilety.size()));
        ExpectSameTickets(Parsed(again).Bilety, data.Bilety);
    }
    // Both outcomes occur, or the damage above is not exercising the reader.
    EXPECT_GT(accepted, 200);
    EXPECT_GT(refused, 1000);
}

TEST(BiletFile, RefusesTicketsThatBreakThePrintedLayout)
{
    struct Case {
        int row;
        std::array<int, 5> numbers; // in place of that row of the example ticket
        int position;               // of the number at fault
        QString reason;
    };
    const Case cases[] = {
        {0, {7, 7, 7, 7, 7}, 1, QStringLiteral("число 7 уже есть на билете")},
        {1, {3, 19, 33, 52, 77}, 5, QStringLiteral("число 3 уже есть на билете")},
        {5, {14, 29, 54, 68, 90}, 29, QStringLiteral("число 90 уже есть на билете")},
        {0, {3, 12, 17, 45, 61}, 2, QStringLiteral("числа 12 и 17 в одном столбце строки")},
        {3, {1, 16, 40, 82, 90}, 19, QStringLiteral("числа 82 и 90 в одном столбце строки")},
        {0, {12, 3, 27, 45, 61}, 1, QStringLiteral("число 3 стоит в строке после 12")},
    };
    const BILETCls first = TestSupport::BiletFromRows(kExampleRows, "001");
    for (const Case &c : cases) {
        Rows rows = kExampleRows;
        rows[static_cast<std::size_t>(c.row)] = c.numbers;
        const QByteArray bytes = Encoded({first, TestSupport::BiletFromRows(rows, "002")});
        BiletFileData kept;
        const auto result = BiletFile::Parse(bytes, &kept);
        ASSERT_TRUE(std::holds_alternative<FileParseError>(result)) << c.reason.toStdString();
        // Title, count, the first ticket's 31 lines, the second's number text.
        EXPECT_EQ(std::get<FileParseError>(result).line, 35 + c.position);
        EXPECT_EQ(std::get<FileParseError>(result).reason, c.reason);
        // The whole ticket before the damage is still offered.
        ExpectSameTickets(kept.Bilety, {first});
    }
    // A ticket of thirty 5s is no ticket.
    BILETCls fives;
    for (int k = 0; k < 30; ++k)
        fives.NomeraAdd(k, 5);
    EXPECT_EQ(Refused(Encoded({fives})).line, 5);
    // A number longer than the ticket-number box takes.
    EXPECT_EQ(
        Parsed(Encoded({TestSupport::BiletFromRows(kExampleRows, QString(20, QChar(u'Ж')))})).Bilety.size(),
        1u);
    const FileParseError longNomer =
        Refused(Encoded({first, TestSupport::BiletFromRows(kExampleRows, QString(21, QLatin1Char('7')))}));
    EXPECT_EQ(longNomer.line, 34);
    EXPECT_EQ(longNomer.reason, QStringLiteral("номер билета длиннее 20 знаков"));
}

TEST(BiletFile, NoSingleFlippedBitPassesForAnotherSet)
{
    std::mt19937 rng(31);
    const std::vector<BILETCls> set = RandomTickets(rng, 3);
    const QByteArray original = Encoded(set);
    int refused = 0;
    for (qsizetype at = 0; at < original.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray bytes = original;
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << bit));
            const auto result = BiletFile::Parse(bytes);
            if (std::holds_alternative<FileParseError>(result)) {
                ++refused;
                continue;
            }
            // What passes is the same three tickets, each a ticket as printed:
            // a flip may change a number to another that fits, never break the card
            // or lose tickets behind a damaged count.
            const BiletFileData &data = std::get<BiletFileData>(result);
            ASSERT_EQ(data.Bilety.size(), set.size()) << "byte " << at << " bit " << bit;
            for (const BILETCls &b : data.Bilety)
                EXPECT_TRUE(TestSupport::IsPrintedLayout(b)) << "byte " << at << " bit " << bit;
        }
    }
    EXPECT_GT(refused, original.size() * 4);
}

TEST(BiletFile, ATitleOrNumberLineOfJunkIsRefusedBeforeItIsDecoded)
{
    // A file of one huge line costs its own bytes, not a decoded copy of them.
    const QByteArray junkTitle(4 << 20, 'A');
    QByteArray junkNomer = "T\r\n 0\r\n" + QByteArray(4 << 20, '7');
    for (const QByteArray &bytes : {junkTitle, junkNomer}) {
        gCountedBytes = 0;
        tCounting = true;
        const auto result = BiletFile::Parse(bytes);
        tCounting = false;
        ASSERT_TRUE(std::holds_alternative<FileParseError>(result));
        EXPECT_LT(gCountedBytes.load(), 64u * 1024u);
    }
    EXPECT_EQ(Refused(junkTitle).reason, QStringLiteral("строка длиннее 1000 байт"));
    EXPECT_EQ(Refused(junkNomer).line, 3);

    // A title of just the limit is a title; a byte more is not.
    std::mt19937 rng(5);
    const std::vector<BILETCls> one{TestSupport::RandomValidBilet(rng, QStringLiteral("1"))};
    const auto atLimit = BiletFile::Parse(BiletFile::Encode(QString(1000, QLatin1Char('T')), one, 1));
    ASSERT_TRUE(std::holds_alternative<BiletFileData>(atLimit));
    EXPECT_EQ(std::get<BiletFileData>(atLimit).TiragTitle.size(), 1000);
    EXPECT_EQ(Refused(BiletFile::Encode(QString(1001, QLatin1Char('T')), one, 1)).line, 1);
}

TEST(BiletFile, ErrorMessageNamesFileLineAndReason)
{
    EXPECT_EQ(DescribeParseError(QStringLiteral("Тираж1234.rlb"),
                                 {5, QStringLiteral("ожидалось число от 1 до 90")}),
              QStringLiteral("Файл «Тираж1234.rlb» повреждён: строка 5, ожидалось число от 1 до 90."));
    // Placeholders in a file name stay text.
    EXPECT_EQ(DescribeParseError(QStringLiteral("%2%1.gkb"), {12, QStringLiteral("файл пуст")}),
              QStringLiteral("Файл «%2%1.gkb» повреждён: строка 12, файл пуст."));
}
