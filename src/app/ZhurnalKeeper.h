#pragma once
// The journal of the window's work folder, "Жребикон.jnl", kept so that a
// crash loses nothing: while tickets are keyed in it holds the set no file
// holds; during a check game it names the game's ticket file (or its own copy
// of the tickets) and holds what the user did so far. The keeper alone writes
// it, knows which file the game is played on and whether the journal can be
// written, and says a failed write once. It hears the game's facts and writes
// the journal once the event in hand is done. At start-up it offers what a
// crash left; the window puts back what the user takes up.

#include "app/GameListeners.h"
#include "core/Messenger.h"
#include "io/FileSave.h"
#include "io/ZhurnalFile.h"

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class FormaFiles;
class GameEngine;
class Zhurnal;
struct ProgramState;

class ZhurnalKeeper
{
public:
    // Where the tickets of a check game cut short are found again: its ticket
    // file, unchanged since the game began, or else the journal's copy of them.
    // Neither: the game cannot be taken up (the user was told why).
    struct GameBilety {
        bool inFile = false;
        std::optional<BiletyCopy> copy;
    };

    // Keeps the journal of the files' work folder as it is now, for the state
    // and the game in hand; noteChanged is called when Note() changes.
    ZhurnalKeeper(const ProgramState &state, GameEngine &igra, const FormaFiles &files, Messenger &messenger,
                  std::function<void()> noteChanged);
    ~ZhurnalKeeper();
    ZhurnalKeeper(const ZhurnalKeeper &) = delete;
    ZhurnalKeeper &operator=(const ZhurnalKeeper &) = delete;

    // Whether this window keeps the folder's journal (another window may).
    bool Owned() const;
    // The strip's line about the journal, empty while all is well.
    QString Note() const;
    // The journal and the copy of a check game's tickets.
    QString Path() const;
    QString CopyPath() const;

    // Writes what is in hand: the tickets keyed in and not saved (none: the
    // journal goes), or the check game played so far.
    void Write();
    // A check game starts on the set in hand: the tickets are copied once, and
    // the game names the set's ticket file while the set is as that file holds it.
    void Start();
    // The journal and its copy go, and so does a write that was due.
    void Remove();

    // At start-up: what a crash left is offered. The journal the user takes
    // up comes back; one declined, unreadable or damaged (said so) goes.
    std::optional<ZhurnalData> Offer();
    // The tickets of a check game taken up (see GameBilety); what is wrong
    // with its ticket file is said with where the game goes on.
    GameBilety FindBilety(const ZhurnalData &data);

private:
    // The set's ticket file as the journal names it.
    QString BiletName() const;
    // A journal write failed or succeeded: the first failure is said.
    void Written(SaveStatus status);

    const ProgramState &state_;
    GameEngine &igra_;
    const FormaFiles &files_;
    Messenger &messenger_;
    std::function<void()> noteChanged_;
    std::unique_ptr<Zhurnal> zhurnal_;
    // What the journal of the check game in hand names: the ticket file (empty
    // when the game is played on tickets no file holds) and its fingerprint.
    QString biletName_;
    QByteArray fingerprint_;
    bool failed_ = false; // the last write failed
    bool told_ = false;   // and the user was told so
    // The game's facts come many to a keystroke: one write once they are handled.
    QTimer soon_;
    ZhurnalFacts facts_;
};
