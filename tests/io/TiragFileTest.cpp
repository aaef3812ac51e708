#include "io/TiragFile.h"
#include "io/Cp1251.h"
#include "io/ZhurnalFile.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <random>

namespace
{

TiragFileData Parsed(const QByteArray &bytes)
{
    auto result = TiragFile::Parse(bytes);
    if (auto *e = std::get_if<FileParseError>(&result)) {
        ADD_FAILURE() << "line " << e->line << ": " << e->reason.toStdString() << " in "
                      << bytes.toHex(' ').constData();
        return {};
    }
    return std::get<TiragFileData>(std::move(result));
}

FileParseError Refused(const QByteArray &bytes)
{
    auto result = TiragFile::Parse(bytes);
    if (!std::holds_alternative<FileParseError>(result)) {
        ADD_FAILURE() << "accepted: " << bytes.toHex(' ').constData();
        return {};
    }
    return std::get<FileParseError>(result);
}

using Entries = std::vector<qint32>;

} // namespace

TEST(TiragFile, DocumentedExampleIsWrittenAndReadByteForByte)
{
    const QByteArray expected =
        QByteArray::fromHex("D2 E8 F0 E0 E6 31 32 33 34 0D 0A 20 32 37 2C 20 35 2C 20 39 30 2C"
                            "20 39 31 2C 20 31 34 2C 20 39 33 0D 0A");
    const Entries draw{27, 5, 90, 91, 14, 93};
    EXPECT_EQ(TiragFile::Encode(QStringLiteral("Тираж1234"), Tirag(draw)).toHex(' '), expected.toHex(' '));

    const TiragFileData read = Parsed(expected);
    EXPECT_EQ(read.RegimTitle, QStringLiteral("Тираж1234"));
    EXPECT_EQ(read.tirag.Entries(), draw);
    EXPECT_EQ(TiragFile::Encode(read.RegimTitle, read.tirag), expected);
}

TEST(TiragFile, EveryEntryAndTheProgramsTitlesReadBack)
{
    const std::pair<QString, Entries> games[] = {
        {QStringLiteral("ИМИТАТОР"), {12, 7, 91, 33, 94, 0, 61, 91, 2, 93}},
        {QStringLiteral("Тираж000017"), {5}},
        {QStringLiteral("Тираж1"), {}},
        // A prize after the end took the end marker's place; ticket indices
        // may look like numbers or markers.
        {QStringLiteral("Тираж1"),
         {5, 91, 94, 5, 94, 91, 94, 93, 94, std::numeric_limits<qint32>::max() - 1}},
    };
    for (const auto &[title, draw] : games) {
        const QByteArray bytes = TiragFile::Encode(title, Tirag(draw));
        EXPECT_EQ(bytes.count("\r\n"), 2) << "title line and entries line";
        const TiragFileData read = Parsed(bytes);
        EXPECT_EQ(read.RegimTitle, title);
        EXPECT_EQ(read.tirag.Entries(), draw) << bytes.constData();
    }
    EXPECT_EQ(TiragFile::Encode("T", Tirag()), QByteArray("T\r\n\r\n"));
    EXPECT_EQ(TiragFile::Encode("T", Tirag({-3, 4})), QByteArray("T\r\n-3, 4\r\n"));
}

TEST(TiragFile, TitleIsTheFirstFieldOfLineOne)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"   Тираж12\r\n 5\r\n", QStringLiteral("Тираж12")},
        {"Тираж12,  99, 98\r\n 5\r\n", QStringLiteral("Тираж12")},
        {"  \"Тираж, особый\" x\r\n 5\r\n", QStringLiteral("Тираж, особый")},
        {"\"без конца, \r\n 5\r\n", QStringLiteral("без конца, ")},
        {"Тираж12  \r\n 5\r\n", QStringLiteral("Тираж12  ")}, // only leading spaces go
        {"\r\n 5\r\n", QString()},
        {",Тираж12\r\n 5\r\n", QString()}, // an empty first field is an empty title
    };
    for (const auto &[utf8, title] : cases) {
        // Line 1 keeps to itself: numbers after the title's comma are no entries.
        const TiragFileData read = Parsed(Cp1251::Encode(QString::fromUtf8(utf8)));
        EXPECT_EQ(read.RegimTitle, title) << utf8.constData();
        EXPECT_EQ(read.tirag.Entries(), Entries{5}) << utf8.constData();
    }
}

TEST(TiragFile, FieldsAreSplitByCommasSpacesAndLineEnds)
{
    EXPECT_EQ(Parsed("T\r\n27,5 90\t91\r\n 14 ,\t93\r\n").tirag.Entries(), (Entries{27, 5, 90, 91, 14, 93}));
    EXPECT_EQ(Parsed("T\n 27, 5\n 90\n").tirag.Entries(), (Entries{27, 5, 90}));
    EXPECT_EQ(Parsed("T\r\n+7, +08, 009").tirag.Entries(), (Entries{7, 8, 9}));
    // Blank lines anywhere add nothing.
    EXPECT_EQ(Parsed("T\r\n\r\n 1, 2\r\n   \r\n\t\r\n 3\r\n\r\n\r\n").tirag.Entries(), (Entries{1, 2, 3}));
    // A title alone is an empty draw, with or without its line end.
    EXPECT_EQ(Parsed("Тираж5").tirag.Entries(), Entries{});
    EXPECT_EQ(Parsed("Тираж5\r\n").tirag.Entries(), Entries{});
    EXPECT_EQ(Parsed("Тираж5\r\n\r\n").tirag.Entries(), Entries{});
}

TEST(TiragFile, RefusesFieldsThatAreNotThirtyTwoBitNumbers)
{
    struct Case {
        QByteArray bytes;
        int line;
        QString reason;
    };
    const QString notNumber = QStringLiteral("ожидалось целое число");
    const QString tooBig = QStringLiteral("слишком большое число");
    const QString comma = QStringLiteral("лишняя запятая");
    const Case cases[] = {
        {"", 1, QStringLiteral("файл пуст")},
        {"T\r\n 27, abc\r\n", 2, notNumber},
        {"T\r\n 27, 5\r\n\r\n 9x\r\n", 4, notNumber},
        {"T\n 1\n 2\n \"3\"\n", 4, notNumber},
        {"T\r\n 1.5\r\n", 2, notNumber},
        {"T\r\n 1, 2\r\n 3-4\r\n", 3, notNumber},
        {"T\r\n 2147483648\r\n", 2, tooBig},
        {"T\r\n 5,-2147483649\r\n", 2, tooBig},
        {"T\r\n 5,99999999999999999999999999\r\n", 2, tooBig},
        {"T\r\n 27,, 5\r\n", 2, comma},
        {"T\r\n 27, 5,\r\n", 2, comma},
        {"T\r\n 1\r\n, 5\r\n", 3, comma},
        {"T\r\n 1\r\n ,\r\n", 3, comma},
    };
    for (const Case &c : cases) {
        const FileParseError e = Refused(c.bytes);
        EXPECT_EQ(e.line, c.line) << c.bytes.constData();
        EXPECT_EQ(e.reason, c.reason) << c.bytes.constData();
    }
}

TEST(TiragFile, RefusesADrawTheProgramCouldNotHaveSaved)
{
    struct Case {
        QByteArray bytes;
        int line;
        QString reason;
    };
    const QString end = QStringLiteral("после отметки конца игры 93 ещё есть числа");
    const QString noIndex = QStringLiteral("после отметки приза 94 нет номера билета");
    const auto notEntry = [](qint64 v) {
        return QStringLiteral("%1 не число от 1 до 90 и не отметка 91, 93 или 94").arg(v);
    };
    const Case cases[] = {
        {"T\r\n 5, 7, 5\r\n", 2, QStringLiteral("число 5 уже выпало")},
        {"T\r\n 5, 7\r\n 91\r\n 7\r\n", 4, QStringLiteral("число 7 уже выпало")},
        {"T\r\n 5, 91, 7, 91\r\n 8, 91\r\n", 3, QStringLiteral("третья смена тура (91), а туров только три")},
        {"T\r\n 5, 93, 7\r\n", 2, end},
        {"T\r\n 5, 93, 94, 0\r\n", 2, end},
        {"T\r\n 5, 94\r\n", 2, noIndex},
        {"T\r\n 5, 94, -1\r\n", 2, QStringLiteral("после отметки приза 94 ожидался номер билета, а не -1")},
        {"T\r\n 0\r\n", 2, notEntry(0)},
        {"T\r\n 1\r\n -1\r\n", 3, notEntry(-1)},
        {"T\r\n 92\r\n", 2, notEntry(92)},
        {"T\r\n 95\r\n", 2, notEntry(95)},
        {"T\r\n-2147483648\r\n", 2, notEntry(-2147483648LL)},
    };
    for (const Case &c : cases) {
        const FileParseError e = Refused(c.bytes);
        EXPECT_EQ(e.line, c.line) << c.bytes.constData();
        EXPECT_EQ(e.reason, c.reason) << c.bytes.constData();
    }
    // Prizes are awarded by hand, one dialog and one message each: ten thousand
    // are plenty, and a file of millions is junk that is refused at once.
    QByteArray prizy = "T\r\n 5";
    for (int i = 0; i < 10000; ++i)
        prizy += ", 94, " + QByteArray::number(i % 7);
    EXPECT_EQ(Parsed(prizy).tirag.Entries().size(), 20001u);
    const FileParseError e = Refused(prizy + "\r\n 94, 0\r\n");
    EXPECT_EQ(e.line, 3);
    EXPECT_EQ(e.reason, QStringLiteral("больше 10000 призов по номеру билета"));
}

TEST(TiragFile, DamagedFilesGiveADrawOrAnErrorInsideTheFile)
{
    std::mt19937 rng(777);
    std::vector<QByteArray> originals;
    for (int length : {0, 1, 12, 90}) {
        Entries draw(90);
        std::iota(draw.begin(), draw.end(), 1);
        std::shuffle(draw.begin(), draw.end(), rng);
        draw.resize(static_cast<std::size_t>(length));
        // Tours change where a game could change them, and a prize goes to ticket 3.
        for (const std::size_t at : {std::size_t(20), std::size_t(6)})
            if (draw.size() > at)
                draw.insert(draw.begin() + static_cast<std::ptrdiff_t>(at), 91);
        if (length > 1)
            draw.insert(draw.end(), {94, 3, 93});
        originals.push_back(TiragFile::Encode(QStringLiteral("Тираж%1").arg(length), Tirag(draw)));
    }

    int accepted = 0;
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = originals[rng() % originals.size()];
        const int damages = 1 + static_cast<int>(rng() % 3);
        for (int d = 0; d < damages && !bytes.isEmpty(); ++d) {
            const qsizetype at = static_cast<qsizetype>(rng() % static_cast<unsigned>(bytes.size()));
            switch (rng() % 4) {
            case 0:
                bytes[at] = static_cast<char>(rng() % 256);
                break;
            case 1:
                bytes.truncate(at);
                break;
            case 2:
                bytes.insert(at, QByteArrayView(",\r\n \t-\"9").sliced(static_cast<qsizetype>(rng() % 8), 1));
                break;
            default:
                bytes.remove(at, 1);
                break;
            }
        }

        const auto result = TiragFile::Parse(bytes);
        if (const auto *e = std::get_if<FileParseError>(&result)) {
            ++refused;
            const qsizetype lines = bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
            EXPECT_GE(e->line, 1);
            EXPECT_LE(e->line, std::max<qsizetype>(lines, 1)) << bytes.toHex(' ').constData();
            continue;
        }
        ++accepted;
        // Whatever was read is written and read again to the same entries.
        const TiragFileData &data = std::get<TiragFileData>(result);
        EXPECT_EQ(Parsed(TiragFile::Encode(data.RegimTitle, data.tirag)).tirag.Entries(),
                  data.tirag.Entries())
            << bytes.toHex(' ').constData();
    }
    EXPECT_GT(accepted, 300);
    EXPECT_GT(refused, 300);
}

TEST(ZhurnalFile, ItsEntriesAreHeldToTheRulesOfADraw)
{
    ZhurnalData data;
    data.BiletFile = QStringLiteral("t.rlb");
    data.fingerprint = ZhurnalFile::Fingerprint("x");
    data.RegimTitle = QStringLiteral("Тираж1");
    data.tirag = Tirag({5, 91, 7});
    EXPECT_EQ(std::get<ZhurnalData>(ZhurnalFile::Parse(ZhurnalFile::Encode(data))).tirag.Entries(),
              data.tirag.Entries());
    // Line 5 holds the entries, after three lines of the journal's own and the title.
    data.tirag = Tirag({5, 91, 7, 5});
    const auto twice = ZhurnalFile::Parse(ZhurnalFile::Encode(data));
    ASSERT_TRUE(std::holds_alternative<FileParseError>(twice));
    EXPECT_EQ(std::get<FileParseError>(twice).line, 5);
    EXPECT_EQ(std::get<FileParseError>(twice).reason, QStringLiteral("число 5 уже выпало"));
}
