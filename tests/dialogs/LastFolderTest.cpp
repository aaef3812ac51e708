// The desktop's file dialog behind "Другая папка…" opens where a file was picked last.
#include "dialogs/OpenSave.h"
#include "io/DeskSettings.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

TEST(LastFolder, TheDesktopsDialogOpensInTheFolderAFileWasPickedFromLast)
{
    QTemporaryDir work, downloads;
    DeskSettings::SetLastFolder(QString());
    QStringList startedIn;
    QString answer;
    const OpenSave::Picker before = OpenSave::PickFile();
    OpenSave::PickFile() = [&](QWidget *, const QString &, const QString &dir, const QString &) {
        startedIn << dir;
        return answer;
    };
    const auto pick = [&](const QString &picked) {
        answer = picked;
        OpenSave dialog(OpenSave::OpenBilety, work.path(), Loto::RusLoto(), QString(),
                        [](const QString &) {});
        dialog.OfferOtherFolder([](const QString &) {});
        dialog.show();
        QTest::mouseClick(dialog.kOther, Qt::LeftButton);
    };
    // Never used: the work folder. Given up: nothing is remembered.
    pick(QString());
    pick(QDir(downloads.path()).filePath(QStringLiteral("Тираж1473.rlb")));
    pick(QString());
    // A folder that is gone no longer counts.
    const QString gone = downloads.path();
    downloads.remove();
    pick(QString());
    EXPECT_EQ(startedIn, (QStringList{work.path(), work.path(), gone, work.path()}));
    EXPECT_EQ(DeskSettings::LastFolder(), gone);
    OpenSave::PickFile() = before;
}

} // namespace
