#include "io/SaveFileUrlm.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using namespace TestSupport;

// The page around the address, as the browser must receive it.
const QByteArray Head("<html><head><meta http-equiv='refresh' content='0; url=");
const QByteArray Tail("'><meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>"
                      "<title>WWW</title></head><body></body></html>\r\n");

// Collects whatever Qt would print while it is alive.
class MessageCatcher
{
public:
    MessageCatcher() { previous_ = qInstallMessageHandler(&MessageCatcher::Catch); }
    ~MessageCatcher() { qInstallMessageHandler(previous_); }
    static QStringList &Caught()
    {
        static QStringList caught;
        return caught;
    }

private:
    static void Catch(QtMsgType, const QMessageLogContext &, const QString &text) { Caught() << text; }
    QtMessageHandler previous_ = nullptr;
};

} // namespace

TEST(RedirectPage, IsOneLineAroundTheAddressEndedByCrLf)
{
    EXPECT_EQ(RedirectPage(QStringLiteral("https://example.org/zhrebikon")),
              Head + "https://example.org/zhrebikon" + Tail);
    // Query strings, fragments and upper case pass untouched.
    EXPECT_EQ(RedirectPage(QStringLiteral("HTTP://Example.org/a?b=1&c=%20#top")),
              Head + "HTTP://Example.org/a?b=1&c=%20#top" + Tail);
    EXPECT_EQ(RedirectPage(QString()), Head + Tail);
}

TEST(RedirectPage, CyrillicInTheAddressIsWrittenInWindows1251)
{
    // пример.рф / Жребикон ? тираж = 5
    const QByteArray expected = Head + "https://" + QByteArray::fromHex("EFF0E8ECE5F0") + "." +
                                QByteArray::fromHex("F0F4") + "/" + QByteArray::fromHex("C6F0E5E1E8EAEEED") +
                                "?" + QByteArray::fromHex("F2E8F0E0E6") + "=5" + Tail;
    EXPECT_EQ(RedirectPage(QStringLiteral("https://пример.рф/Жребикон?тираж=5")), expected);
}

TEST(RedirectPage, CharactersOutsideTheCodePageBecomeUtf8Escapes)
{
    // 中 is E4 B8 AD in UTF-8; the grinning face, beyond the basic plane, F0 9F 98 80.
    // The Cyrillic letter around them keeps its one code-page byte.
    EXPECT_EQ(RedirectPage(QStringLiteral("https://example.org/ж中😀")),
              Head + "https://example.org/" + QByteArray::fromHex("E6") + "%E4%B8%AD%F0%9F%98%80" + Tail);
}

TEST(WriteRedirectPage, WritesZeroHtmlAndRewritesItNextTime)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString zero = QDir(dir.path()).filePath(QStringLiteral("0.html"));

    EXPECT_EQ(WriteRedirectPage(dir.path(), QStringLiteral("https://example.org/first")), zero);
    EXPECT_EQ(ReadBytes(zero), RedirectPage(QStringLiteral("https://example.org/first")));

    // The page of an earlier use is simply replaced, even by a shorter one.
    EXPECT_EQ(WriteRedirectPage(dir.path(), QStringLiteral("https://e.org")), zero);
    EXPECT_EQ(ReadBytes(zero), RedirectPage(QStringLiteral("https://e.org")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("0.html")});
}

TEST(WriteRedirectPage, MovesToTheNextNumberWhenAPageCannotBeWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    // A folder named 0.html is as unwritable as a page held by another program.
    ASSERT_TRUE(folder.mkdir(QStringLiteral("0.html")));

    const QString one = folder.filePath(QStringLiteral("1.html"));
    EXPECT_EQ(WriteRedirectPage(dir.path(), QStringLiteral("https://example.org/zhrebikon")), one);
    EXPECT_EQ(ReadBytes(one), RedirectPage(QStringLiteral("https://example.org/zhrebikon")));
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("0.html"))).isDir());

    ASSERT_TRUE(folder.mkdir(QStringLiteral("2.html")));
    ASSERT_TRUE(QFile::remove(one));
    ASSERT_TRUE(folder.mkdir(QStringLiteral("1.html")));
    EXPECT_EQ(WriteRedirectPage(dir.path(), QStringLiteral("x:y")),
              folder.filePath(QStringLiteral("3.html")));
}

TEST(WriteRedirectPage, ReturnsAnAbsolutePathForARelativeFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));

    const QString written = WriteRedirectPage(QStringLiteral("sub"), QStringLiteral("https://example.org"));

    QDir::setCurrent(before);
    EXPECT_TRUE(QFileInfo(written).isAbsolute()) << written.toStdString();
    EXPECT_EQ(QFileInfo(written).canonicalFilePath(),
              QFileInfo(QDir(dir.path()).filePath(QStringLiteral("sub/0.html"))).canonicalFilePath());
}

TEST(WriteRedirectPage, GivesUpQuietlyWhereNothingCanBeWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    // A "folder" that is really a file: no page can go inside it, whoever runs the test.
    QFile plain(folder.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    MessageCatcher catcher;
    MessageCatcher::Caught().clear();
    EXPECT_EQ(WriteRedirectPage(plain.fileName(), QStringLiteral("https://example.org")), QString());
    EXPECT_EQ(WriteRedirectPage(folder.filePath(QStringLiteral("missing/deeper")),
                                QStringLiteral("https://example.org")),
              QString());
    EXPECT_TRUE(MessageCatcher::Caught().isEmpty()) << MessageCatcher::Caught().join('\n').toStdString();
}

TEST(WriteRedirectPage, TriesNoMoreNamesThanAllowed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    for (const char *name : {"0.html", "1.html", "2.html"})
        ASSERT_TRUE(folder.mkdir(QLatin1String(name)));

    EXPECT_EQ(WriteRedirectPage(dir.path(), QStringLiteral("https://example.org"), 3), QString());
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("3.html"))));
    EXPECT_EQ(WriteRedirectPage(dir.path(), QStringLiteral("https://example.org"), 4),
              folder.filePath(QStringLiteral("3.html")));
}
