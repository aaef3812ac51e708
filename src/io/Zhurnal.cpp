#include "io/Zhurnal.h"

#include "io/ZhurnalFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <unistd.h>

namespace
{

// Windows that do not keep the journal still say that they live in the folder.
const QString kPresencePattern = QStringLiteral("Жребикон.окно-*.lock");

QString PresenceName()
{
    return QStringLiteral("Жребикон.окно-%1.lock").arg(QCoreApplication::applicationPid());
}

// The lock, or nothing; heldByOther tells whether a living program holds it.
std::unique_ptr<QLockFile> TryLock(const QString &path, bool *heldByOther = nullptr)
{
    auto lock = std::make_unique<QLockFile>(path);
    // A window may stay open in its folder for days: only an owner that is no
    // longer running makes a lock stale, never the lock's age.
    lock->setStaleLockTime(0);
    const bool locked = lock->tryLock(0);
    if (heldByOther)
        *heldByOther = !locked && lock->error() == QLockFile::LockFailedError;
    if (!locked)
        return nullptr;
    return lock;
}

} // namespace

Zhurnal::Zhurnal(const QString &folder) : folder_(folder)
{
    Lock();
}

Zhurnal::~Zhurnal() = default;

void Zhurnal::Lock()
{
    const QDir dir(folder_);
    lock_ = TryLock(dir.filePath(kLockName), &heldByOther_);
    // A folder where no lock can be made (read-only, gone) is no other
    // window's: writing the journal there fails, and says so.
    if (heldByOther_)
        presence_ = TryLock(dir.filePath(PresenceName()));
}

bool Zhurnal::Owned() const
{
    return !heldByOther_;
}

QString Zhurnal::Path() const
{
    return QDir(folder_).filePath(ZhurnalFile::FileName);
}

QString Zhurnal::CopyPath() const
{
    return QDir(folder_).filePath(kCopyName);
}

SaveStatus Zhurnal::Write(const QByteArray &bytes)
{
    return Owned() ? FileSave::WriteOwnFile(Path(), bytes) : SaveStatus::Failed;
}

SaveStatus Zhurnal::WriteCopy(const QByteArray &bytes)
{
    return Owned() ? FileSave::WriteOwnFile(CopyPath(), bytes) : SaveStatus::Failed;
}

void Zhurnal::Remove()
{
    if (!Owned())
        return;
    QFile::remove(Path());
    QFile::remove(CopyPath());
}

int Zhurnal::RemoveLeftovers()
{
    if (!Owned())
        return 0;
    const QDir dir(folder_);
    // A window that lives here may be in the middle of a save. The lock of one
    // that died is taken over, which removes it.
    for (const QString &name : dir.entryList({kPresencePattern}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (name == PresenceName())
            continue;
        if (!TryLock(dir.filePath(name)))
            return 0;
    }
    // QSaveFile writes "NAME.XXXXXX" beside NAME: letters, then the writer's process id.
    // The work folder's probe too.
    static const QRegularExpression leftover(
        QStringLiteral(
            "^((.+\\.(rlb|gkb|rlt|gkt)|Жребикон\\.(jnl|jnb|ini))\\.|\\.zhrebikon-probe-)[A-Za-z0-9]{6}$"),
        QRegularExpression::CaseInsensitiveOption);
    int removed = 0;
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!leftover.match(file.fileName()).hasMatch())
            continue;
        // Never a link, and never a file of another user in a shared folder.
        if (file.isSymLink() || !file.isFile() || file.ownerId() != ::getuid())
            continue;
        if (QFile::remove(file.filePath()))
            ++removed;
    }
    return removed;
}
