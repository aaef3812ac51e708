#include "io/SaveINIM.h"
#include "support/FileBytes.h"
#include "support/RecordingMessenger.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

using namespace TestSupport;

} // namespace

TEST(SettingsFile, DefaultsAreTheThirteenKnownBytes)
{
    const QByteArray expected("\x20\x31\x30\x30\x20\x0D\x0A\x20\x38\x34\x20\x0D\x0A", 13);
    EXPECT_EQ(SettingsFile::Encode(Settings{}), expected);
}

TEST(SettingsFile, EveryValueRoundTrips)
{
    for (const Settings s : {Settings{100, 84}, Settings{3000, 89}, Settings{500, 81}, Settings{7, 0},
                             Settings{-20, -1}, Settings{2147483647, -2147483647 - 1}}) {
        EXPECT_EQ(SettingsFile::Decode(SettingsFile::Encode(s)), s) << s.interval << " " << s.MaxHod;
    }
    EXPECT_EQ(SettingsFile::Encode(Settings{-20, 5}), QByteArray("-20 \r\n 5 \r\n"));
}

TEST(SettingsFile, UnreadableValuesKeepTheirDefaults)
{
    struct Case {
        QByteArray bytes;
        qint32 interval, maxHod;
    };
    const Case cases[] = {
        {"", 100, 84},
        {"abc\r\n 87 \r\n", 100, 87},
        {" 2000 \r\nxyz\r\n", 2000, 84},
        {" 2000 \r\n", 2000, 84},
        {"99999999999\r\n 85\r\n", 100, 85}, // beyond 32 bits
        {"  500\n\t88  \n", 500, 88},        // bare line feeds, tabs
        {"\xEF\xBB\xBF 1000 \r\n 82 \r\n", 1000, 82},
        {"1000.4\r\n81.6\r\n", 1000, 82},
        {"\r\n 86 \r\n", 100, 86}, // an empty first line is not a value
        {QByteArray("\0\0\0\xff", 4), 100, 84},
    };
    for (const Case &c : cases) {
        const Settings s = SettingsFile::Decode(c.bytes);
        EXPECT_EQ(s.interval, c.interval) << c.bytes.toHex().constData();
        EXPECT_EQ(s.MaxHod, c.maxHod) << c.bytes.toHex().constData();
    }
}

TEST(SettingsFile, MissingFileGivesDefaults)
{
    QTemporaryDir dir;
    EXPECT_EQ(SettingsFile::Read(dir.filePath("Жребикон.ini")), Settings{});
}

TEST(SettingsFile, WriteReplacesTheFileExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::FileName);
    WriteBytes(path, QByteArray(500, 'x'));
    EXPECT_EQ(SettingsFile::Write(path, Settings{2000, 87}), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path), QByteArray(" 2000 \r\n 87 \r\n"));
    EXPECT_EQ(SettingsFile::Read(path), (Settings{2000, 87}));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(SettingsFile, FailedWriteLeavesWhatWasThere)
{
    QTemporaryDir dir;
    // The folder does not exist.
    EXPECT_EQ(SettingsFile::Write(dir.filePath("no/such/folder/x.ini"), Settings{}), SaveStatus::Failed);
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());
    // A folder stands where the file should be.
    ASSERT_TRUE(QDir(dir.path()).mkdir(SettingsFile::FileName));
    EXPECT_EQ(SettingsFile::Write(dir.filePath(SettingsFile::FileName), Settings{}), SaveStatus::Failed);
    EXPECT_TRUE(QFileInfo(dir.filePath(SettingsFile::FileName)).isDir());
}

TEST(SettingsFile, ReadOnlyFileIsReportedAsProtectedAndKept)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write read-only files";
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::FileName);
    WriteBytes(path, " 500 \r\n 81 \r\n");
    QFile::setPermissions(path, QFile::ReadOwner);
    EXPECT_EQ(SettingsFile::Write(path, Settings{}), SaveStatus::Protected);
    EXPECT_EQ(ReadBytes(path), QByteArray(" 500 \r\n 81 \r\n"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TEST(SaveINIM, NoKeepsTheProgramOpenAndWritesNothing)
{
    QTemporaryDir dir;
    RecordingMessenger messenger;
    messenger.Script({MsgAnswer::No});
    EXPECT_EQ(SaveINIM(messenger, dir.path(), Settings{}), 1);
    ASSERT_EQ(messenger.shown.size(), 1u);
    const MessageRequest &q = messenger.shown[0];
    EXPECT_EQ(q.text, QStringLiteral("Закрыть программу?"));
    EXPECT_EQ(q.title, QStringLiteral("Билетон"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::None);
    EXPECT_EQ(q.defaultButton, MsgAnswer::Yes);
    EXPECT_FALSE(QFile::exists(dir.filePath(SettingsFile::FileName)));
}

TEST(SaveINIM, YesWritesTheSettings)
{
    QTemporaryDir dir;
    RecordingMessenger messenger;
    messenger.Script({MsgAnswer::Yes});
    EXPECT_EQ(SaveINIM(messenger, dir.path(), Settings{500, 88}), 0);
    EXPECT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(ReadBytes(dir.filePath(SettingsFile::FileName)), QByteArray(" 500 \r\n 88 \r\n"));
}

TEST(SaveINIM, AFailedWriteIsReportedAndTheProgramStillCloses)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(SettingsFile::FileName));
    RecordingMessenger messenger;
    messenger.Script({MsgAnswer::Yes});
    EXPECT_EQ(SaveINIM(messenger, dir.path(), Settings{}), 0);
    ASSERT_EQ(messenger.shown.size(), 2u);
    const MessageRequest &m = messenger.shown[1];
    EXPECT_EQ(m.text, QStringLiteral("Файл «Жребикон.ini» сохранить не возможно."));
    EXPECT_EQ(m.title, QStringLiteral("Жребикон"));
    EXPECT_EQ(m.icon, MsgIcon::Error);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
}
