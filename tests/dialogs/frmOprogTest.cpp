// The About dialog, and the web-link routines its link and the help command use.

#include "dialogs/frmOprog.h"
#include "support/FileBytes.h"

#include "controls/ClickLabel.h"
#include "controls/OpURL.h"
#include "controls/Surface.h"
#include "io/SaveFileUrlm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

using namespace TestSupport;

const QColor Grey(224, 224, 224);
const QColor White(255, 255, 255);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

void Touch(const QString &path)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html></html>");
}

// Records what would have been opened instead of starting a browser, and puts
// the desktop's opener back afterwards.
class OpenerTest : public ::testing::Test
{
protected:
    OpenerTest()
    {
        SetUrlOpenerForTests([this](const QUrl &url) {
            opened.push_back(url);
            return openerAnswer;
        });
    }
    ~OpenerTest() override { SetUrlOpenerForTests({}); }

    std::vector<QUrl> opened;
    bool openerAnswer = true;
};

} // namespace

// --- OpenUrl, SaveFileUrl ------------------------------------------------

using OpenUrlTest = OpenerTest;

TEST_F(OpenUrlTest, AddressesWithASchemeGoOutAsTheyAre)
{
    EXPECT_TRUE(OpenUrl(QStringLiteral("https://example.org/zhrebikon?a=1")));
    EXPECT_TRUE(OpenUrl(QStringLiteral("mailto:zhrebikon@example.org")));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.org/zhrebikon?a=1")));
    EXPECT_EQ(opened[1].scheme(), QStringLiteral("mailto"));

    // What the opener answers is what the caller learns.
    openerAnswer = false;
    EXPECT_FALSE(OpenUrl(QStringLiteral("https://example.org")));
}

TEST_F(OpenUrlTest, FilesOpenAsLocalFilesFromAnAbsolutePathOrTheProgramsFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString page = QDir(dir.path()).filePath(QStringLiteral("Справка страница.html"));
    Touch(page);
    EXPECT_TRUE(OpenUrl(page));

    // A bare name is looked for beside the program, not in the current folder.
    QTemporaryFile besideProgram(QDir(QCoreApplication::applicationDirPath()).filePath("opurl-XXXXXX.html"));
    ASSERT_TRUE(besideProgram.open());
    const QString bareName = QFileInfo(besideProgram.fileName()).fileName();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_TRUE(OpenUrl(bareName));
    QDir::setCurrent(before);

    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(page));
    EXPECT_TRUE(opened[1].isLocalFile());
    EXPECT_EQ(QFileInfo(opened[1].toLocalFile()).canonicalFilePath(),
              QFileInfo(besideProgram.fileName()).canonicalFilePath());
}

TEST_F(OpenUrlTest, NothingIsHandedOnForAMissingFileOrAnEmptyName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(OpenUrl(QDir(dir.path()).filePath(QStringLiteral("Справка.html"))));
    EXPECT_FALSE(OpenUrl(QStringLiteral("no-such-page-here.html")));
    // A folder is no document either.
    EXPECT_FALSE(OpenUrl(dir.path()));
    EXPECT_FALSE(OpenUrl(QString()));
    EXPECT_TRUE(opened.empty());
}

using SaveFileUrlTest = OpenerTest;

TEST_F(SaveFileUrlTest, OpensTheRedirectPageItWrote)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("0.html")));

    SaveFileUrl(dir.path(), QStringLiteral("https://example.org/zhrebikon"));

    const QString page = QDir(dir.path()).filePath(QStringLiteral("1.html"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(page));
    EXPECT_EQ(ReadBytes(page), RedirectPage(QStringLiteral("https://example.org/zhrebikon")));
}

TEST_F(SaveFileUrlTest, OpensNothingWhenNoPageCanBeWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plainFile = QDir(dir.path()).filePath(QStringLiteral("plain"));
    Touch(plainFile);

    EXPECT_FALSE(SaveFileUrl(plainFile, QStringLiteral("https://example.org/zhrebikon")));
    EXPECT_TRUE(opened.empty());
}

// --- HelpPagePath --------------------------------------------------------

TEST(HelpPagePath, BesideTheProgramThenInstalledThenTheSourceTree)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir top(root.path());
    const QString program = top.filePath(QStringLiteral("bin"));
    const QString resources = top.filePath(QStringLiteral("src/resources"));
    const QString beside = top.filePath(QStringLiteral("bin/Справка.html"));
    const QString installed = top.filePath(QStringLiteral("share/zhrebikon/Справка.html"));
    const QString source = top.filePath(QStringLiteral("src/resources/Справка.html"));
    ASSERT_TRUE(top.mkpath(QStringLiteral("bin")));

    // Found nowhere: the place beside the program, where opening fails quietly.
    EXPECT_EQ(HelpPagePathIn(program, resources), beside);
    EXPECT_EQ(HelpPagePathIn(program, QString()), beside);

    Touch(source);
    EXPECT_EQ(HelpPagePathIn(program, resources), source);
    Touch(installed);
    EXPECT_EQ(HelpPagePathIn(program, resources), installed);
    Touch(beside);
    EXPECT_EQ(HelpPagePathIn(program, resources), beside);
}

TEST(HelpPagePath, ARunFromTheBuildTreeFindsThePageInTheSources)
{
    // Nothing copies the page into the build tree, so it must come from the sources.
    const QString sources =
        QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../.."));
    const QString expected = QDir(sources).filePath(QStringLiteral("resources/Справка.html"));
    ASSERT_TRUE(QFileInfo(expected).isFile());

    const QString found = HelpPagePath();
    EXPECT_EQ(QFileInfo(found).canonicalFilePath(), QFileInfo(expected).canonicalFilePath())
        << found.toStdString();
    // And it is a page a browser shows as Unicode text.
    EXPECT_TRUE(ReadBytes(found).contains("<meta charset=\"utf-8\">"));
}

// --- frmOprog -------------------------------------------------------------

namespace
{

class frmOprogTest : public ::testing::Test
{
protected:
    void Open()
    {
        dialog = std::make_unique<frmOprog>([this](const QString &address) {
            requested << address;
            // The user must see that something is happening while the page is written.
            const QCursor *pointer = QApplication::overrideCursor();
            pointerWhileOpening = pointer ? pointer->shape() : Qt::ArrowCursor;
        });
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    QImage Grab() const { return dialog->grab().toImage(); }

    QStringList requested;
    Qt::CursorShape pointerWhileOpening = Qt::ArrowCursor;
    std::unique_ptr<frmOprog> dialog;
};

} // namespace

TEST_F(frmOprogTest, IsAFixedGreyDialogNamedAboutTheProgram)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(dialog->size(), QSize(356, 209));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_TRUE(dialog->font().bold());
    EXPECT_EQ(dialog->font().pointSizeF(), 12.0);

    const QImage image = Grab();
    // Corners and the gap between the picture and the button hold nothing.
    for (const QPoint at : {QPoint(0, 0), QPoint(355, 208), QPoint(4, 100), QPoint(150, 180)})
        EXPECT_EQ(image.pixelColor(at), Grey) << at.x() << "," << at.y();
}

TEST_F(frmOprogTest, LinesReadTopToBottomAtTheirPlacesAndFitTheirWidths)
{
    Open();
    struct Line {
        QLabel *label;
        QString text;
        QPoint at;
    };
    const Line lines[] = {
        {dialog->Label2[0], QStringLiteral("Команда Жребикона"), {104, 8}},
        {dialog->Label2[1], QStringLiteral("zhrebikon@example.org"), {104, 32}},
        {dialog->Label2[2], QStringLiteral("Сайт:"), {104, 56}},
        {dialog->Label1, QStringLiteral("Жребикон в сети"), {152, 56}},
        {dialog->Label2[3], QStringLiteral("Версия: v4.0"), {104, 80}},
        {dialog->Label2[4], QStringLiteral("Дата: в марте 2001 год -"), {104, 104}},
        {dialog->Label2[5], QStringLiteral("27 августа 2015 год"), {156, 128}},
    };
    for (const Line &line : lines) {
        ASSERT_NE(line.label, nullptr);
        EXPECT_EQ(line.label->text(), line.text);
        EXPECT_EQ(line.label->pos(), line.at) << line.text.toStdString();
        EXPECT_TRUE(line.label->isVisible());
        // No ink of the text may be cut off at the label's edge or the dialog's.
        const QRect ink = QFontMetrics(line.label->font()).tightBoundingRect(line.text);
        EXPECT_LT(ink.right(), line.label->width()) << line.text.toStdString();
        EXPECT_LE(line.label->geometry().right(), dialog->width() - 1) << line.text.toStdString();
    }
    EXPECT_EQ(dialog->Label2[2]->width(), 48);
    EXPECT_EQ(dialog->Label1->width(), 183);
}

TEST_F(frmOprogTest, TheSeparatorIsADarkLineOverALightOneFromEightTo344)
{
    Open();
    const QImage image = Grab();
    const QColor dark = image.pixelColor(8, 152);
    const QColor light = image.pixelColor(8, 153);
    EXPECT_LT(dark.lightness(), Grey.lightness());
    EXPECT_GT(light.lightness(), Grey.lightness());
    for (int x = 8; x <= 344; ++x) {
        ASSERT_EQ(image.pixelColor(x, 152), dark) << x;
        ASSERT_EQ(image.pixelColor(x, 153), light) << x;
    }
    for (const QPoint at : {QPoint(7, 152), QPoint(345, 152), QPoint(7, 153), QPoint(345, 153),
                            QPoint(100, 151), QPoint(100, 154)})
        EXPECT_EQ(image.pixelColor(at), Grey) << at.x() << "," << at.y();
}

TEST_F(frmOprogTest, PictureIsWhiteWithABlueBandOverARedOne)
{
    Open();
    EXPECT_EQ(dialog->Picture1->geometry(), QRect(8, 160, 80, 45));

    // As the user sees it inside the dialog, not only as the picture holds it.
    const QImage image = Grab();
    for (int y = 0; y < 45; ++y) {
        const QColor expected = y < 15 ? White : y <= 30 ? Blue : Red;
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(image.pixelColor(8 + x, 160 + y), expected) << x << "," << y;
    }
    // Nothing spills out of the picture.
    EXPECT_EQ(image.pixelColor(88, 180), Grey);
    EXPECT_EQ(image.pixelColor(8, 205), Grey);
}

TEST_F(frmOprogTest, TheLinkIsBlueUnderAPointingHand)
{
    Open();
    EXPECT_EQ(dialog->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(dialog->Label1->cursor().shape(), Qt::PointingHandCursor);

    // The text on the screen really is in that colour, and the other lines are not.
    auto hasLinkInk = [](const QImage &image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(0, 0, 192))
                    return true;
        return false;
    };
    EXPECT_TRUE(hasLinkInk(dialog->Label1->grab().toImage()));
    EXPECT_FALSE(hasLinkInk(dialog->Label2[0]->grab().toImage()));
    EXPECT_FALSE(hasLinkInk(dialog->Label2[2]->grab().toImage()));
}

TEST_F(frmOprogTest, ClickingTheLinkAsksForTheSiteUnderTheHourglass)
{
    Open();
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);

    QTest::mouseClick(dialog->Label1, Qt::LeftButton);
    EXPECT_EQ(requested, QStringList{frmOprog::SiteAddress});
    EXPECT_EQ(pointerWhileOpening, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dialog->isVisible());

    // Only a click on the link itself counts.
    QTest::mouseClick(dialog->Label2[2], Qt::LeftButton);
    QTest::mouseClick(dialog->Label1, Qt::RightButton);
    EXPECT_EQ(requested.size(), 1);

    EXPECT_TRUE(frmOprog::SiteAddress.startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(QUrl(frmOprog::SiteAddress).isValid());
}

TEST_F(frmOprogTest, OkClosesTheDialog)
{
    Open();
    EXPECT_TRUE(dialog->OK->isDefault());
    EXPECT_EQ(dialog->OK->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->OK->geometry(), QRect(256, 164, 89, 33));

    QTest::mouseClick(dialog->OK, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(requested.isEmpty());
}

TEST_F(frmOprogTest, EnterClosesItToo)
{
    Open();
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(requested.isEmpty());
}

TEST(frmOprogRun, ShowsModallyAndTheLinkOpensTheSiteThroughARedirectPage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<QUrl> opened;
    SetUrlOpenerForTests([&opened](const QUrl &url) {
        opened.push_back(url);
        return true;
    });

    // Answers the modal dialog the way a user would: the link, then OK.
    bool sawDialog = false;
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto *about = qobject_cast<frmOprog *>(QApplication::activeModalWidget());
        if (!about)
            return;
        sawDialog = true;
        driver.stop();
        QTest::mouseClick(about->Label1, Qt::LeftButton);
        QTest::mouseClick(about->OK, Qt::LeftButton);
    });
    driver.start();
    // Should the dialog not close, the test fails instead of hanging.
    QTimer::singleShot(10000, [] {
        if (QWidget *stuck = QApplication::activeModalWidget())
            stuck->close();
    });
    frmOprog::Run([&dir](const QString &address) { SaveFileUrl(dir.path(), address); }, nullptr);
    SetUrlOpenerForTests({});

    EXPECT_TRUE(sawDialog);
    const QString page = QDir(dir.path()).filePath(QStringLiteral("0.html"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(page));
    EXPECT_EQ(ReadBytes(page), RedirectPage(frmOprog::SiteAddress));
}
