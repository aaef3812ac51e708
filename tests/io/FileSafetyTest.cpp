// The program's files are written whole or not at all, and only ordinary files
// of a sane size are read.
#include "io/BiletFile.h"
#include "io/FileRead.h"
#include "io/FileSave.h"
#include "io/SaveFileUrlm.h"
#include "io/SaveINIM.h"
#include "io/TiragFile.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TicketFactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

using namespace TestSupport;

// The folder's file names, to see that no temporary file was left behind.
QStringList Names(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(FileSave, AWriteTheSystemRefusesPartWayLeavesTheOldFileAsItWas)
{
    // Under QSaveFile's 16 KB buffer and well over it; the system stops each at half.
    for (const qsizetype size : {qsizetype(3000), qsizetype(200000)}) {
        QTemporaryDir dir;
        const QByteArray content(size, 'x');
        struct Writer {
            const char *what;
            std::function<bool(const QString &)> write; // true when reported written
        };
        const Writer writers[] = {
            {"any file",
             [&](const QString &p) { return FileSave::WriteAtomically(p, content) == SaveStatus::Saved; }},
            {"settings",
             [](const QString &p) { return SettingsFile::Write(p, Settings{}) == SaveStatus::Saved; }},
        };
        for (const Writer &w : writers) {
            const QString path = dir.filePath(QStringLiteral("старый.rlb"));
            const QByteArray old(size / 4, 'o');
            WriteBytes(path, old);
            const QStringList before = Names(dir);
            bool written = true;
            {
                // The settings are 13 bytes: they get a limit of 6.
                FileSizeLimit limit(std::string(w.what) == "settings" ? 6 : rlim_t(size / 2));
                written = w.write(path);
            }
            EXPECT_FALSE(written) << w.what << " " << size;
            EXPECT_TRUE(ReadBytes(path) == old) << w.what << " " << size;
            EXPECT_EQ(Names(dir), before) << w.what << " " << size;
        }
        // Once the disk has room again the same content is saved whole.
        const QString path = dir.filePath(QStringLiteral("старый.rlb"));
        EXPECT_EQ(FileSave::WriteAtomically(path, content), SaveStatus::Saved);
        EXPECT_TRUE(ReadBytes(path) == content);
    }
}

TEST(FileSave, ARedirectPageThatCannotBeWrittenWholeIsNotOffered)
{
    QTemporaryDir dir;
    QString page = QStringLiteral("?");
    {
        FileSizeLimit limit(40);
        page = WriteRedirectPage(dir.path(), QStringLiteral("https://example.org/"), 3);
    }
    EXPECT_TRUE(page.isEmpty());
    EXPECT_TRUE(Names(dir).isEmpty());
}

TEST(FileRead, OnlyOrdinaryFilesOfASaneSizeAreRead)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("билеты.rlb"));
    WriteBytes(file, QByteArray("abc\r\n"));
    const QString pipe = dir.filePath(QStringLiteral("труба.rlb"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString socketPath = dir.filePath(QStringLiteral("s.rlb"));
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketName = QFile::encodeName(socketPath);
    ASSERT_LT(std::size_t(socketName.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, socketName.constData(), std::size_t(socketName.size()));
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    // A sparse file one byte over the bound costs no disk.
    const QString huge = dir.filePath(QStringLiteral("огромный.rlb"));
    WriteBytes(huge, QByteArray());
    ASSERT_EQ(truncate(QFile::encodeName(huge).constData(), FileRead::kMaxBytes + 1), 0);

    const auto bytes = FileRead::Whole(file);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(bytes));
    EXPECT_EQ(std::get<QByteArray>(bytes), QByteArray("abc\r\n"));
    EXPECT_EQ(std::get<QByteArray>(FileRead::Start(file, 2)), QByteArray("ab"));

    struct Case {
        QString path;
        ReadFailure failure;
    };
    // The pipe has no writer: reading it must not wait for one.
    const Case cases[] = {
        {dir.filePath(QStringLiteral("нет.rlb")), ReadFailure::Missing},
        {pipe, ReadFailure::Unreadable},
        {QStringLiteral("/dev/zero"), ReadFailure::Unreadable},
        {dir.path(), ReadFailure::Unreadable},
        {socketPath, ReadFailure::Unreadable},
        {huge, ReadFailure::Unreadable},
    };
    for (const Case &c : cases) {
        const auto got = FileRead::Whole(c.path);
        ASSERT_TRUE(std::holds_alternative<ReadFailure>(got)) << c.path.toStdString();
        EXPECT_EQ(std::get<ReadFailure>(got), c.failure) << c.path.toStdString();
    }
    EXPECT_EQ(FileRead::Message(ReadFailure::Missing), QStringLiteral("Файл не найден."));
    EXPECT_EQ(FileRead::Message(ReadFailure::Unreadable), QStringLiteral("Файл открыть не возможно."));
    // The settings reader passes over a pipe of its name instead of waiting.
    EXPECT_EQ(SettingsFile::Read(pipe), Settings{});
    close(sock);
}

TEST(FileText, AByteOrderMarkIsDroppedAndMarksTheTextAsUtf8)
{
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray title = QStringLiteral("Тираж1234").toUtf8();
    const auto draw = TiragFile::Parse(bom + title + "\r\n 5, 93\r\n");
    ASSERT_TRUE(std::holds_alternative<TiragFileData>(draw));
    EXPECT_EQ(std::get<TiragFileData>(draw).RegimTitle, QStringLiteral("Тираж1234"));
    EXPECT_EQ(std::get<TiragFileData>(draw).entries, (std::vector<qint32>{5, 93}));

    std::mt19937 rng(1);
    QByteArray tickets =
        BiletFile::Encode(QStringLiteral("x"), {RandomValidBilet(rng, QStringLiteral("№1"))}, 1);
    tickets.replace(0, 1, bom + title);
    tickets.replace("\xB9"
                    "1",
                    QStringLiteral("№1").toUtf8());
    const auto set = BiletFile::Parse(tickets);
    ASSERT_TRUE(std::holds_alternative<BiletFileData>(set));
    EXPECT_EQ(std::get<BiletFileData>(set).TiragTitle, QStringLiteral("Тираж1234"));
    // The rest of a UTF-8 file is UTF-8 too.
    EXPECT_EQ(std::get<BiletFileData>(set).Bilety[0].Nomer, QStringLiteral("№1"));
}
