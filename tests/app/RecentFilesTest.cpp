// "Файл → Недавние файлы" as the user meets it from one start of the program to the next.
#include "io/BiletFile.h"
#include "io/DeskSettings.h"
#include "io/TiragFile.h"
#include "support/FileBytes.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

namespace
{

using namespace TestSupport;

class RecentFiles : public ::testing::Test
{
protected:
    // One start of the program in the folder; its window goes before its state.
    struct Program {
        ProgramState state;
        RecordingMessenger asked;
        std::unique_ptr<frmForma> window;
    };

    void SetUp() override
    {
        DeskSettings::SetRecentFiles({});
        for (const char *name : {"a.rlb", "b.gkb"})
            WriteBytes(
                dir.filePath(QString::fromUtf8(name)),
                BiletFile::Encode(QStringLiteral("Тираж77"), {MakeBilet(kRows, QStringLiteral("first"))}, 1));
    }
    std::unique_ptr<Program> Start()
    {
        auto p = std::make_unique<Program>();
        p->window = MainM(p->state, p->asked, dir.path());
        return p;
    }
    // The menu's items as shown, the mnemonic marks taken out.
    static QStringList Items(Program &p)
    {
        QMenu *menu = p.window->Ui().FileRecent;
        emit menu->aboutToShow();
        QStringList items;
        for (QAction *a : menu->actions())
            items << a->text().remove(QLatin1Char('&'));
        return items;
    }
    static void Choose(Program &p, int index)
    {
        QMenu *menu = p.window->Ui().FileRecent;
        emit menu->aboutToShow();
        menu->actions().at(index)->trigger();
    }
    QString Line(int n, const QString &name) const
    {
        return QStringLiteral("%1  %2  —  %3").arg(n).arg(name, QDir::toNativeSeparators(dir.path()));
    }

    QTemporaryDir dir;
};

TEST_F(RecentFiles, TheFilesOpenedAndSavedAreOfferedAtTheNextStartAndOpenAsFromTheCommandLine)
{
    {
        auto first = Start();
        EXPECT_EQ(Items(*first), QStringList{QStringLiteral("Список пуст")});
        first->window->OpenBlt(QStringLiteral("a.rlb"));
        first->window->OpenBlt(QStringLiteral("b.gkb"));
        first->window->Ui().RegimProverka->trigger();
        first->window->igra().NomerEntered(5);
        first->asked.Script({MsgAnswer::Yes, MsgAnswer::No});
        first->window->igra().Knopka_Click();
        first->window->SaveTrg(QStringLiteral("d.gkt"));
        // Opened again, a file moves to the top and is listed once.
        first->window->OpenBlt(QStringLiteral("a.rlb"));
    }
    auto second = Start();
    EXPECT_EQ(Items(*second), (QStringList{Line(1, QStringLiteral("a.rlb")), Line(2, QStringLiteral("d.gkt")),
                                           Line(3, QStringLiteral("b.gkb"))}));
    Choose(*second, 2);
    EXPECT_EQ(second->state.store.File(), QStringLiteral("b.gkb"));
    EXPECT_EQ(second->state.kind, &Loto::ZolotoyKlyuch());
    EXPECT_TRUE(second->asked.shown.empty());
    EXPECT_EQ(Items(*second).first(), Line(1, QStringLiteral("b.gkb")));
    // The folder's "Жребикон.ini" is not where the list lives.
    EXPECT_FALSE(ReadBytes(dir.filePath(QStringLiteral("Жребикон.ini"))).contains("rlb"));
}

TEST_F(RecentFiles, AFileThatIsGoneIsSaidAndDroppedAndNothingOfTheSetInHandChanges)
{
    {
        auto first = Start();
        first->window->OpenBlt(QStringLiteral("b.gkb"));
        first->window->OpenBlt(QStringLiteral("a.rlb"));
    }
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("b.gkb"))));
    auto second = Start();
    second->window->OpenBlt(QStringLiteral("a.rlb"));
    Choose(*second, 1);
    ASSERT_EQ(second->asked.shown.size(), 1u);
    EXPECT_TRUE(second->asked.shown[0].text.startsWith(QStringLiteral("Файл не найден:")));
    EXPECT_TRUE(second->asked.shown[0].text.contains(QStringLiteral("b.gkb")));
    EXPECT_EQ(second->state.store.File(), QStringLiteral("a.rlb"));
    EXPECT_EQ(Items(*second), QStringList{Line(1, QStringLiteral("a.rlb"))});
    EXPECT_EQ(DeskSettings::RecentFiles(), QStringList{dir.filePath(QStringLiteral("a.rlb"))});
}

} // namespace
