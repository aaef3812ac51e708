// zhrebikon-scan's promises: its JSON shape, its exit statuses, and a clear
// message for every file that is not a readable picture.
#include "TicketArt.h"
#include "support/PngClaiming.h"
#include "tools/scan/ScanCommand.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using TestSupport::PngClaiming;

struct ToolRun {
    int code = -1;
    QByteArray out, err;
};

ToolRun RunTool(const QStringList &args)
{
    ToolRun run;
    run.code = ScanTool::Main(
        args, [&](QByteArrayView t) { run.out += t.toByteArray(); },
        [&](QByteArrayView t) { run.err += t.toByteArray(); });
    return run;
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ScanTool, BadFilesGiveAMessageAndStatusOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString empty = dir.filePath("пусто.jpg"), text = dir.filePath("notes.png"),
                  huge = dir.filePath("huge.png"), damaged = dir.filePath("damaged.png"),
                  missing = dir.filePath("missing.jpg");
    Write(empty, {});
    Write(text, "Тираж № 1234\nnot a picture\n");
    Write(huge, PngClaiming(20000, 20000));
    // A real picture cut off in the middle.
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(damaged, "PNG"));
    QFile cut(damaged);
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    const QByteArray whole = cut.readAll();
    cut.resize(whole.size() / 2);
    cut.close();

    const struct {
        QString path;
        const char *says;
    } cases[] = {
        {empty, "пуст"},        {text, "не снимок"},    {huge, "слишком велик"},
        {damaged, "повреждён"}, {missing, "не найден"}, {dir.path(), "не файл"},
    };
    for (const auto &c : cases) {
        const ToolRun run = RunTool({QStringLiteral("--json"), c.path});
        EXPECT_EQ(run.code, ScanTool::kExitFile) << c.path.toStdString();
        const QJsonObject image = QJsonDocument::fromJson(run.out).object()["images"].toArray()[0].toObject();
        EXPECT_EQ(image["file"].toString(), c.path);
        EXPECT_TRUE(image["error"].toString().contains(QString::fromUtf8(c.says)))
            << c.path.toStdString() << ": " << image["error"].toString().toStdString();
        EXPECT_TRUE(image["tickets"].toArray().isEmpty());
        // Without --json the reason goes to standard error.
        const ToolRun plain = RunTool({c.path});
        EXPECT_EQ(plain.code, ScanTool::kExitFile);
        EXPECT_TRUE(QString::fromUtf8(plain.err).contains(QString::fromUtf8(c.says)));
    }
}

TEST(ScanTool, JsonHasTheAgreedShape)
{
    QTemporaryDir dir;
    TicketArt::ShotOptions options;
    options.level = TicketArt::Level::Scan;
    options.family = QStringLiteral("PT Sans");
    const TicketArt::Shot shot = TicketArt::MakeShot(11, options);
    const QString ticket = dir.filePath("билет.jpg"), decoy = dir.filePath("decoy.png");
    ASSERT_TRUE(shot.image.save(ticket, "JPG", 92));
    ASSERT_TRUE(TicketArt::MakeDecoy(3).save(decoy));

    const ToolRun run = RunTool({QStringLiteral("--json"), ticket, decoy});
    EXPECT_EQ(run.code, ScanTool::kExitOk);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonArray images = doc.object()["images"].toArray();
    ASSERT_EQ(images.size(), 2);
    EXPECT_EQ(images[0].toObject()["file"].toString(), ticket);
    EXPECT_TRUE(images[0].toObject()["error"].isNull());
    EXPECT_TRUE(images[1].toObject()["error"].isNull());
    EXPECT_TRUE(images[1].toObject()["tickets"].toArray().isEmpty());

    const QJsonArray tickets = images[0].toObject()["tickets"].toArray();
    ASSERT_EQ(tickets.size(), 1);
    const QJsonObject t = tickets[0].toObject();
    const QJsonArray cells = t["cells"].toArray();
    ASSERT_EQ(cells.size(), 6);
    for (int row = 0; row < 6; ++row) {
        ASSERT_EQ(cells[row].toArray().size(), 9);
        for (int col = 0; col < 9; ++col) {
            const int n = cells[row].toArray()[col].toInt(-1);
            const bool doubtful = t["doubtful"].toArray().contains(QJsonArray{row, col});
            EXPECT_TRUE(n == shot.tickets[0].cells[row][col] || doubtful) << row << "," << col;
        }
    }
    for (const QJsonValue &d : t["doubtful"].toArray())
        EXPECT_EQ(d.toArray().size(), 2);
    EXPECT_TRUE(t["nomer"].isString());
    EXPECT_TRUE(t["nomer_doubtful"].isBool());
    EXPECT_TRUE(t["tirag"].isString());
    const QJsonArray corners = t["corners"].toArray();
    ASSERT_EQ(corners.size(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(corners[k].toArray()[0].toDouble(), shot.tickets[0].corners[k].x(), 8);
        EXPECT_NEAR(corners[k].toArray()[1].toDouble(), shot.tickets[0].corners[k].y(), 8);
    }

    // The same read for a person.
    const ToolRun text = RunTool({ticket});
    EXPECT_EQ(text.code, ScanTool::kExitOk);
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(QStringLiteral("билетов: 1")));
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(QString::number(shot.tickets[0].cells[0][std::distance(
        shot.tickets[0].cells[0].begin(),
        std::find_if(shot.tickets[0].cells[0].begin(), shot.tickets[0].cells[0].end(),
                     [](int n) { return n > 0; }))])));

    // One unreadable picture among good ones: all are reported, status 1.
    const ToolRun mixed = RunTool({QStringLiteral("--json"), decoy, dir.filePath("none.jpg")});
    EXPECT_EQ(mixed.code, ScanTool::kExitFile);
    const QJsonArray both = QJsonDocument::fromJson(mixed.out).object()["images"].toArray();
    ASSERT_EQ(both.size(), 2);
    EXPECT_TRUE(both[0].toObject()["error"].isNull());
    EXPECT_FALSE(both[1].toObject()["error"].toString().isEmpty());
}

TEST(ScanTool, WrongUsageIsStatusTwo)
{
    for (const QStringList &args : {QStringList{}, QStringList{"--json"}, QStringList{"--bogus", "a.jpg"}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.code, ScanTool::kExitUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("zhrebikon-scan"));
    }
    EXPECT_EQ(RunTool({"--help"}).code, ScanTool::kExitOk);
    EXPECT_TRUE(RunTool({"--version"}).out.startsWith("zhrebikon-scan "));
}

TEST(ScanTool, TheProgramItselfKeepsItsStatuses)
{
    QTemporaryDir dir;
    const QString decoy = dir.filePath("decoy.png");
    ASSERT_TRUE(TicketArt::MakeDecoy(4).save(decoy));
    const auto run = [](const QStringList &args) {
        QProcess process;
        process.start(QStringLiteral(ZHR_SCAN_EXE), args);
        process.waitForFinished(60000);
        return std::pair(process.exitCode(), process.readAllStandardOutput());
    };
    const auto [ok, okOut] = run({"--json", decoy});
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(
        QJsonDocument::fromJson(okOut).object()["images"].toArray()[0].toObject()["tickets"].toArray().size(),
        0);
    EXPECT_EQ(run({"--json", dir.filePath("missing.png")}).first, 1);
    EXPECT_EQ(run({}).first, 2);
}

} // namespace
