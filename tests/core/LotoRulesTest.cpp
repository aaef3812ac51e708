#include "core/LotoRules.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace Loto;

TEST(LottoLayout, ColumnBoundaries)
{
    EXPECT_EQ(ColumnOfNomer(9), 0);
    EXPECT_EQ(ColumnOfNomer(10), 1);
    EXPECT_EQ(ColumnOfNomer(89), 8);
    EXPECT_EQ(ColumnOfNomer(90), 8) << "90 shares the last column with the eighties";
    EXPECT_THROW(ColumnOfNomer(0), std::out_of_range);
    EXPECT_THROW(ColumnOfNomer(91), std::out_of_range);
}

TEST(LottoLayout, RowsAndCellsAcrossTheFieldBoundary)
{
    EXPECT_EQ(StrokaOfPosition(14), 2); // last number of field 1
    EXPECT_EQ(StrokaOfPosition(15), 3); // first number of field 2
    EXPECT_EQ(StrokaOfPosition(29), 5);
    EXPECT_THROW(StrokaOfPosition(30), std::out_of_range);
    EXPECT_THROW(StrokaOfPosition(-1), std::out_of_range);

    EXPECT_EQ(KletkaIndex(1, 0), 9);
    EXPECT_EQ(KletkaIndex(5, 8), kKletki - 1);
    EXPECT_THROW(KletkaIndex(6, 0), std::out_of_range);
    EXPECT_THROW(KletkaIndex(0, 9), std::out_of_range);
}

TEST(LottoKind, KindFromFileNameInAnyCase)
{
    const auto IsRusLotoFileName = [](const char *name) {
        return &KindOfBiletFile(QString::fromUtf8(name)) == &RusLoto();
    };
    EXPECT_TRUE(IsRusLotoFileName("Тираж1234.RLB"));
    EXPECT_TRUE(IsRusLotoFileName("a.rLb"));
    EXPECT_TRUE(IsRusLotoFileName("rlb"));
    EXPECT_FALSE(IsRusLotoFileName("Тираж1234.gkb"));
    EXPECT_FALSE(IsRusLotoFileName("rlb.gkb")) << "only the ending counts";
    EXPECT_FALSE(IsRusLotoFileName("lb"));
    EXPECT_FALSE(IsRusLotoFileName(""));
}

TEST(LotoRules, OnlyTicketAndDrawFilesOpenAndTheirKindIsTheirExtensions)
{
    struct Case {
        const char *name;
        bool bilety, tirag, isRusLoto;
    };
    for (const Case c : {Case{"Тираж1234.rlb", true, false, true}, Case{"a.GKB", true, false, false},
                         Case{"x.rlb.rlt", false, true, true}, Case{"Тираж.gkt", false, true, false},
                         Case{".rlt", false, true, true}, Case{"rlb", false, false, false},
                         Case{"a.rlbx", false, false, false}, Case{"a.txt", false, false, false},
                         Case{"", false, false, false}}) {
        const FileKind kind = KindOfFile(QString::fromUtf8(c.name));
        EXPECT_EQ(kind.bilety, c.bilety) << c.name;
        EXPECT_EQ(kind.tirag, c.tirag) << c.name;
        EXPECT_EQ(kind.Opens(), c.bilety || c.tirag) << c.name;
        if (kind.Opens()) {
            EXPECT_EQ(kind.kind, c.isRusLoto ? &RusLoto() : &ZolotoyKlyuch()) << c.name;
        }
    }
}

TEST(LottoKind, TitlesKeepTheDrawNumberAsTyped)
{
    EXPECT_EQ(MakeTiragTitle("007"), QStringLiteral("Тираж007"));
    EXPECT_EQ(MakeGameTitle(RusLoto(), MakeTiragTitle("1234")), QStringLiteral("Русское лото - Тираж1234"));
    EXPECT_EQ(MakeGameTitle(ZolotoyKlyuch(), MakeTiragTitle("12")), QStringLiteral("Золотой ключ - Тираж12"));
}

// Each lottery's files end in their own way, and only "Русское лото" has the jackpot.
TEST(LottoKind, EachLotteryIsDescribedOnce)
{
    const struct {
        const Kind &kind;
        const char *name, *bilety, *tirag;
        bool jackpot;
    } cases[] = {
        {RusLoto(), "Русское лото", ".rlb", ".rlt", true},
        {ZolotoyKlyuch(), "Золотой ключ", ".gkb", ".gkt", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.kind.name, QString::fromUtf8(c.name));
        EXPECT_EQ(c.kind.biletExtension, QLatin1String(c.bilety)) << c.name;
        EXPECT_EQ(c.kind.tiragExtension, QLatin1String(c.tirag)) << c.name;
        EXPECT_EQ(c.kind.jackpot, c.jackpot) << c.name;
        // A file of the kind is taken for one of the kind.
        EXPECT_EQ(&KindOfBiletFile(QStringLiteral("Тираж1") + c.kind.biletExtension), &c.kind) << c.name;
        EXPECT_EQ(KindOfFile(QStringLiteral("Тираж1") + c.kind.tiragExtension).kind, &c.kind) << c.name;
    }
    EXPECT_EQ(Kinds()[0], &RusLoto());
    EXPECT_EQ(Kinds()[1], &ZolotoyKlyuch());
}

TEST(LottoKind, NumberTextReservesTheSignPlace)
{
    EXPECT_EQ(NomerText(7), QStringLiteral(" 7"));
    EXPECT_EQ(NomerText(45), QStringLiteral(" 45"));
    EXPECT_EQ(NomerText(0), QStringLiteral(" 0"));
    EXPECT_EQ(NomerText(-3), QStringLiteral("-3"));
}

TEST(LottoKind, ADrawIsAnotherOnlyWhenBothTitlesNameDifferentNumbers)
{
    const struct {
        const char *bilet;
        const char *tirag;
        bool other;
    } cases[] = {
        {"Тираж1500", "Тираж1234", true},   {"Тираж1500", "Тираж1500", false},
        {"Тираж1500", "Тираж01500", false}, {"Тираж1500", "ИМИТАТОР", false},
        {"Тираж", "Тираж1234", false},      {"Тираж1500", "Тираж12a", false},
        {"", "Тираж1234", false},           {"Тираж0", "Тираж00", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Loto::OtherTirag(QString::fromUtf8(c.bilet), QString::fromUtf8(c.tirag)), c.other)
            << c.bilet << " / " << c.tirag;
}
