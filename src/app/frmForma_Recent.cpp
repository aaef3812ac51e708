// "Файл → Недавние файлы": the ticket and draw files opened or saved last,
// kept in the desktop's settings, each opened as a file given on the command line.
#include "app/frmForma.h"

#include "io/DeskSettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

void frmForma::FillRecentMenu()
{
    FileRecent->clear();
    const QStringList files = DeskSettings::RecentFiles();
    if (files.isEmpty()) {
        FileRecent->addAction(QStringLiteral("Список пуст"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo file(files[i]);
        // The name and, after it, its folder; an "&" in them is no mnemonic.
        QString where =
            file.fileName() + QStringLiteral("  —  ") + QDir::toNativeSeparators(file.absolutePath());
        where.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *item = FileRecent->addAction(QStringLiteral("&%1  ").arg(i + 1) + where);
        const QString path = files[i];
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
}

void frmForma::OpenRecent(const QString &path)
{
    if (files_.StillThere(path))
        OpenPath(path);
}
