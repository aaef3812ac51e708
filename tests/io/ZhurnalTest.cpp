// The journal's layouts (a check game, tickets being keyed in, the copy of a
// game's tickets) and who may keep a folder's journal.
#include "io/Zhurnal.h"
#include "io/Cp1251.h"
#include "io/ZhurnalFile.h"
#include "support/FileBytes.h"
#include "support/TicketFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using namespace TestSupport;

std::vector<BILETCls> Set(int count)
{
    std::mt19937 rng(7);
    std::vector<BILETCls> set;
    for (int i = 0; i < count; ++i)
        set.push_back(RandomValidBilet(rng, QStringLiteral("0%1").arg(17 + i)));
    return set;
}

void ExpectSameTickets(const std::vector<BILETCls> &read, const std::vector<BILETCls> &written)
{
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t t = 0; t < read.size(); ++t) {
        EXPECT_EQ(read[t].Nomer, written[t].Nomer);
        for (int k = 0; k < 30; ++k)
            EXPECT_EQ(read[t].NomeraList(k), written[t].NomeraList(k));
    }
}

} // namespace

TEST(ZhurnalFile, TicketsBeingKeyedInAndAGamesCopyReadBackWhole)
{
    // Two tickets of a set of three are kept: the third slot is the card in hand.
    const std::vector<BILETCls> set = Set(3);
    for (const QString &file : {QString(), QStringLiteral("Тираж1234.gkb")}) {
        auto parsed = ZhurnalFile::Parse(
            ZhurnalFile::EncodeZagruzka(file, file.isEmpty(), QStringLiteral("Тираж1234"), set, 2));
        ASSERT_TRUE(std::holds_alternative<ZhurnalData>(parsed));
        const ZhurnalData &data = std::get<ZhurnalData>(parsed);
        EXPECT_TRUE(data.zagruzka);
        EXPECT_EQ(data.BiletFile, file);
        EXPECT_EQ(data.IsRusLoto, file.isEmpty());
        EXPECT_EQ(data.bilety.TiragTitle, QStringLiteral("Тираж1234"));
        ExpectSameTickets(data.bilety.Bilety, {set[0], set[1]});
    }
    const QByteArray fingerprint = ZhurnalFile::Fingerprint("tickets");
    auto copy =
        ZhurnalFile::ParseCopy(ZhurnalFile::EncodeCopy(fingerprint, true, QStringLiteral("T"), set, 3));
    ASSERT_TRUE(std::holds_alternative<BiletyCopy>(copy));
    EXPECT_EQ(std::get<BiletyCopy>(copy).fingerprint, fingerprint);
    EXPECT_TRUE(std::get<BiletyCopy>(copy).IsRusLoto);
    ExpectSameTickets(std::get<BiletyCopy>(copy).bilety.Bilety, set);

    // A journal is not a copy, nor the other way round; damage is named by its line.
    EXPECT_TRUE(std::holds_alternative<FileParseError>(
        ZhurnalFile::ParseCopy(ZhurnalFile::EncodeZagruzka({}, true, QStringLiteral("T"), set, 1))));
    EXPECT_TRUE(std::holds_alternative<FileParseError>(
        ZhurnalFile::Parse(ZhurnalFile::EncodeCopy(fingerprint, true, QStringLiteral("T"), set, 1))));
    QByteArray cut = ZhurnalFile::EncodeZagruzka({}, true, QStringLiteral("T"), set, 1);
    cut.chop(40);
    const auto error = ZhurnalFile::Parse(cut);
    ASSERT_TRUE(std::holds_alternative<FileParseError>(error));
    EXPECT_GT(std::get<FileParseError>(error).line, 3);
    QByteArray kind = ZhurnalFile::EncodeZagruzka({}, true, QStringLiteral("T"), set, 1);
    kind.replace("\r\nrlb\r\n", "\r\nxyz\r\n");
    ASSERT_TRUE(std::holds_alternative<FileParseError>(ZhurnalFile::Parse(kind)));
    EXPECT_EQ(std::get<FileParseError>(ZhurnalFile::Parse(kind)).line, 3);
}

TEST(ZhurnalFile, AJournalOfTheVersionBeforeIsStillACheckGame)
{
    const QByteArray old = Cp1251::Encode(QStringLiteral("Жребикон: незавершённая проверка\r\nt.rlb\r\n")) +
                           ZhurnalFile::Fingerprint("x") + Cp1251::Encode(QStringLiteral("\r\nТираж77\r\n")) +
                           " 5, 15, 91, 94, 1\r\n";
    auto parsed = ZhurnalFile::Parse(old);
    ASSERT_TRUE(std::holds_alternative<ZhurnalData>(parsed));
    const ZhurnalData &data = std::get<ZhurnalData>(parsed);
    EXPECT_FALSE(data.zagruzka);
    EXPECT_EQ(data.BiletFile, QStringLiteral("t.rlb"));
    EXPECT_EQ(data.RegimTitle, QStringLiteral("Тираж77"));
    EXPECT_EQ(data.entries, (std::vector<qint32>{5, 15, 91, 94, 1}));
}

TEST(Zhurnal, OneWindowKeepsAFoldersJournalAndTheOthersLeaveItAlone)
{
    QTemporaryDir dir;
    auto first = std::make_unique<Zhurnal>(dir.path());
    ASSERT_TRUE(first->Owned());
    ASSERT_EQ(first->Write("game"), SaveStatus::Saved);
    ASSERT_EQ(first->WriteCopy("tickets"), SaveStatus::Saved);
    {
        Zhurnal second(dir.path());
        EXPECT_FALSE(second.Owned());
        EXPECT_EQ(second.Write("other"), SaveStatus::Failed);
        second.Remove();
        EXPECT_EQ(second.RemoveLeftovers(), 0);
    }
    EXPECT_EQ(ReadBytes(first->Path()), "game");
    EXPECT_EQ(ReadBytes(first->CopyPath()), "tickets");
    // The window that kept it is gone: the journal is free for the next one, and stays for it.
    first.reset();
    Zhurnal next(dir.path());
    EXPECT_TRUE(next.Owned());
    EXPECT_EQ(ReadBytes(next.Path()), "game");
    next.Remove();
    EXPECT_FALSE(QFile::exists(next.Path()));
    EXPECT_FALSE(QFile::exists(next.CopyPath()));
}

TEST(Zhurnal, OnlyTheProgramsOwnLeftoversOfInterruptedSavesGo)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QStringList ours = {
        QStringLiteral("Тираж1.rlb.Ab12cd"),   QStringLiteral("A.GKT.xyzQ99"),
        QStringLiteral("Жребикон.jnl.abcdef"), QStringLiteral("Жребикон.jnb.ABC123"),
        QStringLiteral("Жребикон.ini.q1w2e3"), QStringLiteral(".zhrebikon-probe-aB3dE9")};
    const QStringList others = {QStringLiteral("notes.txt.Ab12cd"), QStringLiteral("Тираж1.rlb.Ab12c"),
                                QStringLiteral("Тираж1.rlb"), QStringLiteral("Тираж1.rlb.Ab12cd7"),
                                QStringLiteral("other.jnl.abcdef")};
    for (const QString &name : ours + others)
        WriteBytes(d.filePath(name), "x");
    // A link of that name is never followed nor removed.
    ASSERT_TRUE(
        QFile::link(d.filePath(QStringLiteral("notes.txt")), d.filePath(QStringLiteral("B.rlb.link12"))));
    Zhurnal zhurnal(dir.path());
    EXPECT_EQ(zhurnal.RemoveLeftovers(), ours.size());
    for (const QString &name : ours)
        EXPECT_FALSE(QFile::exists(d.filePath(name))) << name.toStdString();
    for (const QString &name : others)
        EXPECT_TRUE(QFile::exists(d.filePath(name))) << name.toStdString();
    EXPECT_TRUE(QFileInfo(d.filePath(QStringLiteral("B.rlb.link12"))).isSymLink());
}
