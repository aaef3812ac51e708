// Only ordinary files of a sane size are read, and a page that cannot be
// written whole is not offered. (Full-disk saves of the window's files are
// tried in the app tests.)
#include "io/BiletFile.h"
#include "io/FileRead.h"
#include "io/SaveFileUrlm.h"
#include "io/SaveINIM.h"
#include "io/TiragFile.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TicketFactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace TestSupport;

TEST(FileSave, ARedirectPageThatCannotBeWrittenWholeIsNotOffered)
{
    QTemporaryDir dir;
    QString page = QStringLiteral("?");
    {
        FileSizeLimit limit(40);
        page = WriteRedirectPage(dir.path(), QStringLiteral("https://example.org/"), 3);
    }
    EXPECT_TRUE(page.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::Files | QDir::Hidden));
}

TEST(FileRead, OnlyOrdinaryFilesOfASaneSizeAreRead)
{
    QTemporaryDir dir;
    const auto make = [&dir](const char *name) {
        return QFile::encodeName(dir.filePath(QLatin1String(name)));
    };
    WriteBytes(dir.filePath(QStringLiteral("t.rlb")), QByteArray("abc\r\n"));
    ASSERT_EQ(mkfifo(make("pipe").constData(), 0600), 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, make("sock").constData(), sizeof(address.sun_path) - 1);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    // A sparse file one byte over the bound costs no disk.
    WriteBytes(dir.filePath(QStringLiteral("huge")), QByteArray());
    ASSERT_EQ(truncate(make("huge").constData(), FileRead::kMaxBytes + 1), 0);

    EXPECT_EQ(std::get<QByteArray>(FileRead::Whole(dir.filePath(QStringLiteral("t.rlb")))), "abc\r\n");
    EXPECT_EQ(std::get<QByteArray>(FileRead::Start(dir.filePath(QStringLiteral("t.rlb")), 2)), "ab");
    // The pipe has no writer: reading it must not wait for one.
    for (const QString &path : {dir.filePath(QStringLiteral("pipe")), QStringLiteral("/dev/zero"), dir.path(),
                                dir.filePath(QStringLiteral("sock")), dir.filePath(QStringLiteral("huge"))}) {
        const auto got = FileRead::Whole(path);
        EXPECT_TRUE(std::holds_alternative<ReadFailure>(got) &&
                    std::get<ReadFailure>(got) == ReadFailure::Unreadable)
            << path.toStdString();
    }
    EXPECT_EQ(std::get<ReadFailure>(FileRead::Whole(dir.filePath(QStringLiteral("нет")))),
              ReadFailure::Missing);
    // The settings reader passes over a pipe of its name instead of waiting.
    EXPECT_EQ(SettingsFile::Read(dir.filePath(QStringLiteral("pipe"))), Settings{});
    close(sock);
}

TEST(FileText, AByteOrderMarkIsDroppedAndMarksTheTextAsUtf8)
{
    const QByteArray bom = "\xEF\xBB\xBF" + QStringLiteral("Тираж1234").toUtf8();
    const auto draw = TiragFile::Parse(bom + "\r\n 5, 93\r\n");
    EXPECT_EQ(std::get<TiragFileData>(draw).RegimTitle, QStringLiteral("Тираж1234"));
    EXPECT_EQ(std::get<TiragFileData>(draw).entries, (std::vector<qint32>{5, 93}));

    std::mt19937 rng(1);
    QByteArray tickets =
        BiletFile::Encode(QStringLiteral("x"), {RandomValidBilet(rng, QStringLiteral("№1"))}, 1);
    tickets.replace(0, 1, bom);
    tickets.replace("\xB9"
                    "1",
                    QStringLiteral("№1").toUtf8()); // the rest of the file is UTF-8 too
    const auto set = BiletFile::Parse(tickets);
    EXPECT_EQ(std::get<BiletFileData>(set).TiragTitle, QStringLiteral("Тираж1234"));
    EXPECT_EQ(std::get<BiletFileData>(set).Bilety[0].Nomer, QStringLiteral("№1"));
}
