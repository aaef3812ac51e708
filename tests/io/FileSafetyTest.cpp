// Only ordinary files of a sane size are read, a page that cannot be written
// whole is not offered, and the program's own files are never written or read
// through a link. (Full-disk saves of the window's files are tried in the app
// tests.)
#include "io/BiletFile.h"
#include "io/FileRead.h"
#include "io/FileSave.h"
#include "io/SaveFileUrlm.h"
#include "io/SaveINIM.h"
#include "io/TiragFile.h"
#include "io/WorkFolder.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TicketFactory.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string_view>
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
    // A file of just the bound is read; one byte more is refused.
    EXPECT_EQ(std::get<QByteArray>(FileRead::Whole(dir.filePath(QStringLiteral("t.rlb")), 5)), "abc\r\n");
    EXPECT_EQ(std::get<ReadFailure>(FileRead::Whole(dir.filePath(QStringLiteral("t.rlb")), 4)),
              ReadFailure::Unreadable);
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
    EXPECT_EQ(std::get<TiragFileData>(draw).tirag.Entries(), (std::vector<qint32>{5, 93}));

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

TEST(OwnFiles, ALinkInTheirPlaceIsNeverWrittenOrReadThrough)
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    const QString nowhere = elsewhere.filePath(QStringLiteral("created"));
    const QString own = dir.filePath(QStringLiteral("0.html"));
    const QByteArray victimBytes = " 500 \r\n 85 \r\n";
    for (const QString &target : {victim, nowhere}) {
        WriteBytes(victim, victimBytes);
        ASSERT_TRUE(QFile::link(target, own));
        EXPECT_EQ(FileSave::WriteOwnFile(own, "x"), SaveStatus::Protected);
        EXPECT_EQ(SettingsFile::Write(own, Settings{}), SaveStatus::Protected);
        // A redirect page goes to the next name instead.
        EXPECT_EQ(QFileInfo(WriteRedirectPage(dir.path(), QStringLiteral("https://e.org"))).fileName(),
                  QStringLiteral("1.html"));
        EXPECT_EQ(QFileInfo(own).symLinkTarget(), target);
        EXPECT_EQ(ReadBytes(victim), victimBytes);
        EXPECT_FALSE(QFileInfo::exists(nowhere));
        // Nothing but the link and the next page, no temporary file left behind.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 2);
        QFile::remove(own);
    }

    // Nor are they read through one: the settings stay the defaults.
    ASSERT_TRUE(QFile::link(victim, own));
    EXPECT_EQ(SettingsFile::Read(own), Settings{});
    EXPECT_EQ(std::get<ReadFailure>(FileRead::OwnWhole(own)), ReadFailure::Unreadable);
    // A ticket file the user named may be a link: it is read, and a save
    // replaces the file it points to, as it always did.
    EXPECT_EQ(std::get<QByteArray>(FileRead::Whole(own)), victimBytes);
    EXPECT_EQ(FileSave::WriteAtomically(own, "new"), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(victim), QByteArray("new"));

    // An ordinary file of theirs is replaced as before, for its owner's eyes only.
    const QString plain = dir.filePath(QStringLiteral("plain"));
    EXPECT_EQ(FileSave::WriteOwnFile(plain, "one"), SaveStatus::Saved);
    EXPECT_EQ(FileSave::WriteOwnFile(plain, "two"), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(plain), QByteArray("two"));
    EXPECT_EQ(QFileInfo(plain).permissions() & (QFile::ReadOther | QFile::WriteOther), 0);
}

TEST(OwnFiles, RedirectPagesGoToAPrivateFolderOfTheirOwn)
{
    const QString folder = RedirectFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_EQ(folder, RedirectFolder());
    struct stat st {
    };
    ASSERT_EQ(lstat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{});
}

TEST(WorkFolder, AFolderEverybodyMayWriteIntoIsNeverChosen)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QString oldCurrent = QDir::currentPath();
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    const QString own = QDir(home.path()).filePath(QStringLiteral("Documents/Жребикон"));

    struct Case {
        mode_t mode;
        bool chosen;
    };
    for (const Case c : {Case{0755, true}, Case{0777, false}, Case{01777, false}, Case{0775, true}}) {
        QTemporaryDir started;
        ASSERT_EQ(chmod(QFile::encodeName(started.path()).constData(), c.mode), 0);
        ASSERT_TRUE(QDir::setCurrent(started.path()));
        EXPECT_EQ(WorkFolder::OthersMayWrite(started.path()), !c.chosen) << std::oct << c.mode;
        EXPECT_EQ(QDir(WorkFolder::Choose()), QDir(c.chosen ? started.path() : own)) << std::oct << c.mode;
        QDir::setCurrent(oldCurrent);
    }
    qputenv("HOME", oldHome);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}
