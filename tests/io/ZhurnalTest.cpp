// A journal left by the version before, and what saves cut short leave behind.
#include "io/Zhurnal.h"
#include "io/Cp1251.h"
#include "io/ZhurnalFile.h"
#include "support/FileBytes.h"
#include "support/TicketFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace TestSupport;

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
    EXPECT_EQ(data.tirag.Entries(), (std::vector<qint32>{5, 15, 91, 94, 1}));
}

TEST(ZhurnalFile, AJournalOfTicketEntryReadsBackAsTicketEntryWithItsTickets)
{
    std::mt19937 rng(7);
    const std::vector<BILETCls> keyed = {RandomValidBilet(rng, QStringLiteral("017")),
                                         RandomValidBilet(rng, QStringLiteral("018")),
                                         RandomValidBilet(rng, QStringLiteral("не дописан"))};
    for (const Loto::Kind *kind : {&Loto::RusLoto(), &Loto::ZolotoyKlyuch()}) {
        // The third ticket is still on the card: only the stored ones are kept.
        auto parsed = ZhurnalFile::Parse(ZhurnalFile::EncodeZagruzka(QStringLiteral("мои.rlb"), *kind,
                                                                     QStringLiteral("Тираж77"), keyed, 2));
        ASSERT_TRUE(std::holds_alternative<ZhurnalData>(parsed));
        const ZhurnalData &data = std::get<ZhurnalData>(parsed);
        EXPECT_TRUE(data.zagruzka) << "a restored entry goes on keying, it is no check game";
        EXPECT_EQ(data.kind, kind);
        EXPECT_EQ(data.BiletFile, QStringLiteral("мои.rlb"));
        EXPECT_EQ(data.bilety.TiragTitle, QStringLiteral("Тираж77"));
        ASSERT_EQ(data.bilety.Bilety.size(), 2u);
        for (std::size_t t = 0; t < 2; ++t) {
            EXPECT_EQ(data.bilety.Bilety[t].Nomer, keyed[t].Nomer);
            for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
                EXPECT_EQ(data.bilety.Bilety[t].NomeraList(k), keyed[t].NomeraList(k)) << t << " " << k;
        }
    }
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
