#pragma once
// Every message box and question of the program goes through this interface:
// the window shows them with QMessageBox, tests and the headless checker
// answer them from a script.

#include <QString>

enum class MsgIcon { None, Exclamation, Warning, Error, Information };
// SaveDiscardCancel: "Сохранить", "Не сохранять", "Отмена" (Esc).
enum class MsgButtons { Ok, YesNo, SaveDiscardCancel };
enum class MsgAnswer { Ok, Yes, No, Save, Discard, Cancel };

namespace Titles
{
// Boxes that name no title of their own carry the application title.
inline const QString App = QStringLiteral("Билетон");
// File messages (tickets, draws, settings).
inline const QString Files = QStringLiteral("Жребикон");
// Announcements of a win.
inline const QString Joy = QStringLiteral("Радостная весть!");
// The main window's caption before any ticket set exists.
inline const QString Window = QStringLiteral("Жребикон");
} // namespace Titles

struct MessageRequest {
    QString title = Titles::App;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultButton = MsgAnswer::Ok;

    bool operator==(const MessageRequest &) const = default;
};

class Messenger
{
public:
    virtual ~Messenger() = default;
    // Shows the box modally and returns the button the user chose.
    virtual MsgAnswer Show(const MessageRequest &request) = 0;

    // A Yes/No question without icon under the application title; Yes is the
    // default button unless the question says otherwise.
    bool Ask(const QString &text, MsgAnswer defaultButton = MsgAnswer::Yes);
    // An OK box.
    void Tell(const QString &text, MsgIcon icon, const QString &title = Titles::App);
};
