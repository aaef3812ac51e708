#pragma once
// The window's files: the work folder, ticket and draw files read with their
// messages and questions, written atomically after asking before another file
// is replaced, remembered in "Недавние файлы", and what the strip says of the
// set's file. It never paints: what it reads it hands back, and the window puts
// it in place. Every file is a bare name in the work folder, or a whole path
// for a file only read from another folder.

#include "core/LotoRules.h"
#include "core/Messenger.h"
#include "core/ProgramState.h"
#include "io/BiletFile.h"
#include "io/TiragFile.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class FormaFiles
{
public:
    // A ticket file read, to be put in place of the set in hand.
    struct Bilety {
        const Loto::Kind *kind = &Loto::ZolotoyKlyuch(); // told by the file's name
        BiletFileData data;
        // Only the tickets before the damage of a damaged file: the file is
        // no longer the set's own, a save asks for a name.
        bool damaged = false;
        QByteArray fingerprint; // of a whole file's content
    };

    FormaFiles(ProgramState &state, Messenger &messenger, const QString &workFolder);

    // The folder of the window's files, its settings and its journal.
    const QString &Folder() const { return folder_; }
    QString PathOf(const QString &name) const;

    // Reads a ticket file; whatever is wrong with it is said, and a file cut
    // short offers the tickets before the cut. Nothing: the set in hand stays.
    std::optional<Bilety> ReadBilety(const QString &name);
    // The set read from name is in place: remembered, and its content known.
    void BiletyOpened(const QString &name, const Bilety &read);
    // Writes the set in hand to ticket file name, asking first when that would
    // replace another file. False when nothing was written (said why).
    bool SaveBilety(const QString &name);
    // False, said so, when the set has no ticket to save.
    bool AnyToSave();
    // The file a plain save writes without asking; empty when it must ask (a
    // new set, a damaged file, a file read from another folder).
    QString SaveName() const;
    // Before the set in hand is let go: tickets no file holds are offered to be
    // saved (Save, Don't save, Cancel); save is the ordinary save command. True
    // when the command may go on.
    bool MaySave(const std::function<void()> &save);

    // Reads a draw file; whatever is wrong with it is said, and a draw that is
    // not the tickets' is checked only when the user says so.
    std::optional<TiragFileData> ReadTirag(const QString &name);
    // The draw read from name is being replayed.
    void TiragOpened(const QString &name);
    // Writes the draw of the game to draw file name. False when nothing was written.
    bool SaveTirag(const QString &name);

    // A file given by its path: nothing, said why, when it is not there or is
    // neither a ticket nor a draw file.
    std::optional<Loto::FileKind> KindOfPath(const QString &path);
    // The name to open a file given by its path by. A folder the user may write
    // to, and others may not, becomes the work folder; any other folder is only
    // read from, the file named by its whole path.
    QString EnterFolderOf(const QString &path);
    // A file of "Недавние файлы" is still there; when gone it is said so and
    // left out of the list.
    bool StillThere(const QString &path);
    // A file opened or saved goes to the top of "Недавние файлы".
    void Remember(const QString &name);

    // The content of the ticket file the set was opened from or saved to;
    // empty when no file is known to hold the set.
    const QByteArray &Fingerprint() const { return fingerprint_; }
    void ClearFingerprint() { fingerprint_.clear(); }
    // The note of the last save goes: the set changed, or another came.
    void ClearSavedNote() { savedNote_.clear(); }
    // The strip's line about the set's file: unsaved, or where it was saved;
    // and where the work folder moved or a file was read from.
    QString Notes() const;
    const QString &FolderNote() const { return folderNote_; }

private:
    // Asks before replacing a file other than the current one; false: leave it.
    bool MayReplace(const QString &name, const QString &currentName);
    // Writes a file of the work folder and tells the user if it failed.
    bool WriteFile(const QString &name, const QByteArray &bytes);

    ProgramState &state_;
    Messenger &messenger_;
    QString folder_;
    QByteArray fingerprint_;
    QString savedNote_;
    QString folderNote_;
};
