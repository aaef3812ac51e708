#include "dialogs/OpenSave.h"

#include "controls/Fonts.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Lets failures show names as text.
static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace
{

QStringList Items(const QListWidget *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    return names;
}

class OpenSaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        const QDir dir(folder.path());
        for (const char *name :
             {"b.rlb", "A.rlb", "c.gkb", "x.rlt", "z.gkt", ".h.rlb", "UP.RLB", "e.rlb.bak"})
            MakeFile(QString::fromLatin1(name));
        MakeFile(QStringLiteral("Тираж7.rlb"));
        ASSERT_TRUE(dir.mkdir(QStringLiteral("d.rlb")));
        ASSERT_TRUE(
            QFile::link(dir.filePath(QStringLiteral("b.rlb")), dir.filePath(QStringLiteral("s.rlb"))));
    }

    void MakeFile(const QString &name)
    {
        QFile file(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write("x");
    }

    // Builds and shows a dialog on the test folder; every name it hands over is recorded.
    void Open(OpenSave::Mode mode, bool isRusLoto = true, const QString &initialName = QString(),
              const QString &workFolder = QString())
    {
        dialog = std::make_unique<OpenSave>(mode, workFolder.isNull() ? folder.path() : workFolder,
                                            isRusLoto ? Loto::RusLoto() : Loto::ZolotoyKlyuch(), initialName,
                                            [this](const QString &name) {
                                                acted.push_back(name);
                                                visibleWhileActing = dialog->isVisible();
                                            });
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Types text that keyClicks cannot carry (anything beyond Latin-1), one key per character.
    void TypeEach(const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, dialog->TxtName, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    void Type(const char *text) { QTest::keyClicks(dialog->TxtName, QString::fromLatin1(text)); }

    QListWidgetItem *Item(int side, const QString &name)
    {
        const QList<QListWidgetItem *> found = dialog->List1[side]->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    void ClickItem(int side, const QString &name)
    {
        QListWidget *list = dialog->List1[side];
        QListWidgetItem *item = Item(side, name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    void DoubleClickItem(int side, const QString &name)
    {
        QListWidget *list = dialog->List1[side];
        QListWidgetItem *item = Item(side, name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        // The events of a real double click: a click, then the second press
        // arriving as a double click, then its release.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    }

    void ExpectClosedWithoutFileCommand(const char *how)
    {
        EXPECT_FALSE(dialog->isVisible()) << how;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << how;
        EXPECT_TRUE(acted.empty()) << how;
    }

    QTemporaryDir folder;
    std::unique_ptr<OpenSave> dialog;
    std::vector<QString> acted;
    bool visibleWhileActing = false;
};

TEST_F(OpenSaveTest, CaptionsFollowTheMode)
{
    struct Expected {
        OpenSave::Mode mode;
        const char16_t *caption;
        const char16_t *ok;
    };
    const Expected cases[] = {
        {OpenSave::OpenBilety, u"Открыть билеты", u"Открыть"},
        {OpenSave::SaveBilety, u"Сохранить билеты", u"Сохранить"},
        {OpenSave::SaveBiletyAs, u"Сохранить билеты как...", u"Сохранить"},
        {OpenSave::OpenTirag, u"Открыть тираж", u"Открыть"},
        {OpenSave::SaveTiragAs, u"Сохранить тираж как...", u"Сохранить"},
    };
    for (const Expected &c : cases) {
        const OpenSave shown(c.mode, folder.path(), Loto::RusLoto(), QString(), nullptr);
        EXPECT_EQ(shown.windowTitle(), QString::fromUtf16(c.caption)) << int(c.mode);
        EXPECT_EQ(shown.kOK->text(), QString::fromUtf16(c.ok)) << int(c.mode);
        EXPECT_EQ(shown.kNO->text(), QStringLiteral("Отмена")) << int(c.mode);
        EXPECT_EQ(shown.Label1->text(), QStringLiteral("Русское лото:")) << int(c.mode);
        EXPECT_EQ(shown.Label2->text(), QStringLiteral("Золотой ключ:")) << int(c.mode);
        EXPECT_EQ(shown.Label3->text(), QStringLiteral("Имя файла:")) << int(c.mode);
    }
}

TEST_F(OpenSaveTest, ControlsSitWhereThePlanPutsThemInTheProgramsTypeface)
{
    Open(OpenSave::OpenBilety);

    EXPECT_EQ(dialog->minimumSize(), QSize(521, 356));
    EXPECT_EQ(dialog->maximumSize(), QSize(521, 356));
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));

    const struct {
        const char *name;
        QRect where;
    } plan[] = {
        {"Label1", {8, 4, 117, 20}},      {"List1_0", {8, 24, 249, 244}}, {"Label2", {264, 4, 126, 20}},
        {"List1_1", {264, 24, 249, 244}}, {"Label3", {8, 280, 101, 20}},  {"TxtName", {112, 280, 401, 28}},
        {"kOK", {264, 316, 121, 33}},     {"kNO", {392, 316, 121, 33}},
    };
    for (const auto &control : plan) {
        const QWidget *widget = dialog->findChild<QWidget *>(QLatin1String(control.name));
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_TRUE(widget->isVisible()) << control.name;
        EXPECT_EQ(widget->geometry(), control.where) << control.name;
        EXPECT_EQ(widget->font().family(), Fonts::Family) << control.name;
        EXPECT_EQ(widget->font().pointSizeF(), 12.0) << control.name;
        EXPECT_TRUE(widget->font().bold()) << control.name;
    }
    // The window and the tests reach the same controls through the members.
    EXPECT_EQ(dialog->findChild<QWidget *>(QStringLiteral("List1_1")), dialog->List1[1]);
    EXPECT_EQ(dialog->findChild<QWidget *>(QStringLiteral("TxtName")), dialog->TxtName);
    EXPECT_TRUE(dialog->List1[0]->isSortingEnabled());
    EXPECT_TRUE(dialog->List1[1]->isSortingEnabled());
}

TEST_F(OpenSaveTest, NameBoxHasTheFocusAndTabVisitsButtonsThenLists)
{
    Open(OpenSave::SaveBilety, true, QStringLiteral("Тираж1"));
    EXPECT_TRUE(dialog->kOK->isDefault());
    EXPECT_FALSE(dialog->kNO->isDefault());
    ASSERT_EQ(QApplication::focusWidget(), dialog->TxtName);

    const QWidget *expected[] = {dialog->kOK, dialog->kNO, dialog->List1[0], dialog->List1[1],
                                 dialog->TxtName};
    for (const QWidget *next : expected) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    // Passing through the lists picks nothing.
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Тираж1"));
}

TEST_F(OpenSaveTest, TicketModesListOrdinaryTicketFilesOfEachKindWhateverTheCase)
{
    const QStringList rusLoto{QStringLiteral("A.rlb"), QStringLiteral("b.rlb"), QStringLiteral("UP.RLB"),
                              QStringLiteral("Тираж7.rlb")};
    for (OpenSave::Mode mode : {OpenSave::OpenBilety, OpenSave::SaveBilety, OpenSave::SaveBiletyAs}) {
        const OpenSave shown(mode, folder.path(), Loto::ZolotoyKlyuch(), QString(), nullptr);
        // Not the folder "d.rlb", the hidden ".h.rlb", the link "s.rlb" nor "e.rlb.bak".
        EXPECT_EQ(Items(shown.List1[0]), rusLoto) << int(mode);
        EXPECT_EQ(Items(shown.List1[1]), QStringList{QStringLiteral("c.gkb")}) << int(mode);
    }
}

TEST_F(OpenSaveTest, DrawModesListDrawFilesOfEachKind)
{
    MakeFile(QStringLiteral("Б.RLT"));
    MakeFile(QStringLiteral("a.Rlt"));
    for (OpenSave::Mode mode : {OpenSave::OpenTirag, OpenSave::SaveTiragAs}) {
        const OpenSave shown(mode, folder.path(), Loto::RusLoto(), QString(), nullptr);
        EXPECT_EQ(Items(shown.List1[0]),
                  (QStringList{QStringLiteral("a.Rlt"), QStringLiteral("x.rlt"), QStringLiteral("Б.RLT")}))
            << int(mode);
        EXPECT_EQ(Items(shown.List1[1]), QStringList{QStringLiteral("z.gkt")}) << int(mode);
    }
}

TEST_F(OpenSaveTest, EmptyOrMissingFolderGivesTwoEmptyLists)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    for (const QString &path : {empty.path(), QDir(empty.path()).filePath(QStringLiteral("gone"))}) {
        for (OpenSave::Mode mode : {OpenSave::OpenBilety, OpenSave::OpenTirag}) {
            const OpenSave shown(mode, path, Loto::RusLoto(), QString(), nullptr);
            EXPECT_EQ(shown.List1[0]->count(), 0) << path.toStdString();
            EXPECT_EQ(shown.List1[1]->count(), 0) << path.toStdString();
        }
    }
}

TEST_F(OpenSaveTest, TypingDropsCharactersAFileNameCannotHold)
{
    Open(OpenSave::SaveBilety);

    Type("a,b.c/d:e\"f\\g*h?i<j>k|l");
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("abcdefghijkl"));

    dialog->TxtName->clear();
    TypeEach(QStringLiteral("Жребий"));
    Type(" 12-3_(x)");
    TypeEach(QStringLiteral("ё,"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Жребий 12-3_(x)ё"));

    QTest::keyClick(dialog->TxtName, Qt::Key_Backspace);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Жребий 12-3_(x)"));

    // The keypad's decimal point is a dot as well.
    QTest::keyClick(dialog->TxtName, Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Жребий 12-3_(x)"));
}

TEST_F(OpenSaveTest, PastedOrComposedTextLosesTheSameCharacters)
{
    Open(OpenSave::OpenTirag);
    QClipboard *clipboard = QApplication::clipboard();

    clipboard->setText(QStringLiteral("../up/Тираж:1.rlt"));
    QTest::keyClick(dialog->TxtName, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("upТираж1rlt"));

    // Pasted in the middle: the cursor stays right after what was pasted.
    dialog->TxtName->setCursorPosition(2);
    clipboard->setText(QStringLiteral("a\tb|c"));
    QTest::keyClick(dialog->TxtName, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("upabcТираж1rlt"));
    EXPECT_EQ(dialog->TxtName->cursorPosition(), 5);

    // An input method hands over whole strings without key presses.
    dialog->TxtName->end(false);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("\\Ж?"));
    QApplication::sendEvent(dialog->TxtName, &composed);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("upabcТираж1rltЖ"));
}

TEST_F(OpenSaveTest, ANameOfferedOrPickedKeepsItsDotWhileTheUserEditsAroundIt)
{
    Open(OpenSave::SaveTiragAs, true, QStringLiteral("Тираж 5.1"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Тираж 5.1"));

    // The offered name comes selected, ready to be typed over; add to it instead.
    EXPECT_EQ(dialog->TxtName->selectedText(), QStringLiteral("Тираж 5.1"));
    // A refused key typed over it changes nothing, the selection included.
    Type(".");
    TypeEach(QStringLiteral("/"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Тираж 5.1"));
    EXPECT_EQ(dialog->TxtName->selectedText(), QStringLiteral("Тираж 5.1"));
    QTest::keyClick(dialog->TxtName, Qt::Key_End);
    QApplication::clipboard()->setText(QStringLiteral(":2"));
    QTest::keyClick(dialog->TxtName, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Тираж 5.12"));

    // Pasted text that repeats its neighbours loses its own dot, not the name's.
    dialog->TxtName->setCursorPosition(7);
    QApplication::clipboard()->setText(QStringLiteral(".1"));
    QTest::keyClick(dialog->TxtName, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Тираж 51.12"));
    QTest::keyClick(dialog->TxtName, Qt::Key_End);
    QApplication::clipboard()->setText(QStringLiteral(".12"));
    QTest::keyClick(dialog->TxtName, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("Тираж 51.1212"));

    ClickItem(1, QStringLiteral("z.gkt"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("z.gkt"));
    QTest::keyClick(dialog->TxtName, Qt::Key_Backspace);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("z.gk"));

    // Undo may bring back what the box held, dot and all.
    dialog->TxtName->selectAll();
    QTest::keyClick(dialog->TxtName, Qt::Key_Delete);
    ASSERT_TRUE(dialog->TxtName->text().isEmpty());
    QTest::keyClick(dialog->TxtName, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("z.gk"));
}

TEST_F(OpenSaveTest, ATypedNameGetsTheExtensionOfTheModeAndKind)
{
    struct Case {
        OpenSave::Mode mode;
        bool isRusLoto;
        const char *extension;
    };
    const Case cases[] = {
        {OpenSave::SaveBilety, true, ".rlb"},
        {OpenSave::SaveBilety, false, ".gkb"},
        {OpenSave::SaveBiletyAs, true, ".rlb"},
        {OpenSave::SaveBiletyAs, false, ".gkb"},
        {OpenSave::SaveTiragAs, true, ".rlt"},
        {OpenSave::SaveTiragAs, false, ".gkt"},
        // Opening takes the name as typed, so it finds only a file without an extension.
        {OpenSave::OpenBilety, true, ""},
        {OpenSave::OpenBilety, false, ""},
        {OpenSave::OpenTirag, true, ""},
        {OpenSave::OpenTirag, false, ""},
    };
    for (const Case &c : cases) {
        acted.clear();
        Open(c.mode, c.isRusLoto);
        TypeEach(QStringLiteral("Тираж"));
        Type("1234");

        QTest::keyClick(dialog->TxtName, Qt::Key_Return);

        const QString expected = QStringLiteral("Тираж1234") + QLatin1String(c.extension);
        ASSERT_EQ(acted.size(), 1u) << int(c.mode) << c.isRusLoto;
        EXPECT_EQ(acted.front(), expected) << int(c.mode) << c.isRusLoto;
        EXPECT_EQ(dialog->TxtName->text(), expected) << int(c.mode) << c.isRusLoto;
        EXPECT_FALSE(dialog->isVisible()) << int(c.mode) << c.isRusLoto;
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << int(c.mode) << c.isRusLoto;
    }
    // The file command runs while the dialog is still up, so its messages appear over it.
    EXPECT_TRUE(visibleWhileActing);
}

TEST_F(OpenSaveTest, ANamePickedFromAListKeepsItsOwnExtension)
{
    // A "Русское лото" set saves its draw under the name of a "Золотой ключ" file.
    Open(OpenSave::SaveTiragAs, true);
    ClickItem(1, QStringLiteral("z.gkt"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("z.gkt"));
    QTest::mouseClick(dialog->kOK, Qt::LeftButton);
    EXPECT_EQ(acted, std::vector<QString>{QStringLiteral("z.gkt")});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    acted.clear();
    Open(OpenSave::SaveBilety, false, QStringLiteral("Тираж9"));
    ClickItem(0, QStringLiteral("UP.RLB"));
    QTest::mouseClick(dialog->kOK, Qt::LeftButton);
    EXPECT_EQ(acted, std::vector<QString>{QStringLiteral("UP.RLB")});

    // An offered name that has a dot is taken as it is.
    acted.clear();
    Open(OpenSave::SaveTiragAs, false, QStringLiteral("Тираж.old"));
    QTest::mouseClick(dialog->kOK, Qt::LeftButton);
    EXPECT_EQ(acted, std::vector<QString>{QStringLiteral("Тираж.old")});
}

TEST_F(OpenSaveTest, ClickingOrMovingThroughAListPutsTheNameInTheBox)
{
    Open(OpenSave::OpenBilety);
    ClickItem(0, QStringLiteral("b.rlb"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("b.rlb"));

    // The same item clicked again after the box was edited puts it back.
    dialog->TxtName->setFocus();
    Type("x");
    ASSERT_EQ(dialog->TxtName->text(), QStringLiteral("b.rlbx"));
    ClickItem(0, QStringLiteral("b.rlb"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("b.rlb"));

    QTest::keyClick(dialog->List1[0], Qt::Key_Down);
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("UP.RLB"));

    ClickItem(1, QStringLiteral("c.gkb"));
    EXPECT_EQ(dialog->TxtName->text(), QStringLiteral("c.gkb"));

    // Nothing was opened by any of it; Enter in a list does that.
    EXPECT_TRUE(acted.empty());
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog->List1[1], Qt::Key_Return);
    EXPECT_EQ(acted, std::vector<QString>{QStringLiteral("c.gkb")});
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(OpenSaveTest, DoubleClickActsAsOk)
{
    Open(OpenSave::OpenTirag, false);
    DoubleClickItem(0, QStringLiteral("x.rlt"));
    EXPECT_EQ(acted, std::vector<QString>{QStringLiteral("x.rlt")});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(OpenSaveTest, OkWithAnEmptyNameKeepsTheDialogOpen)
{
    Open(OpenSave::SaveBilety, true, QStringLiteral("Тираж1"));
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    dialog->TxtName->clear();

    QTest::mouseClick(dialog->kOK, Qt::LeftButton);
    QTest::keyClick(dialog->TxtName, Qt::Key_Return);
    QTest::keyClick(dialog->TxtName, Qt::Key_Enter, Qt::KeypadModifier);

    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(acted.empty());
    EXPECT_TRUE(dialog->TxtName->text().isEmpty());

    Type("7");
    QTest::mouseClick(dialog->kOK, Qt::LeftButton);
    EXPECT_EQ(acted, std::vector<QString>{QStringLiteral("7.rlb")});
}

TEST_F(OpenSaveTest, EscapeOrCancelClosesWithoutAnyFileCommand)
{
    Open(OpenSave::SaveBilety, true, QStringLiteral("Тираж1"));
    QTest::keyClick(dialog->TxtName, Qt::Key_Escape);
    ExpectClosedWithoutFileCommand("Esc in the name box");

    for (int side : {0, 1}) {
        Open(OpenSave::OpenBilety);
        ClickItem(side, side == 0 ? QStringLiteral("A.rlb") : QStringLiteral("c.gkb"));
        ASSERT_EQ(QApplication::focusWidget(), dialog->List1[side]);
        QTest::keyClick(dialog->List1[side], Qt::Key_Escape);
        ExpectClosedWithoutFileCommand(side == 0 ? "Esc in the left list" : "Esc in the right list");
    }

    Open(OpenSave::SaveTiragAs, false, QStringLiteral("ИМИТАТОР"));
    QTest::mouseClick(dialog->kNO, Qt::LeftButton);
    ExpectClosedWithoutFileCommand("Cancel");
}

TEST_F(OpenSaveTest, ANameThatWouldLeaveTheFolderIsRefused)
{
    // An offered name comes from a title read out of a file and may hold anything.
    for (const QString &offered :
         {QStringLiteral("../Тираж1"), QStringLiteral("sub/x"), QStringLiteral("a\\b"), QStringLiteral("."),
          QStringLiteral(".."), QStringLiteral("/tmp/x.rlb")}) {
        for (OpenSave::Mode mode : {OpenSave::OpenBilety, OpenSave::SaveBilety, OpenSave::SaveTiragAs}) {
            Open(mode, true, offered);
            QTest::mouseClick(dialog->kOK, Qt::LeftButton);
            EXPECT_TRUE(acted.empty()) << offered.toStdString() << ' ' << int(mode);
            EXPECT_TRUE(dialog->isVisible()) << offered.toStdString() << ' ' << int(mode);
            EXPECT_EQ(dialog->TxtName->text(), offered) << offered.toStdString() << ' ' << int(mode);
        }
    }

    // Once the user makes it a bare name it goes through.
    Open(OpenSave::SaveBilety, false, QStringLiteral("sub/x"));
    dialog->TxtName->setCursorPosition(4);
    QTest::keyClick(dialog->TxtName, Qt::Key_Backspace);
    QTest::keyClick(dialog->TxtName, Qt::Key_Return);
    EXPECT_EQ(acted, std::vector<QString>{QStringLiteral("subx.gkb")});
}

TEST_F(OpenSaveTest, RunShowsAFreshModalDialogAndReturnsWhenItCloses)
{
    // A file that appears just before the command is listed.
    MakeFile(QStringLiteral("late.gkt"));
    QStringList listed;
    QString title;
    QTimer answer;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *shown = qobject_cast<OpenSave *>(QApplication::activeModalWidget());
        if (shown != nullptr) {
            answer.stop();
            title = shown->windowTitle();
            listed = Items(shown->List1[1]);
            QTest::keyClicks(shown->TxtName, QStringLiteral("draw"));
            QTest::keyClick(shown->TxtName, Qt::Key_Return);
        } else if (waited.elapsed() > 5000) {
            // Never hang the suite: shut whatever dialog came up instead.
            answer.stop();
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (auto *other = qobject_cast<OpenSave *>(top))
                    other->reject();
            }
        }
    });
    answer.start(10);

    std::vector<QString> names;
    OpenSave::Run(OpenSave::SaveTiragAs, folder.path(), Loto::ZolotoyKlyuch(), QString(),
                  [&names](const QString &name) { names.push_back(name); });

    EXPECT_EQ(title, QStringLiteral("Сохранить тираж как..."));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("late.gkt"), QStringLiteral("z.gkt")}));
    EXPECT_EQ(names, std::vector<QString>{QStringLiteral("draw.gkt")});
}

} // namespace

TEST_F(OpenSaveTest, AnotherFolderIsReachedThroughTheDesktopsDialogWhenOpening)
{
    QString askedFilter;
    QString answer;
    const OpenSave::Picker before = OpenSave::PickFile();
    OpenSave::PickFile() = [&](QWidget *, const QString &, const QString &, const QString &filter) {
        askedFilter = filter;
        return answer;
    };
    std::vector<QString> opened;
    const auto openPath = [&opened](const QString &path) { opened.push_back(path); };

    // Saving stays in the work folder: the button is never there.
    for (OpenSave::Mode mode : {OpenSave::SaveBilety, OpenSave::SaveBiletyAs, OpenSave::SaveTiragAs}) {
        Open(mode);
        dialog->OfferOtherFolder(openPath);
        EXPECT_FALSE(dialog->kOther->isVisible()) << mode;
    }
    // Opening without a taker for paths has no button either.
    Open(OpenSave::OpenBilety);
    EXPECT_FALSE(dialog->kOther->isVisible());

    for (OpenSave::Mode mode : {OpenSave::OpenBilety, OpenSave::OpenTirag}) {
        SCOPED_TRACE(mode);
        Open(mode);
        dialog->OfferOtherFolder(openPath);
        ASSERT_TRUE(dialog->kOther->isVisible());
        EXPECT_EQ(dialog->kOther->text(), QStringLiteral("Другая папка…"));
        // The keyboard reaches it after the dialog's own buttons.
        dialog->TxtName->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dialog->kOther);

        // Given up in the desktop's dialog: this one stays, nothing opens.
        answer.clear();
        QTest::mouseClick(dialog->kOther, Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(opened.empty());
        EXPECT_TRUE(askedFilter.contains(mode == OpenSave::OpenBilety ? QStringLiteral("*.rlb *.gkb")
                                                                      : QStringLiteral("*.rlt *.gkt")))
            << askedFilter.toStdString();

        // A file picked there goes over whole, by its path, and this dialog closes.
        answer = QStringLiteral("/home/user/Downloads/Тираж1473.rlb");
        QTest::mouseClick(dialog->kOther, Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened.front(), answer);
        EXPECT_TRUE(acted.empty()) << "the work folder's command is not the one that opens it";
        opened.clear();
    }
    OpenSave::PickFile() = before;
}
