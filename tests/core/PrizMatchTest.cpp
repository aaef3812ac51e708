#include "core/PrizMatch.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace
{

// A ticket set holding just these ticket numbers, in this order.
BiletStore StoreOf(std::initializer_list<QString> numbers)
{
    BiletStore store;
    store.NewSet();
    for (const QString &nomer : numbers) {
        BILETCls bilet;
        bilet.Nomer = nomer;
        store.ShowNew();
        store.Store(bilet);
    }
    return store;
}

// Whether a set made of this one ticket wins with the typed number.
bool Fits(const QString &nomer, const QString &typed)
{
    const qint32 found = PrizMatch::FindBilet(StoreOf({nomer}), typed);
    EXPECT_TRUE(found == 0 || found == -1) << found;
    return found == 0;
}

struct Case {
    const char16_t *nomer;
    bool fits;
};

void ExpectFits(const QString &typed, std::initializer_list<Case> cases)
{
    for (const Case &c : cases) {
        const QString nomer = QString::fromUtf16(c.nomer);
        EXPECT_EQ(Fits(nomer, typed), c.fits)
            << "typed " << typed.toStdString() << ", ticket " << nomer.toStdString();
    }
}

} // namespace

TEST(PrizMatch, LeadingXsSkipPositionsAndTheRestMustStandInTheSamePlaces)
{
    ExpectFits(QStringLiteral("XXX45"), {{u"12345", true},
                                         {u"99945", true},
                                         {u"00045", true},
                                         // Characters past the pattern are not compared.
                                         {u"123456", true},
                                         {u"12354", false},
                                         {u"12344", false},
                                         {u"1234", false},
                                         {u"45", false},
                                         {u"012345", false},
                                         {u"", false}});

    // Without leading X's the pattern is a prefix of the ticket number.
    ExpectFits(QStringLiteral("123"),
               {{u"123", true}, {u"12345", true}, {u"12", false}, {u"0123", false}, {u"124", false}});
}

TEST(PrizMatch, AnXAfterTheFirstComparedCharacterIsALiteralX)
{
    ExpectFits(QStringLiteral("X2X"), {{u"12X", true}, {u"A2X", true}, {u"123", false}, {u"12", false}});
    ExpectFits(QStringLiteral("7XX"), {{u"7XX9", true}, {u"711", false}, {u"7X1", false}});
}

TEST(PrizMatch, TypedTextIsUpperCasedButTicketNumbersAreComparedExactly)
{
    // A typed lower-case x is as good as X.
    ExpectFits(QStringLiteral("xxx45"), {{u"12345", true}, {u"12354", false}});
    ExpectFits(QStringLiteral("xX3x5"), {{u"123X5", true}, {u"12345", false}});

    // Typed letters become capitals; the ticket keeps the case it was keyed in with.
    ExpectFits(QStringLiteral("a7"), {{u"A7", true}, {u"a7", false}});

    EXPECT_EQ(PrizMatch::Normalised(QStringLiteral("xx12ab")), QStringLiteral("XX12AB"));
    EXPECT_EQ(PrizMatch::Normalised(QStringLiteral("XXX45")), QStringLiteral("XXX45"));
}

TEST(PrizMatch, CyrillicNumbersAreUpperCasedAndTheLookalikeOfXIsNoWildcard)
{
    EXPECT_EQ(PrizMatch::Normalised(QStringLiteral("аб-17ё")), QStringLiteral("АБ-17Ё"));

    ExpectFits(QStringLiteral("аб-17"), {{u"АБ-17", true}, {u"аб-17", false}, {u"АБ-18", false}});
    ExpectFits(QStringLiteral("xб-17"), {{u"АБ-17", true}, {u"ЯБ-17", true}, {u"Аб-17", false}});

    // Cyrillic Х (U+0425) looks like X but must be matched literally.
    ExpectFits(QString::fromUtf16(u"\u0425\u044545"),
               {{u"\u0425\u042545", true}, {u"1245", false}, {u"XX45", false}});
}

TEST(PrizMatch, FirstFittingTicketInSetOrderWins)
{
    const BiletStore store = StoreOf(
        {QStringLiteral("11111"), QStringLiteral("22245"), QStringLiteral("33345"), QStringLiteral("45")});
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("XXX45")), 1);
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("XX345")), 2);
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("45")), 3);
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("XXX46")), -1);
    EXPECT_EQ(PrizMatch::FindBilet(StoreOf({}), QStringLiteral("45")), -1);
}

TEST(PrizMatch, OnlyXsOrNothingAwardsNoTicket)
{
    // Even tickets whose numbers are empty or made of X's do not win this way.
    const BiletStore store =
        StoreOf({QStringLiteral("12345"), QString(), QStringLiteral("XXX"), QStringLiteral("x")});
    for (const char *typed : {"", "X", "x", "XXX", "xXxXx", "XXXXXXXXXX"})
        EXPECT_EQ(PrizMatch::FindBilet(store, QString::fromLatin1(typed)), -1) << typed;
}

TEST(PrizMatch, OnlyCountedTicketsTakePart)
{
    BiletStore store = StoreOf({QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("345")});
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("XX5")), 2);
    // A deleted ticket is in the set no more, nor is the ticket being keyed in.
    ASSERT_TRUE(store.Delete(2));
    store.ShowNew();
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("XX5")), -1);
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("2")), 1);
    EXPECT_EQ(PrizMatch::FindBilet(store, QStringLiteral("9")), -1);
}
