#pragma once
// The journal of one work folder and who keeps it. Only one window writes a
// folder's journal: it holds a lock file beside it for as long as it works
// there, so a second window in the same folder neither offers that journal nor
// touches it. A lock left by a program that died (kill -9, a power cut) is
// recognised as stale and taken over.

#include "io/FileSave.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QLockFile;

class Zhurnal
{
public:
    // The lock beside the journal, the journal and the copy of the tickets a
    // check game is played on.
    inline static const QString kLockName = QStringLiteral("Жребикон.jnl.lock");
    inline static const QString kCopyName = QStringLiteral("Жребикон.jnb");

    // Takes the folder's journal if no living window holds it. The journal
    // stays in this folder while the window lives, wherever files are opened.
    explicit Zhurnal(const QString &folder);
    ~Zhurnal();
    Zhurnal(const Zhurnal &) = delete;
    Zhurnal &operator=(const Zhurnal &) = delete;

    // Whether this window keeps the folder's journal.
    bool Owned() const;
    // The journal and the copy of the tickets in the folder.
    QString Path() const;
    QString CopyPath() const;
    const QString &Folder() const { return folder_; }

    // Writes the journal (or the copy of the tickets) atomically; Failed when
    // the journal belongs to another window.
    SaveStatus Write(const QByteArray &bytes);
    SaveStatus WriteCopy(const QByteArray &bytes);
    // The journal and its copy go, when they are this window's.
    void Remove();
    // Removes what saves cut short by a crash left in the folder: temporary
    // files named after the program's own files ("Тираж1234.rlb.AbCd12",
    // "Жребикон.jnl.x1Y2z3"). Only when no other living window of the program
    // works here, since one of them may be saving right now. Returns how many went.
    int RemoveLeftovers();

private:
    void Lock();

    QString folder_;
    // The journal's lock when this window keeps it; otherwise a lock of its
    // own that tells other windows that it lives in the folder.
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLockFile> presence_;
    bool heldByOther_ = false;
};
