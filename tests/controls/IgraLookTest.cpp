// How the game's cells, tour label and button look in the window.
#include "controls/IgraLook.h"
#include "controls/VbColor.h"

#include <gtest/gtest.h>
#include <set>

namespace
{

TEST(IgraLook, EachCellStateHasItsColourAndTheGameItsStates)
{
    const struct {
        Kletka kletka;
        quint32 color;
        bool drawn;
    } cases[] = {
        {Kletka::Free, VbColor::ButtonFace, false},
        {Kletka::OnCard, 16751523, false},
        {Kletka::Tur1, 9803263, true},
        {Kletka::Tur2, 8454143, true},
        {Kletka::Tur3, 8454016, true},
        {Kletka::Awaited, 16689148, false},
    };
    std::set<quint32> gameColors;
    for (const auto &c : cases) {
        EXPECT_EQ(IgraLook::ColorOf(c.kletka), c.color) << int(c.kletka);
        EXPECT_EQ(IsDrawn(c.kletka), c.drawn) << int(c.kletka);
        if (c.kletka != Kletka::Free && c.kletka != Kletka::OnCard)
            gameColors.insert(c.color);
    }
    // Each tour, and an awaited number, can be told apart on the board.
    EXPECT_EQ(gameColors.size(), 4u);
    // A number on the card in entry looks like a number on some ticket.
    EXPECT_EQ(IgraLook::ColorOf(Kletka::OnCard), IgraLook::kOpened);
}

TEST(IgraLook, ToursBeyondTheThirdLookLikeTheThird)
{
    const struct {
        qint32 tur;
        Kletka kletka;
        const char *caption;
    } cases[] = {
        {0, Kletka::Tur1, " Тур-1"},    {1, Kletka::Tur1, " Тур-1"},    {2, Kletka::Tur2, " Тур-2"},
        {3, Kletka::Tur3, " Тур-3..."}, {4, Kletka::Tur3, " Тур-3..."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(KletkaOfTur(c.tur), c.kletka) << c.tur;
        EXPECT_EQ(IgraLook::TurCaption(c.tur), QString::fromUtf8(c.caption)) << c.tur;
        EXPECT_EQ(IgraLook::TurColor(c.tur), IgraLook::ColorOf(c.kletka)) << c.tur;
    }
}

TEST(IgraLook, KnopkaSaysWhatItDoes)
{
    EXPECT_EQ(IgraLook::KnopkaCaption(Knopka::Hidden), QString());
    EXPECT_EQ(IgraLook::KnopkaCaption(Knopka::Stop), QStringLiteral("  Стоп"));
    EXPECT_EQ(IgraLook::KnopkaCaption(Knopka::Dalee), QStringLiteral(" Далее"));
    EXPECT_EQ(IgraLook::KnopkaCaption(Knopka::Konec), QStringLiteral(" Конец"));
}

TEST(IgraLook, WinnersLinesMoveLabelEntryBoxAndItsCaptionReadAsTheWindowWritesThem)
{
    using K = NikaReason::Kind;
    const struct {
        NikaReason reason;
        const char *prefix;
    } lines[] = {
        {{K::Nomer, 7}, "(номер 7)  "}, {{K::Nomer, 90}, "(номер 90)  "},   {{K::Kubishka, 0}, "(КУБЫШКА)  "},
        {{K::Priz, 0}, "(Приз)  "},     {{K::PovtorPriz, 0}, "(Приз!!!) "},
    };
    for (const auto &c : lines)
        EXPECT_EQ(IgraLook::NikaPrefix(c.reason), QString::fromUtf8(c.prefix)) << int(c.reason.kind);

    EXPECT_EQ(IgraLook::NhodText(0), QStringLiteral(" 0"));
    EXPECT_EQ(IgraLook::NhodText(87), QStringLiteral(" 87"));
    EXPECT_EQ(IgraLook::VvodText(0), QString());
    EXPECT_EQ(IgraLook::VvodText(9), QStringLiteral(" 9"));

    EXPECT_EQ(IgraLook::PromptText(EntryPrompt::Vvedite), QStringLiteral("Введите номер:"));
    EXPECT_EQ(IgraLook::PromptText(EntryPrompt::Vypal), QStringLiteral("Выпавший номер:"));

    const struct {
        std::vector<qint32> undrawn;
        const char *caption;
    } ends[] = {
        {{}, ""},
        {{5}, " 5"},
        {{3, 45, 90}, " 3, 45, 90"},
    };
    for (const auto &c : ends)
        EXPECT_EQ(IgraLook::UndrawnText(c.undrawn), QString::fromUtf8(c.caption)) << c.caption;
}

} // namespace
